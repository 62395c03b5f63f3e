#include "ScriptLexer.h"

#include "EditorAppearance.h"
#include "TextLines.h"

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
    const EditorColours colours = defaultEditorColours();
    switch (TokenStyle(style)) {
    case TokenStyle::Keyword:
        return colours.keywords;
    case TokenStyle::Operator:
        return colours.operators;
    case TokenStyle::Comment:
        return colours.comments;
    case TokenStyle::Default:
        break;
    }
    return colours.text;
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
    return defaultEditorColours().paper;
}

void ScriptLexer::styleText(int start, int end)
{
    QsciScintilla *sci = editor();
    if (!sci || end <= start)
        return;
    // Restart at the beginning of the line so that a comment or keyword is seen whole.
    const int firstLine = int(sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    start = int(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, firstLine));
    // Whole-document requests (a new lexer, a colour change) are cut to what can be seen: the
    // editor asks again for the rest as it scrolls, so a huge file is never styled in one go.
    const int firstVisible = int(sci->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE));
    const int onScreen = qMax(int(sci->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)), 100);
    const int lastWanted = firstVisible + onScreen + 100;
    if (lastWanted > firstLine) {
        const int limit
            = int(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, lastWanted));
        if (limit > start && limit < end)
            end = limit;
    }
    // A jump far down asks for everything above what is shown: that is coloured later.
    const int shownFrom = firstVisible - onScreen;
    const int skipTo
        = int(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, qMax(shownFrom, 0)));
    if (shownFrom - firstLine > 2 * onScreen && skipTo < end) {
        m_passedFrom = m_passedFrom < 0 ? start : qMin<long>(m_passedFrom, start);
        m_passedTo = qMax<long>(m_passedTo, skipTo);
        start = skipTo;
        if (!m_later.isActive()) {
            m_later.setInterval(0);
            connect(&m_later,
                    &QTimer::timeout,
                    this,
                    &ScriptLexer::colourPassedOver,
                    Qt::UniqueConnection);
            m_later.start();
        }
    }
    startStyling(start);
    styleLines(start, end);
}

long ScriptLexer::styleLines(long start, long end)
{
    // Style whole lines in chunks of about 64 KB: one copy of the text and one hand-over of the
    // styles per chunk keeps a long run quick and small.
    QsciScintilla *sci = editor();
    const long length = sci->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    end = qMin(end, length);
    QByteArray text;
    QByteArray styles;
    long position = start;
    while (position < end) {
        const long lastLine = sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                 qMin<long>(position + 64 * 1024, length));
        long chunkEnd = sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, lastLine + 1);
        if (chunkEnd <= position || chunkEnd > length)
            chunkEnd = length;
        text.resize(chunkEnd - position + 1);
        sci->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, position, chunkEnd, text.data());
        text.truncate(chunkEnd - position);
        styles.fill(char(TokenStyle::Default), text.size());

        char *chunkStyles = styles.data();
        forEachEditorLine(QByteArrayView(text), [&](QByteArrayView line, QByteArrayView) {
            m_tokenizer.paintLine(line, chunkStyles + (line.data() - text.constData()));
        });
        sci->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX,
                           static_cast<unsigned long>(styles.size()),
                           styles.constData());
        position = chunkEnd;
    }
    return position;
}

// A slice of the lines a jump passed over, each time the editor is idle. Styling them moves the
// editor's mark of what is styled back to them: it is put back, so it asks for nothing again.
void ScriptLexer::colourPassedOver()
{
    QsciScintilla *sci = editor();
    if (!sci || m_passedFrom < 0 || m_passedFrom >= m_passedTo) {
        m_later.stop();
        m_passedFrom = m_passedTo = -1;
        return;
    }
    const long styledTo = sci->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    const long line = sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, m_passedFrom);
    const long from = sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    startStyling(int(from));
    m_passedFrom = styleLines(from, qMin<long>(from + 256 * 1024, m_passedTo));
    startStyling(int(styledTo));
    if (m_passedFrom >= m_passedTo
        || m_passedFrom >= sci->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)) {
        m_later.stop();
        m_passedFrom = m_passedTo = -1;
    }
}

} // namespace Korveth
