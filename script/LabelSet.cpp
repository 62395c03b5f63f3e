#include "LabelSet.h"

#include "ScriptLanguage.h"

#include <QVarLengthArray>

#include <algorithm>

namespace Korveth {

namespace {

std::uint64_t hashOf(QStringView upper)
{
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (QChar c : upper)
        h = (h ^ c.unicode()) * 0x100000001b3ULL;
    return h;
}

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

} // namespace

LabelSet::Key LabelSet::keyOf(QStringView upper)
{
    if (upper.size() <= 8) {
        std::uint64_t packed = 0;
        bool ascii = true;
        for (QChar c : upper) {
            ascii = ascii && c.unicode() < 0x80;
            packed = (packed << 7) | (c.unicode() & 0x7F);
        }
        if (ascii) // the length tells "A" from "\0A"; the top bit is never set
            return {packed | (std::uint64_t(upper.size()) << 56), true};
    }
    return {hashOf(upper) | (1ULL << 63), false};
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
    std::vector<std::uint64_t> places(keys.size());
    m_shift -= 1;
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == 0)
            continue;
        const std::size_t at = freeSlot(keys, slotOf(m_keys[i]));
        keys[at] = m_keys[i];
        places[at] = m_places[i];
    }
    m_keys.swap(keys);
    m_places.swap(places);
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
        const std::size_t at = freeSlot(m_keys, slotOf(key.value));
        m_keys[at] = key.value;
        if (!key.exact) {
            m_places[at] = (std::uint64_t(m_names.size()) << 32) | std::uint64_t(upper.size());
            m_names += upper;
        }
        ++m_count;
    });
}

bool LabelSet::contains(QStringView name) const
{
    if (m_count == 0 || name.isEmpty())
        return false;
    return withUpper(name, [this](QStringView upper) {
        const Key key = keyOf(upper);
        const std::size_t mask = m_keys.size() - 1;
        for (std::size_t at = slotOf(key.value); m_keys[at] != 0; at = (at + 1) & mask) {
            if (m_keys[at] != key.value)
                continue;
            if (key.exact)
                return true;
            const std::uint64_t place = m_places[at];
            if (qsizetype(place & 0xFFFFFFFF) == upper.size()
                && std::equal(upper.begin(), upper.end(), m_names.constData() + (place >> 32)))
                return true;
        }
        return false;
    });
}

} // namespace Korveth
