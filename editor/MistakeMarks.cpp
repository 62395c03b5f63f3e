#include "MistakeMarks.h"

#include "Announcer.h"

#include "ModelPlaces.h"
#include "ScriptEditor.h"
#include "ScriptModel.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <vector>

namespace Korveth {

MistakeMarks::MistakeMarks(ScriptEditor &editor)
    : m_editor(editor)
{
    editor.setMarginType(margin, QsciScintilla::SymbolMargin);
    editor.setMarginMarkerMask(margin, 0);
    editor.setMarginWidth(margin, 0);
    editor.indicatorDefine(QsciScintilla::SquiggleIndicator, indicator);
    editor.setIndicatorForegroundColor(QColor(0xE0, 0x20, 0x20), indicator);
    editor.setOverlay(this);
}

MistakeMarks::~MistakeMarks()
{
    m_editor.setOverlay(nullptr);
}

void MistakeMarks::clear()
{
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, indicator);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(m_editor.length()));
    m_editor.setMarginWidth(margin, 0);
    m_shownVerdicts.clear();
    describeCaretLine();
}

QRect MistakeMarks::marginStrip() const
{
    int left = 0;
    for (int m = 0; m < margin; ++m)
        left += m_editor.marginWidth(m);
    return QRect(left, 0, m_editor.marginWidth(margin), m_editor.viewport()->height());
}

void MistakeMarks::updateMargin()
{
    m_editor.viewport()->update(marginStrip());
}

// The circle the editor's own markers draw, on each line a squiggle touches in the part drawn
// again: a key typed redraws its line's text only and costs nothing here, and a page drawn costs
// a few calls a squiggle, not a line.
void MistakeMarks::paintOver(QPainter &painter, const QRect &area)
{
    using Sci = QsciScintillaBase;
    const QRect strip = marginStrip();
    const QRect drawn = area & strip;
    if (drawn.isEmpty())
        return;
    const auto send = [this](unsigned message, unsigned long w = 0, long l = 0) {
        return m_editor.SendScintilla(message, w, l);
    };
    const long firstRow = send(Sci::SCI_GETFIRSTVISIBLELINE);
    const int rowHeight = qMax(1, int(send(Sci::SCI_TEXTHEIGHT, 0)));
    const long fromRow = firstRow + drawn.top() / rowHeight;
    const long toRow = firstRow + drawn.bottom() / rowHeight;
    const long firstLine = send(Sci::SCI_DOCLINEFROMVISIBLE, fromRow);
    const long lastLine = send(Sci::SCI_DOCLINEFROMVISIBLE, toRow);
    const long from = send(Sci::SCI_POSITIONFROMLINE, firstLine);
    const long to = send(Sci::SCI_GETLINEENDPOSITION, lastLine);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x90, 0x10, 0x10));
    painter.setBrush(QColor(0xD0, 0x30, 0x30));
    long lastMarked = -1;
    for (long at = from; at <= to;) {
        const long end = send(Sci::SCI_INDICATOREND, indicator, at);
        if (send(Sci::SCI_INDICATORVALUEAT, indicator, at)) {
            const long lastOfRun = send(Sci::SCI_LINEFROMPOSITION, qMax(at, end - 1));
            for (long line = qMax(lastMarked + 1, send(Sci::SCI_LINEFROMPOSITION, at));
                 line <= qMin(lastOfRun, lastLine);
                 ++line) {
                // A wrapped line is marked on its first row, a folded one not at all.
                const long row = send(Sci::SCI_VISIBLEFROMDOCLINE, line);
                if (row < fromRow || row > toRow || !send(Sci::SCI_GETLINEVISIBLE, line))
                    continue;
                const QRectF cell(
                    strip.left(), qreal(row - firstRow) * rowHeight, strip.width(), rowHeight);
                const qreal size = qMin(cell.width(), cell.height()) - 4;
                painter.drawEllipse(
                    QRectF(cell.center() - QPointF(size / 2, size / 2), QSizeF(size, size)));
            }
            lastMarked = qMax(lastMarked, lastOfRun);
        }
        if (end <= at)
            break;
        at = end;
    }
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
    m_shownVerdicts.clear();
    for (const Diagnostic &d : found) {
        if (d.line >= m_editor.lines())
            break;
        const qsizetype start = bytePosition(m_editor, model, d.line, d.column);
        const qsizetype end = bytePosition(m_editor, model, d.line, d.column + d.length);
        wanted.emplace_back(long(start), long(start + qMax<qsizetype>(1, end - start)));
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
    // The margin shows only while there is a mistake; its width changing redraws every line.
    const int width = wanted.empty() ? 0 : 14;
    if (m_editor.marginWidth(margin) != width)
        m_editor.setMarginWidth(margin, width);
    else // an edit that took a squiggle's text away left its mark drawn: the control redraws
         // the text it changed, not the margins beside it
        updateMargin();
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
