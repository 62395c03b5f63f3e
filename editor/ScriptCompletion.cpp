#include "ScriptCompletion.h"

#include "Completion.h"
#include "LiveDiagnostics.h"
#include "ScriptEditor.h"

#include <QGuiApplication>
#include <QScreen>

namespace Korveth {

ScriptCompletion::ScriptCompletion(ScriptEditor &editor, LiveDiagnostics &live)
    : QObject(&editor)
    , m_editor(editor)
    , m_live(live)
{
    connect(&editor, &QsciScintillaBase::SCN_CHARADDED, this, [this](int c) {
        const bool wordCharacter = QChar(c).isLetterOrNumber() || c == '_';
        if (wordCharacter && !m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE))
            showAtCaret();
    });
}

bool ScriptCompletion::onAScreen(long position) const
{
    const QPoint point(
        int(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position)),
        int(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position)));
    return QGuiApplication::screenAt(m_editor.viewport()->mapToGlobal(point)) != nullptr;
}

bool ScriptCompletion::showAtCaret()
{
    // The words are as last checked, a few keys behind at most; the line is read from the editor.
    int line = 0;
    int index = 0;
    m_editor.getCursorPosition(&line, &index);
    const long position = m_editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long lineStart = m_editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const QByteArray lineBytes = m_editor.text(line).toUtf8();
    const QString before = QString::fromUtf8(
        lineBytes.first(qMin<qsizetype>(position - lineStart, lineBytes.size())));
    const CompletionPlace place = completionPlace(before, before.size());
    if (place.kind == CompletionPlace::Label)
        m_live.wantLabels();
    const LiveDiagnostics::CompletionWords &known = m_live.completionWords();
    const CompletionList none;
    const CompletionList &words = place.kind == CompletionPlace::Command
                                      ? commandWords(known.dialect)
                                  : place.kind == CompletionPlace::Label ? known.labels()
                                                                         : none;
    const QString typed = before.sliced(place.wordStart);
    // Scintilla makes its list's window before it finds nothing to offer: asked on every key of a
    // word nothing starts with, that was most of what typing cost.
    if (typed.isEmpty() || !words.offers(typed))
        return false;
    const QByteArray typedBytes = typed.toUtf8();
    if (!onAScreen(position - typedBytes.size()))
        return false;
    // Set each time: a language given to the editor resets the letter case rule.
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETIGNORECASE, 1);
    // Scintilla sorts as it searches: its letter case rule puts "_" elsewhere than ours.
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETORDER, 1);
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETSEPARATOR, ' ');
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETAUTOHIDE, 1);
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSHOW,
                           static_cast<unsigned long>(typedBytes.size()),
                           words.joined().constData());
    return true;
}

} // namespace Korveth
