#include "ScriptLexer.h"

#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>

namespace Korveth {

ScriptLexer::ScriptLexer(const QString &name, const LanguageDefinition &definition, QObject *parent)
    : QsciLexerCustom(parent)
    , m_name(name.toUtf8())
    , m_tokenizer(definition)
{}

const char *ScriptLexer::language() const
{
    return m_name.constData();
}

QString ScriptLexer::description(int style) const
{
    switch (TokenStyle(style)) {
    case TokenStyle::Default:
        return QStringLiteral("Default");
    case TokenStyle::Keyword:
        return QStringLiteral("Keyword");
    case TokenStyle::Operator:
        return QStringLiteral("Variable");
    case TokenStyle::Comment:
        return QStringLiteral("Comment");
    }
    return {};
}

QColor ScriptLexer::defaultColor(int style) const
{
    switch (TokenStyle(style)) {
    case TokenStyle::Keyword:
        return QColor(0x00, 0x00, 0xA0);
    case TokenStyle::Operator:
        return QColor(0x90, 0x00, 0x90);
    case TokenStyle::Comment:
        return QColor(0x00, 0x80, 0x00);
    case TokenStyle::Default:
        break;
    }
    return Qt::black;
}

QFont ScriptLexer::defaultFont(int style) const
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    if (TokenStyle(style) == TokenStyle::Keyword)
        font.setBold(true);
    return font;
}

QColor ScriptLexer::defaultPaper(int) const
{
    return Qt::white;
}

void ScriptLexer::styleText(int start, int end)
{
    QsciScintilla *sci = editor();
    if (!sci || end <= start)
        return;
    // Restart at the beginning of the line so that a comment or keyword is seen whole.
    const int firstLine = int(sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    start = int(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine));

    QByteArray bytes(end - start + 1, Qt::Uninitialized);
    sci->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, start, end, bytes.data());
    bytes.truncate(end - start);

    startStyling(start);
    qsizetype lineStart = 0;
    const qsizetype n = bytes.size();
    while (lineStart < n) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < n && bytes[lineEnd] != '\r' && bytes[lineEnd] != '\n')
            ++lineEnd;
        qsizetype at = lineStart;
        const QByteArrayView line(bytes.constData() + lineStart, lineEnd - lineStart);
        for (const StyledSpan &span : m_tokenizer.styleLine(line)) {
            if (lineStart + span.start > at)
                setStyling(int(lineStart + span.start - at), int(TokenStyle::Default));
            setStyling(int(span.length), int(span.style));
            at = lineStart + span.start + span.length;
        }
        qsizetype next = lineEnd;
        if (next < n)
            next += (bytes[next] == '\r' && next + 1 < n && bytes[next + 1] == '\n') ? 2 : 1;
        setStyling(int(next - at), int(TokenStyle::Default));
        lineStart = next;
    }
}

} // namespace Korveth
