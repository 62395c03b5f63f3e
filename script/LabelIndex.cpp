#include "LabelIndex.h"

#include "ScriptLanguage.h"

#include <algorithm>
#include <array>

namespace Korveth {

namespace {

// Longest suffix before a colon that the hash index holds; longer names are scanned for.
constexpr qsizetype maxIndexedLength = 128;
constexpr std::uint64_t hashBase = 0x100000001b3ULL;

bool endsRun(QChar c)
{
    return c == u' ' || c == u'\r' || c == u'\n' || c == u':';
}

const std::array<std::uint64_t, maxIndexedLength + 1> &basePowers()
{
    static const auto powers = [] {
        std::array<std::uint64_t, maxIndexedLength + 1> p{};
        p[0] = 1;
        for (std::size_t i = 1; i < p.size(); ++i)
            p[i] = p[i - 1] * hashBase;
        return p;
    }();
    return powers;
}

// Mixes the length in so that names differing only by leading zero characters stay apart.
std::uint64_t finishKey(std::uint64_t hash, qsizetype length)
{
    std::uint64_t k = hash ^ (std::uint64_t(length) * 0x9e3779b97f4a7c15ULL);
    k ^= k >> 31;
    k *= 0xbf58476d1ce4e5b9ULL;
    k ^= k >> 29;
    return k;
}

std::uint64_t nameHash(QStringView name)
{
    std::uint64_t h = 0;
    for (QChar c : name)
        h = h * hashBase + (c.unicode() + 1);
    return h;
}

} // namespace

LabelIndex::LabelIndex(QStringView scriptText)
    : m_upperText(upperCased(scriptText))
{
    const auto &powers = basePowers();
    const QStringView text = m_upperText;
    for (qsizetype colon = text.indexOf(u':'); colon >= 0; colon = text.indexOf(u':', colon + 1)) {
        // Walking back from the colon, the suffix of length k + 1 is c * B^k + hash(suffix k).
        std::uint64_t h = 0;
        m_entries.push_back({finishKey(0, 0), std::uint32_t(colon)});
        for (qsizetype k = 0; k < maxIndexedLength && colon - 1 - k >= 0; ++k) {
            const QChar c = text[colon - 1 - k];
            if (endsRun(c))
                break;
            h += (c.unicode() + 1) * powers[k];
            m_entries.push_back({finishKey(h, k + 1), std::uint32_t(colon)});
        }
    }
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) {
        return a.key < b.key;
    });
}

bool LabelIndex::containsLabel(QStringView name) const
{
    return containsUpperLabel(upperCased(name));
}

bool LabelIndex::indexable(QStringView name) const
{
    if (name.size() > maxIndexedLength || m_upperText.size() > qsizetype(UINT32_MAX))
        return false;
    return std::none_of(name.begin(), name.end(), endsRun);
}

bool LabelIndex::containsUpperLabel(QStringView upperName) const
{
    if (!indexable(upperName))
        return scanText(upperName);
    const std::uint64_t key = finishKey(nameHash(upperName), upperName.size());
    auto it = std::lower_bound(m_entries.begin(),
                               m_entries.end(),
                               key,
                               [](const Entry &e, std::uint64_t k) { return e.key < k; });
    for (; it != m_entries.end() && it->key == key; ++it) {
        const qsizetype start = qsizetype(it->colon) - upperName.size();
        if (start >= 0 && QStringView(m_upperText).sliced(start, upperName.size()) == upperName)
            return true;
    }
    // Equal keys that all failed to verify mean a hash collision: the scan decides exactly.
    if (it != m_entries.begin() && std::prev(it)->key == key)
        return scanText(upperName);
    return false;
}

bool LabelIndex::scanText(QStringView upperName) const
{
    const QString needle = upperName.toString() + u':';
    auto found = m_scanned.constFind(needle);
    if (found != m_scanned.constEnd())
        return *found;
    const bool contains = m_upperText.contains(needle);
    m_scanned.insert(needle, contains);
    return contains;
}

} // namespace Korveth
