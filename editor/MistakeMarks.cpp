#include "MistakeMarks.h"

#include "Announcer.h"

#include "ModelPlaces.h"
#include "ScriptEditor.h"
#include "ScriptModel.h"

#include <QTimer>

namespace Korveth {

MistakeMarks::MistakeMarks(ScriptEditor &editor)
    : m_editor(editor)
{
    editor.setMarginType(margin, QsciScintilla::SymbolMargin);
    editor.setMarginMarkerMask(margin, 1 << marker);
    editor.setMarginWidth(margin, 0);
    editor.markerDefine(QsciScintilla::Circle, marker);
    editor.setMarkerBackgroundColor(QColor(0xD0, 0x30, 0x30), marker);
    editor.setMarkerForegroundColor(QColor(0x90, 0x10, 0x10), marker);
    editor.indicatorDefine(QsciScintilla::SquiggleIndicator, indicator);
    editor.setIndicatorForegroundColor(QColor(0xE0, 0x20, 0x20), indicator);
}

void MistakeMarks::clear()
{
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, indicator);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(m_editor.length()));
    m_editor.markerDeleteAll(marker);
    m_editor.setMarginWidth(margin, 0);
    m_shownVerdicts.clear();
    describeCaretLine();
}

void MistakeMarks::paint(const ScriptModel &model)
{
    clear();
    const QList<Diagnostic> found = model.diagnostics();
    if (found.isEmpty())
        return;
    m_editor.setMarginWidth(margin, 14);
    int markedLine = -1;
    for (const Diagnostic &d : found) {
        if (d.line >= m_editor.lines())
            break;
        const qsizetype start = bytePosition(m_editor, model, d.line, d.column);
        const qsizetype end = bytePosition(m_editor, model, d.line, d.column + d.length);
        m_editor.SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                               static_cast<unsigned long>(start),
                               static_cast<long>(qMax<qsizetype>(1, end - start)));
        if (d.line != markedLine)
            m_editor.markerAdd(d.line, marker);
        markedLine = d.line;
        // A line's verdicts differ from each other: the second is only ever the match limit.
        QString &verdicts = m_shownVerdicts[d.line];
        verdicts += (verdicts.isEmpty() ? QString() : QStringLiteral(" ")) + d.message().toString();
    }
    describeCaretLine();
}

QString MistakeMarks::verdictsAtCaret() const
{
    int line = 0;
    int column = 0;
    m_editor.getCursorPosition(&line, &column);
    return m_shownVerdicts.value(line);
}

void MistakeMarks::describeCaretLine()
{
    int line = 0;
    int column = 0;
    m_editor.getCursorPosition(&line, &column);
    const QString verdicts = m_shownVerdicts.value(line);
    const QString description
        = verdicts.isEmpty() ? QString() : QStringLiteral("Mistake: ") + verdicts;
    // Qt tells assistive technology of the change; an unchanged one is not said again.
    if (m_editor.accessibleDescription() != description)
        m_editor.setAccessibleDescription(description);
    // Said on arrival, not again for each key along it; a moment later, so that it follows the
    // line the screen reader reads for the caret's move.
    if (line != m_caretLine) {
        m_caretLine = line;
        if (!description.isEmpty() && m_editor.window()->focusWidget() == &m_editor)
            QTimer::singleShot(announceDelayMs, &m_editor, [this, description] {
                Announcer::announce(&m_editor, description);
            });
    }
}

} // namespace Korveth
