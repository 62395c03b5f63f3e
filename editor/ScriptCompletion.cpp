#include "ScriptCompletion.h"

#include "Completion.h"
#include "LiveDiagnostics.h"
#include "ScriptEditor.h"

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

bool ScriptCompletion::showAtCaret()
{
    // The model may be a keystroke behind; the line itself is read from the editor.
    int line = 0;
    int index = 0;
    m_editor.getCursorPosition(&line, &index);
    const long position = m_editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long lineStart = m_editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const QByteArray lineBytes = m_editor.text(line).toUtf8();
    const QString before = QString::fromUtf8(
        lineBytes.first(qMin<qsizetype>(position - lineStart, lineBytes.size())));
    const CompletionPlace place = completionPlace(before, before.size());
    QStringList words;
    if (place.kind == CompletionPlace::Command) {
        words = commandWords(m_live.model().dialect());
    } else if (place.kind == CompletionPlace::Label) {
        ScriptModel &model = m_live.model();
        for (const LabelDefinitionAt &label : model.labels())
            words.append(label.name);
        words += model.includedLabels();
        words = sortedForCompletion(words);
    }
    const QString typed = before.sliced(place.wordStart);
    if (words.isEmpty() || typed.isEmpty())
        return false;
    // Set each time: a language given to the editor resets the letter case rule.
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETIGNORECASE, 1);
    // Scintilla sorts as it searches: its letter case rule puts "_" elsewhere than ours.
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETORDER, 1);
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETSEPARATOR, ' ');
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSETAUTOHIDE, 1);
    const QByteArray list = words.join(u' ').toUtf8();
    m_editor.SendScintilla(QsciScintillaBase::SCI_AUTOCSHOW,
                           static_cast<unsigned long>(typed.toUtf8().size()),
                           list.constData());
    return true;
}

} // namespace Korveth
