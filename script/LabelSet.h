#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace Korveth {

// Label names defined in a script and its includes, found exactly and with letter case ignored
// (upper-cased as the checker compares). The names live in one buffer: a large script defines
// tens of thousands of labels, and a set of strings would allocate and hash each.
class LabelSet
{
public:
    void add(QStringView name);
    bool contains(QStringView name) const;
    qsizetype size() const { return qsizetype(m_entries.size()); }

private:
    struct Entry
    {
        std::uint64_t hash;
        std::uint32_t offset;
        std::uint32_t length;
    };

    void sortIfNeeded() const;

    QString m_names; // upper-cased, one after another
    mutable std::vector<Entry> m_entries;
    mutable bool m_sorted = true;
};

} // namespace Korveth
