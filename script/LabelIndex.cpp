#include "LabelIndex.h"

#include "ScriptLanguage.h"

#include "SystemMemory.h"
#include "TextLines.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <memory>

namespace Korveth {

namespace {

// Longest suffix before a colon that the hash index holds; longer names are scanned for.
constexpr qsizetype maxIndexedLength = 32;
constexpr std::uint64_t hashBase = 0x100000001b3ULL;

bool endsRun(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == ':';
}

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Upper-cases the lines that hold more than ASCII as the checker does; ASCII letters are left for
// the reader to upper-case, as it does for an ASCII text.
QByteArray upperCasedBeyondAscii(QByteArrayView utf8)
{
    QByteArray upper;
    upper.reserve(utf8.size() + utf8.size() / 8);
    LineDecoder decoder;
    forEachEditorLine(utf8, [&](QByteArrayView line, QByteArrayView end) {
        if (isAscii(line))
            upper += line;
        else
            upper += upperCased(decoder.decode(line)).toUtf8();
        upper += end;
    });
    return upper;
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

std::uint64_t nameHash(QByteArrayView name)
{
    std::uint64_t h = 0;
    for (char c : name)
        h = h * hashBase + (std::uint8_t(c) + 1);
    return h;
}

} // namespace

// Millions of entries for a large script: four passes of a byte-wise radix sort beat a
// comparison sort by several times, and it is stable.
void LabelIndex::sortByKey(std::vector<Entry> &entries)
{
    // Left unset: every slot is written before it is read.
    const std::unique_ptr<Entry[]> buffer(new Entry[entries.size()]);
    preferHugePages(buffer.get(), entries.size() * sizeof(Entry));
    Entry *from = entries.data();
    Entry *to = buffer.get();
    for (int shift = 0; shift < 32; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (std::size_t i = 0; i < entries.size(); ++i)
            ++starts[((from[i].key >> shift) & 0xFF) + 1];
        for (std::size_t b = 1; b < starts.size(); ++b)
            starts[b] += starts[b - 1];
        for (std::size_t i = 0; i < entries.size(); ++i)
            to[starts[(from[i].key >> shift) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    // Four passes: the sorted entries are back where they started.
}

LabelIndex::LabelIndex(QStringView scriptText)
    : LabelIndex(scriptText.toUtf8())
{}

LabelIndex::LabelIndex(QByteArray scriptUtf8)
    : m_text(isAscii(scriptUtf8) ? std::move(scriptUtf8) : upperCasedBeyondAscii(scriptUtf8))
{
    // The whole run before each colon, the name of a label line, is found at once.
    const QByteArrayView text = m_text;
    QVarLengthArray<QChar, 64> wide;
    for (qsizetype colon = text.indexOf(':'); colon >= 0; colon = text.indexOf(':', colon + 1)) {
        qsizetype runStart = colon;
        while (runStart > 0 && !endsRun(text[runStart - 1]))
            --runStart;
        if (runStart == colon)
            continue;
        const QByteArrayView run = text.sliced(runStart, colon - runStart);
        if (isAscii(run)) {
            wide.resize(run.size());
            for (qsizetype i = 0; i < run.size(); ++i)
                wide[i] = QLatin1Char(run[i]);
            m_wholeRuns.defer(QStringView(wide.data(), wide.size()));
        } else {
            m_wholeRuns.add(QString::fromUtf8(run));
        }
    }
    m_wholeRuns.flush();
}

// Made on the first name that is not a whole run: a script whose jumps all name label lines
// never needs it, and it is most of the work of reading a script with many colons.
void LabelIndex::indexSuffixes() const
{
    if (m_suffixesIndexed)
        return;
    m_suffixesIndexed = true;
    const auto &powers = basePowers();
    const QByteArrayView text = m_text;
    // Room for the most a colon can add: pages never written cost nothing, and the entries are
    // never moved while they grow.
    m_entries.reserve(std::size_t(text.count(':')) * (maxIndexedLength + 1));
    preferHugePages(m_entries.data(), m_entries.capacity() * sizeof(Entry));
    for (qsizetype colon = text.indexOf(':'); colon >= 0; colon = text.indexOf(':', colon + 1)) {
        // Walking back from the colon, the suffix of length k + 1 is c * B^k + hash(suffix k).
        std::uint64_t h = 0;
        m_entries.push_back({finishKey(0, 0), std::uint32_t(colon)});
        for (qsizetype k = 0; k < maxIndexedLength && colon - 1 - k >= 0; ++k) {
            const char c = upperAt(colon - 1 - k);
            if (endsRun(c))
                break;
            h += (std::uint8_t(c) + 1) * powers[k];
            m_entries.push_back({finishKey(h, k + 1), std::uint32_t(colon)});
        }
    }
    sortByKey(m_entries);
    m_bucketStarts.assign((std::size_t(1) << bucketBits) + 1, 0);
    for (const Entry &e : m_entries)
        ++m_bucketStarts[(e.key >> (32 - bucketBits)) + 1];
    for (std::size_t b = 1; b < m_bucketStarts.size(); ++b)
        m_bucketStarts[b] += m_bucketStarts[b - 1];
}

bool LabelIndex::containsLabel(QStringView name) const
{
    return containsUpperLabel(upperCased(name));
}

char LabelIndex::upperAt(qsizetype i) const
{
    return asciiUpper(m_text[i]);
}

bool LabelIndex::containsUpperLabel(QStringView upperNameText) const
{
    if (m_wholeRuns.contains(upperNameText))
        return true; // the commonest case: a label line of that name
    const QByteArray upperName = upperNameText.toUtf8();
    // NAME: cut at its colons gives segments, each followed by a colon (the last by the one
    // sought). Wherever NAME: occurs, each segment ends at a text colon and lies in the run before
    // it. So the colons whose run ends with the longest segment (its last maxIndexedLength
    // characters) are the only candidates, and each is verified against the whole name. Equal
    // keys of different text only add candidates that fail.
    if (m_text.size() > qsizetype(UINT32_MAX))
        return scanText(upperName);
    QByteArrayView segment;
    qsizetype segmentEnd = -1; // offset in NAME: of the colon after the chosen segment
    qsizetype from = 0;
    for (;;) {
        qsizetype colon = upperName.indexOf(':', from);
        if (colon < 0)
            colon = upperName.size();
        const QByteArrayView piece = QByteArrayView(upperName).sliced(from, colon - from);
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

    const QByteArrayView key = segment.last(qMin(segment.size(), maxIndexedLength));
    const std::uint32_t hash = finishKey(nameHash(key), key.size());
    indexSuffixes();
    if (m_entries.empty())
        return false; // no colon anywhere
    // The keys' top bits lead straight to a small run of the sorted entries.
    const std::uint32_t top = hash >> (32 - bucketBits);
    const auto runBegin = m_entries.begin() + m_bucketStarts[top];
    const auto runEnd = m_entries.begin() + m_bucketStarts[top + 1];
    auto it = std::lower_bound(
        runBegin, runEnd, hash, [](const Entry &e, std::uint32_t k) { return e.key < k; });
    const auto end = std::upper_bound(
        it, runEnd, hash, [](std::uint32_t k, const Entry &e) { return k < e.key; });
    auto verify = [&](std::uint32_t colonAt) {
        const qsizetype start = qsizetype(colonAt) - segmentEnd;
        const qsizetype colon = start + upperName.size();
        if (start < 0 || colon >= m_text.size() || m_text[colon] != ':')
            return false;
        for (qsizetype i = 0; i < upperName.size(); ++i) {
            if (upperAt(start + i) != upperName[i])
                return false;
        }
        return true;
    };
    if (end - it > 64) {
        // Many colons share this key: only those whose run ends with the whole segment can hold
        // the name, and they stand together in the bucket ordered by their runs read backwards.
        const std::vector<std::uint32_t> &sorted = runsByEnding(hash, it, end);
        const auto compare = [&](std::uint32_t colonAt) {
            // The run before colonAt against the segment, both read backwards, over the
            // segment's length: < 0, 0 (the run ends with the segment) or > 0.
            for (qsizetype k = 1; k <= segment.size(); ++k) {
                const qsizetype at = qsizetype(colonAt) - k;
                const std::uint8_t r = at >= 0 && !endsRun(upperAt(at)) ? upperAt(at) : 0;
                const auto q = std::uint8_t(segment[segment.size() - k]);
                if (r != q)
                    return int(r) - int(q);
            }
            return 0;
        };
        auto from = std::lower_bound(
            sorted.begin(), sorted.end(), 0u, [&](std::uint32_t c, std::uint32_t) {
                return compare(c) < 0;
            });
        for (; from != sorted.end() && compare(*from) == 0; ++from) {
            if (verify(*from))
                return true;
        }
        return false;
    }
    for (; it != end; ++it) {
        if (verify(it->colon))
            return true;
    }
    return false;
}

const std::vector<std::uint32_t> &
LabelIndex::runsByEnding(std::uint32_t key,
                         std::vector<Entry>::const_iterator first,
                         std::vector<Entry>::const_iterator last) const
{
    auto known = m_sortedBuckets.find(key);
    if (known != m_sortedBuckets.end())
        return *known;
    std::vector<std::uint32_t> colons;
    colons.reserve(std::size_t(last - first));
    for (auto it = first; it != last; ++it)
        colons.push_back(it->colon);
    // Runs read backwards from their colon; a run that ends sorts first.
    const auto runByte = [this](qsizetype at) -> std::uint8_t {
        return at >= 0 && !endsRun(upperAt(at)) ? std::uint8_t(upperAt(at)) : 0;
    };
    std::sort(colons.begin(), colons.end(), [&](std::uint32_t a, std::uint32_t b) {
        for (qsizetype k = 1;; ++k) {
            const std::uint8_t ca = runByte(qsizetype(a) - k);
            const std::uint8_t cb = runByte(qsizetype(b) - k);
            if (ca != cb)
                return ca < cb;
            if (ca == 0)
                return a < b;
        }
    });
    return *m_sortedBuckets.insert(key, std::move(colons));
}

bool LabelIndex::scanText(QByteArrayView upperName) const
{
    const QByteArray needle = upperName.toByteArray() + ':';
    auto found = m_scanned.constFind(needle);
    if (found != m_scanned.constEnd())
        return *found;
    const auto sameUpper = [](char textByte, char nameByte) {
        return asciiUpper(textByte) == nameByte;
    };
    const bool contains
        = std::search(m_text.begin(), m_text.end(), needle.begin(), needle.end(), sameUpper)
          != m_text.end();
    m_scanned.insert(needle, contains);
    return contains;
}

} // namespace Korveth
