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

void LabelSet::add(QStringView name)
{
    withUpper(name, [this](QStringView upper) {
        m_entries.push_back(
            {hashOf(upper), std::uint32_t(m_names.size()), std::uint32_t(upper.size())});
        m_names += upper;
    });
    m_sorted = false;
}

void LabelSet::sortIfNeeded() const
{
    if (m_sorted)
        return;
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) {
        return a.hash < b.hash;
    });
    m_sorted = true;
}

bool LabelSet::contains(QStringView name) const
{
    sortIfNeeded();
    return withUpper(name, [this](QStringView upper) {
        const std::uint64_t hash = hashOf(upper);
        auto it = std::lower_bound(m_entries.begin(),
                                   m_entries.end(),
                                   hash,
                                   [](const Entry &e, std::uint64_t h) { return e.hash < h; });
        for (; it != m_entries.end() && it->hash == hash; ++it) {
            if (QStringView(m_names).sliced(it->offset, it->length) == upper)
                return true;
        }
        return false;
    });
}

} // namespace Korveth
