#include "ChangedSpan.h"

#include <algorithm>
#include <utility>

namespace Korveth {

void ChangedSpan::inserting(qsizetype length, qsizetype at, qsizetype)
{
    // What stood from at on moves along unchanged.
    widen(length, at, at);
}

void ChangedSpan::removing(qsizetype length, qsizetype at, qsizetype count)
{
    widen(length, at, at + count);
}

void ChangedSpan::widen(qsizetype length, qsizetype start, qsizetype end)
{
    if (m_from == untouched) {
        m_from = start;
        m_tail = length - start;
    }
    // The bytes the span takes in are still those of the text as last taken, and the edit is
    // about to change them: kept, unless the whole text will be wanted anyway.
    if (!m_lost && m_taken >= 0) {
        if (start < m_from)
            m_before.prepend(m_read(start, m_from - start));
        if (const qsizetype spanEnd = length - m_tail; end > spanEnd)
            m_before.append(m_read(spanEnd, end - spanEnd));
    }
    m_from = std::min(m_from, start);
    m_tail = std::min(m_tail, length - end);
}

std::optional<ChangedSpan::Change> ChangedSpan::take(qsizetype length)
{
    const qsizetype taken = std::exchange(m_taken, length);
    const qsizetype from = std::exchange(m_from, untouched);
    const qsizetype tail = std::exchange(m_tail, untouched);
    QByteArray before = std::exchange(m_before, {});
    if (std::exchange(m_lost, false) || taken < 0)
        return std::nullopt;
    if (from == untouched)
        return taken == length ? std::optional(Change{length, 0, 0, {}}) : std::nullopt;
    if (from < 0 || tail < 0 || from + tail > qMin(taken, length))
        return std::nullopt;
    const qsizetype removed = taken - from - tail;
    if (before.size() != removed)
        return std::nullopt;
    return Change{from, removed, length - from - tail, std::move(before)};
}

} // namespace Korveth
