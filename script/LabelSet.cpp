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

void LabelSet::insert(std::vector<Slot> &table, const Slot &slot) const
{
    const std::size_t mask = table.size() - 1;
    std::size_t at = slotOf(slot.key);
    while (table[at].length != 0)
        at = (at + 1) & mask;
    table[at] = slot;
}

void LabelSet::grow()
{
    std::vector<Slot> bigger(m_table.size() * 2);
    m_shift -= 1;
    for (const Slot &slot : m_table) {
        if (slot.length != 0)
            insert(bigger, slot);
    }
    m_table.swap(bigger);
}

void LabelSet::add(QStringView name)
{
    if (name.isEmpty())
        return;
    withUpper(name, [this](QStringView upper) {
        if (contains(upper))
            return;
        if (std::size_t(m_count + 1) * 2 > m_table.size())
            grow();
        const Key key = keyOf(upper);
        Slot slot{key.value, 0, std::uint32_t(upper.size() + 1)};
        if (!key.exact) {
            slot.offset = std::uint32_t(m_names.size());
            m_names += upper;
        }
        insert(m_table, slot);
        ++m_count;
    });
}

bool LabelSet::contains(QStringView name) const
{
    if (m_count == 0 || name.isEmpty())
        return false;
    return withUpper(name, [this](QStringView upper) {
        const Key key = keyOf(upper);
        const std::size_t mask = m_table.size() - 1;
        for (std::size_t at = slotOf(key.value); m_table[at].length != 0; at = (at + 1) & mask) {
            const Slot &slot = m_table[at];
            if (slot.key != key.value)
                continue;
            if (key.exact)
                return true;
            if (slot.length == std::uint32_t(upper.size() + 1)
                && std::equal(upper.begin(), upper.end(), m_names.constData() + slot.offset))
                return true;
        }
        return false;
    });
}

} // namespace Korveth
