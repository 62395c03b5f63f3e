#include "NameCounts.h"

#include <QHashFunctions>

#include <algorithm>

namespace Korveth {

std::uint64_t NameCounts::key(QStringView upper)
{
    constexpr qsizetype mostPacked = 9; // seven bits each, the top bit clear
    std::uint64_t packed = 0;
    bool fits = upper.size() <= mostPacked;
    for (qsizetype i = 0; fits && i < upper.size(); ++i) {
        const char16_t c = upper[i].unicode();
        // No character is 0, so names of different lengths never meet.
        fits = c > 0 && c < 0x80;
        packed = (packed << 7) | c;
    }
    if (fits)
        return packed;
    std::uint64_t hash = qHash(upper, 0);
    if constexpr (sizeof(size_t) < sizeof(std::uint64_t)) // a 32-bit hash: two of them
        hash = (hash << 32) | qHash(upper, 1);
    return hash | (std::uint64_t(1) << 63);
}

int NameCounts::value(QStringView upper) const
{
    const auto [first, last] = std::equal_range(m_keys.begin(), m_keys.end(), key(upper));
    return int(last - first);
}

bool NameCounts::contains(QStringView upper) const
{
    return std::binary_search(m_keys.begin(), m_keys.end(), key(upper));
}

void NameCounts::assign(std::vector<std::uint64_t> names)
{
    m_keys = std::move(names);
    std::sort(m_keys.begin(), m_keys.end());
}

void NameCounts::change(const std::vector<std::uint64_t> &gone,
                        const std::vector<std::uint64_t> &came)
{
    if (gone.size() + came.size() <= 64) {
        // An edit's few lines: in place.
        for (const std::uint64_t name : gone) {
            const auto at = std::lower_bound(m_keys.begin(), m_keys.end(), name);
            if (at != m_keys.end() && *at == name)
                m_keys.erase(at);
        }
        for (const std::uint64_t name : came)
            m_keys.insert(std::upper_bound(m_keys.begin(), m_keys.end(), name), name);
        return;
    }
    // A paste of many: one merge, where each in place would move them all.
    std::vector<std::uint64_t> out(gone);
    std::sort(out.begin(), out.end());
    // What stays: every name less those gone, one for one.
    std::vector<std::uint64_t> kept;
    kept.reserve(m_keys.size() + came.size());
    std::set_difference(
        m_keys.begin(), m_keys.end(), out.begin(), out.end(), std::back_inserter(kept));
    std::vector<std::uint64_t> in(came);
    std::sort(in.begin(), in.end());
    const auto middle = kept.insert(kept.end(), in.begin(), in.end());
    std::inplace_merge(kept.begin(), middle, kept.end());
    m_keys = std::move(kept);
}

} // namespace Korveth
