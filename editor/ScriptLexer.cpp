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
    const int lastWanted
        = int(sci->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE))
          + qMax(int(sci->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)), 100) + 100;
    if (lastWanted > firstLine) {
        const int limit
            = int(sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, lastWanted));
        if (limit > start && limit < end)
            end = limit;
    }

    // Style whole lines in chunks of about 64 KB: one copy of the text and one hand-over of the
    // styles per chunk keeps a long run (a jump to the end of a huge file) quick and small.
    startStyling(start);
    const long length = sci->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
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
}

} // namespace Korveth
