#include "ChangedSpan.h"

#include <algorithm>
#include <utility>

namespace Korveth {

void ChangedSpan::inserting(qsizetype length, qsizetype at, qsizetype)
{
    // What stood from at on moves along unchanged.
    m_from = std::min(m_from, at);
    m_tail = std::min(m_tail, length - at);
}

void ChangedSpan::removing(qsizetype length, qsizetype at, qsizetype count)
{
    m_from = std::min(m_from, at);
    m_tail = std::min(m_tail, length - at - count);
}

std::optional<ChangedSpan::Change> ChangedSpan::take(qsizetype length)
{
    const qsizetype taken = std::exchange(m_taken, length);
    const qsizetype from = std::exchange(m_from, untouched);
    const qsizetype tail = std::exchange(m_tail, untouched);
    if (std::exchange(m_lost, false) || taken < 0)
        return std::nullopt;
    if (from == untouched)
        return taken == length ? std::optional(Change{length, 0, 0}) : std::nullopt;
    if (from < 0 || tail < 0 || from + tail > qMin(taken, length))
        return std::nullopt;
    return Change{from, taken - from - tail, length - from - tail};
}

} // namespace Korveth
