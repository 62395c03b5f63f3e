#include "LabelIndex.h"

#include "ScriptLanguage.h"

#include <algorithm>
#include <array>

namespace Korveth {

namespace {

// Longest suffix before a colon that the hash index holds; longer names are scanned for.
constexpr qsizetype maxIndexedLength = 32;
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
// 32 bits are enough: every candidate is verified, so a collision only costs a comparison.
std::uint32_t finishKey(std::uint64_t hash, qsizetype length)
{
    std::uint64_t k = hash ^ (std::uint64_t(length) * 0x9e3779b97f4a7c15ULL);
    k ^= k >> 31;
    k *= 0xbf58476d1ce4e5b9ULL;
    k ^= k >> 29;
    return std::uint32_t(k >> 32);
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

bool LabelIndex::containsUpperLabel(QStringView upperName) const
{
    // NAME: cut at its colons gives segments, each followed by a colon (the last by the one
    // sought). Wherever NAME: occurs, each segment ends at a text colon and lies in the run before
    // it. So the colons whose run ends with the longest segment (its last maxIndexedLength
    // characters) are the only candidates, and each is verified against the whole name. Equal
    // keys of different text only add candidates that fail.
    if (m_upperText.size() > qsizetype(UINT32_MAX))
        return scanText(upperName);
    QStringView segment;
    qsizetype segmentEnd = -1; // offset in NAME: of the colon after the chosen segment
    qsizetype from = 0;
    for (;;) {
        qsizetype colon = upperName.indexOf(u':', from);
        if (colon < 0)
            colon = upperName.size();
        const QStringView piece = upperName.sliced(from, colon - from);
        if (segmentEnd < 0 || piece.size() > segment.size()) {
            segment = piece;
            segmentEnd = colon;
        }
        if (colon == upperName.size())
            break;
        from = colon + 1;
    }
    if (std::any_of(segment.begin(), segment.end(), endsRun))
        return scanText(upperName);

    const QStringView key = segment.last(qMin(segment.size(), maxIndexedLength));
    const std::uint32_t hash = finishKey(nameHash(key), key.size());
    auto it = std::lower_bound(m_entries.begin(),
                               m_entries.end(),
                               hash,
                               [](const Entry &e, std::uint32_t k) { return e.key < k; });
    const auto end = std::upper_bound(
        it, m_entries.end(), hash, [](std::uint32_t k, const Entry &e) { return k < e.key; });
    // A key shared by a great many colons is answered by one scan, remembered.
    if (end - it > 4096)
        return scanText(upperName);
    const QStringView text = m_upperText;
    for (; it != end; ++it) {
        const qsizetype start = qsizetype(it->colon) - segmentEnd;
        const qsizetype colon = start + upperName.size();
        if (start >= 0 && colon < text.size() && text[colon] == u':'
            && text.sliced(start, upperName.size()) == upperName)
            return true;
    }
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
