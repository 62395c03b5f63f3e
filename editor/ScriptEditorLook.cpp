#include "ScriptEditor.h"

#include "EditorAppearance.h"
#include "EditorServices.h"
#include "ScriptLexer.h"

// The editor's look: its language and colours, the font of its text, its left margins.
namespace Korveth {

void ScriptEditor::Language(const QString &name)
{
    QsciLexer *old = lexer();
    const LanguageDefinition *definition = m_services.languages.find(name);
    if (definition) {
        setLexer(new ScriptLexer(name, *definition, this));
        m_language = name;
        applyAppearance(m_services.appearance, *this);
    } else {
        setLexer(nullptr);
        m_language.clear();
    }
    delete old;
}

void ScriptEditor::SetColor(ColourItem item, std::uint32_t bgr)
{
    const QColor color(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    switch (item) {
    case ColourItem::CommentText:
        if (lexer())
            lexer()->setColor(color, int(TokenStyle::Comment));
        break;
    case ColourItem::MarginBackground:
        setMarginsBackgroundColor(color);
        break;
    case ColourItem::MarginText:
        setMarginsForegroundColor(color);
        break;
    }
}

void ScriptEditor::SetFontStyle(FontStyleItem item, FontStyle style)
{
    if (item != FontStyleItem::Keywords || !lexer())
        return;
    QFont font = lexer()->font(int(TokenStyle::Keyword));
    font.setBold(style & 1);
    font.setItalic(style & 2);
    lexer()->setFont(font, int(TokenStyle::Keyword));
}

void ScriptEditor::DisplayLeftMargin(bool show)
{
    if (!show) {
        setMarginWidth(numberMargin, 0);
        setMarginWidth(imageMargin, 0);
        return;
    }
    const int digits = QString::number(qMax(1, lines())).size();
    setMarginWidth(numberMargin, QString(digits + 1, u'9'));
    setMarginWidth(imageMargin, 16);
}

QFont ScriptEditor::textFont() const
{
    return lexer() ? lexer()->defaultFont(0) : font();
}

} // namespace Korveth
