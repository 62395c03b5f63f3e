#include "MistakeMarks.h"

#include "Announcer.h"

#include "ModelPlaces.h"
#include "ScriptEditor.h"
#include "ScriptModel.h"

#include <QTimer>

#include <algorithm>
#include <iterator>
#include <vector>

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

namespace {

using Runs = std::vector<std::pair<long, long>>; // [start, end) in bytes, in order, apart

// What the editor shows now: its text moved the marks along with each edit since the last paint.
Runs squiggledRuns(ScriptEditor &editor)
{
    Runs runs;
    const long length = long(editor.length());
    for (long at = 0; at < length;) {
        const long end = long(
            editor.SendScintilla(QsciScintillaBase::SCI_INDICATOREND, MistakeMarks::indicator, at));
        if (editor.SendScintilla(
                QsciScintillaBase::SCI_INDICATORVALUEAT, MistakeMarks::indicator, at))
            runs.emplace_back(at, end);
        if (end <= at)
            break;
        at = end;
    }
    return runs;
}

std::vector<int> markedLines(ScriptEditor &editor)
{
    std::vector<int> lines;
    for (int line = editor.markerFindNext(0, 1 << MistakeMarks::marker); line >= 0;
         line = editor.markerFindNext(line + 1, 1 << MistakeMarks::marker))
        lines.push_back(line);
    return lines;
}

// Ranges that touch are one run to the editor.
Runs joined(Runs ranges)
{
    std::sort(ranges.begin(), ranges.end());
    Runs runs;
    for (const auto &range : ranges) {
        if (!runs.empty() && range.first <= runs.back().second)
            runs.back().second = std::max(runs.back().second, range.second);
        else
            runs.push_back(range);
    }
    return runs;
}

template<typename T> std::vector<T> without(const std::vector<T> &from, const std::vector<T> &these)
{
    std::vector<T> rest;
    std::set_difference(
        from.begin(), from.end(), these.begin(), these.end(), std::back_inserter(rest));
    return rest;
}

} // namespace

// Only what differs from what the editor shows is changed: a check after each rest in a script
// with thousands of mistakes must not clear and paint them all, nor redraw the whole view.
void MistakeMarks::paint(const ScriptModel &model)
{
    const QList<Diagnostic> found = model.diagnostics();
    Runs wanted;
    std::vector<int> lines;
    m_shownVerdicts.clear();
    for (const Diagnostic &d : found) {
        if (d.line >= m_editor.lines())
            break;
        const qsizetype start = bytePosition(m_editor, model, d.line, d.column);
        const qsizetype end = bytePosition(m_editor, model, d.line, d.column + d.length);
        wanted.emplace_back(long(start), long(start + qMax<qsizetype>(1, end - start)));
        if (lines.empty() || lines.back() != d.line)
            lines.push_back(d.line);
        // A line's verdicts differ from each other: the second is only ever the match limit.
        QString &verdicts = m_shownVerdicts[d.line];
        verdicts += (verdicts.isEmpty() ? QString() : QStringLiteral(" ")) + d.message().toString();
    }
    wanted = joined(std::move(wanted));
    const Runs shown = squiggledRuns(m_editor);
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, indicator);
    for (const auto &[start, end] : without(shown, wanted))
        m_editor.SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE,
                               static_cast<unsigned long>(start),
                               end - start);
    for (const auto &[start, end] : without(wanted, shown))
        m_editor.SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                               static_cast<unsigned long>(start),
                               end - start);
    const std::vector<int> marked = markedLines(m_editor);
    for (int line : without(marked, lines))
        m_editor.markerDelete(line, marker);
    for (int line : without(lines, marked))
        m_editor.markerAdd(line, marker);
    // The margin shows only while there is a mistake; its width changing redraws every line.
    const int width = lines.empty() ? 0 : 14;
    if (m_editor.marginWidth(margin) != width)
        m_editor.setMarginWidth(margin, width);
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
