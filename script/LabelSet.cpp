#include "LabelSet.h"

#include "ScriptLanguage.h"

#include <QVarLengthArray>

#include <algorithm>
#include <optional>

#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace Korveth {

namespace {

template<typename Codes> std::uint64_t hashOf(const Codes &upper)
{
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (char16_t c : upper)
        h = (h ^ c) * 0x100000001b3ULL;
    return h;
}

// A name's characters as their codes, for the key.
struct Utf16Codes
{
    QStringView text;
    struct Iterator
    {
        const QChar *at;
        char16_t operator*() const { return at->unicode(); }
        Iterator &operator++() { return ++at, *this; }
        bool operator!=(const Iterator &other) const { return at != other.at; }
    };
    Iterator begin() const { return {text.data()}; }
    Iterator end() const { return {text.data() + text.size()}; }
    qsizetype size() const { return text.size(); }
};

// Calls f with the name upper-cased: ASCII on the stack, anything else through the full Unicode
// mapping.
template<typename F> auto withUpper(QStringView name, F f)
{
    if (!isAscii(name))
        return f(QStringView(upperCased(name)));
    QVarLengthArray<QChar, 64> buffer(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char16_t c = name[i].unicode();
        if (c >= u'a' && c <= u'z')
            c = c - u'a' + u'A';
        buffer[i] = QChar(c);
    }
    return f(QStringView(buffer.data(), buffer.size()));
}

// A short ASCII name's key, upper-cased as it is packed; none for any other name. (Bytes of UTF-8
// past ASCII are negative chars, far above 0x80 as codes.)
template<typename Codes> inline std::optional<std::uint64_t> packedKeyOf(const Codes &name)
{
    if (name.size() > 8)
        return std::nullopt;
    std::uint64_t packed = 0;
    for (char16_t c : name) {
        if (c >= 0x80)
            return std::nullopt;
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        packed = (packed << 7) | c;
    }
    // The length tells "A" from "\0A"; the top bit, a hashed key's, is never set.
    return packed | (std::uint64_t(name.size()) << 56);
}

void prefetchSlot(const std::uint64_t *slot)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(slot);
#elif defined(_MSC_VER)
    _mm_prefetch(reinterpret_cast<const char *>(slot), _MM_HINT_T0);
#else
    (void)slot;
#endif
}

} // namespace

template<typename Codes> LabelSet::Key LabelSet::keyOfCodes(const Codes &upper)
{
    if (const std::optional<std::uint64_t> packed = packedKeyOf(upper))
        return {*packed, true};
    // The top bit marks a hashed key, then 31 bits of the hash; the place goes below.
    return {(hashOf(upper) | (1ULL << 63)) & ~std::uint64_t(0xFFFFFFFF), false};
}

LabelSet::Key LabelSet::keyOf(QStringView upper)
{
    return keyOfCodes(Utf16Codes{upper});
}

void LabelSet::prefetch(QByteArrayView name) const
{
    // Short names only: a long one's hash costs more than the wait it saves.
    const std::optional<std::uint64_t> packed = m_count > 0 ? packedKeyOf(name) : std::nullopt;
    if (!packed || name.isEmpty())
        return;
    prefetchSlot(&m_keys[slotOf(*packed)]);
}

std::size_t LabelSet::freeSlot(const std::vector<std::uint64_t> &keys, std::size_t at)
{
    const std::size_t mask = keys.size() - 1;
    while (keys[at] != 0)
        at = (at + 1) & mask;
    return at;
}

void LabelSet::grow()
{
    std::vector<std::uint64_t> keys(m_keys.size() * 2);
    m_shift -= 1;
    for (const std::uint64_t key : m_keys) {
        if (key != 0)
            keys[freeSlot(keys, slotOf(key))] = key;
    }
    m_keys.swap(keys);
}

void LabelSet::add(QStringView name)
{
    if (name.isEmpty())
        return;
    withUpper(name, [this](QStringView upper) {
        if (contains(upper))
            return;
        if (std::size_t(m_count + 1) * 2 > m_keys.size())
            grow();
        const Key key = keyOf(upper);
        std::uint64_t stored = key.value;
        if (!key.exact) {
            stored |= std::uint64_t(m_names.size());
            const auto length = std::uint32_t(upper.size());
            m_names += QChar(char16_t(length & 0xFFFF));
            m_names += QChar(char16_t(length >> 16));
            m_names += upper;
        }
        m_keys[freeSlot(m_keys, slotOf(stored))] = stored;
        ++m_count;
    });
}

void LabelSet::defer(QStringView name)
{
    if (const std::optional<std::uint64_t> packed = packedKeyOf(Utf16Codes{name});
        packed && !name.isEmpty())
        m_deferred.push_back(*packed);
    else
        add(name);
}

void LabelSet::flush()
{
    while ((std::size_t(m_count) + m_deferred.size()) * 2 > m_keys.size())
        grow();
    // Each slot is asked for a few names ahead; the table is sized once, above.
    constexpr std::size_t ahead = 8;
    const std::size_t mask = m_keys.size() - 1;
    for (std::size_t i = 0; i < m_deferred.size(); ++i) {
        if (i + ahead < m_deferred.size())
            prefetchSlot(&m_keys[slotOf(m_deferred[i + ahead])]);
        const std::uint64_t key = m_deferred[i];
        std::size_t at = slotOf(key);
        while (m_keys[at] != 0 && m_keys[at] != key)
            at = (at + 1) & mask;
        if (m_keys[at] == 0) {
            m_keys[at] = key;
            ++m_count;
        }
    }
    m_deferred = {};
}

bool LabelSet::sameName(std::uint64_t stored, QStringView upper) const
{
    const QChar *at = m_names.constData() + (stored & 0xFFFFFFFF);
    const qsizetype length = qsizetype(at[0].unicode()) | (qsizetype(at[1].unicode()) << 16);
    return length == upper.size() && std::equal(upper.begin(), upper.end(), at + 2);
}

bool LabelSet::containsPacked(std::uint64_t key) const
{
    const std::size_t mask = m_keys.size() - 1;
    for (std::size_t at = slotOf(key); m_keys[at] != 0; at = (at + 1) & mask) {
        if (m_keys[at] == key)
            return true;
    }
    return false;
}

bool LabelSet::contains(QStringView name) const
{
    if (m_count == 0 || name.isEmpty())
        return false;
    // Most names are short and ASCII: their key is made as they are read, with no copy.
    if (const std::optional<std::uint64_t> packed = packedKeyOf(Utf16Codes{name}))
        return containsPacked(*packed);
    return withUpper(name, [this](QStringView upper) {
        const Key key = keyOf(upper);
        const std::size_t mask = m_keys.size() - 1;
        for (std::size_t at = slotOf(key.value); m_keys[at] != 0; at = (at + 1) & mask) {
            if (probeOf(m_keys[at]) == key.value && (key.exact || sameName(m_keys[at], upper)))
                return true;
        }
        return false;
    });
}

} // namespace Korveth
