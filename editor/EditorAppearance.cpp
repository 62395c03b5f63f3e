#include "EditorAppearance.h"

#include "LanguageDefinition.h"

#include <Qsci/qscilexer.h>

#include <Qsci/qsciscintilla.h>
#include <cmath>

namespace Korveth {

EditorColours defaultEditorColours()
{
    return {Qt::black,
            QColor(0x00, 0x00, 0xA0),
            QColor(0x90, 0x00, 0x90),
            QColor(0x00, 0x80, 0x00),
            Qt::white};
}

namespace {

double relativeLuminance(const QColor &colour)
{
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
           + 0.0722 * channel(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

void applyAppearance(const EditorAppearance &look, QsciScintilla &editor)
{
    QsciLexer *styles = editor.lexer();
    if (!styles) {
        if (look.font)
            editor.setFont(*look.font);
        return;
    }
    for (int style = 0; style <= int(TokenStyle::Comment); ++style) {
        // Bold and italic are the editor's own choice (commands are set plain), kept through
        // any change of family or size.
        const QFont current = styles->font(style);
        QFont font = look.font.value_or(styles->defaultFont(style));
        font.setBold(current.bold());
        font.setItalic(current.italic());
        styles->setFont(font, style);
    }
    const EditorColours defaults = defaultEditorColours();
    styles->setColor(look.text.value_or(defaults.text), int(TokenStyle::Default));
    styles->setColor(look.keywords.value_or(defaults.keywords), int(TokenStyle::Keyword));
    styles->setColor(look.operators.value_or(defaults.operators), int(TokenStyle::Operator));
}

} // namespace Korveth
