#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace Korveth {

// Label names defined in a script and its includes, found exactly and with letter case ignored
// (upper-cased as the checker compares). The names live in one buffer: a large script defines
// tens of thousands of labels, and a set of strings would allocate and hash each. They are found
// through an open-addressing table: one read from memory for most look-ups in a table too large
// for the cache, where a sorted array took a dozen.
class LabelSet
{
public:
    void add(QStringView name);
    bool contains(QStringView name) const;
    qsizetype size() const { return m_count; }

private:
    // A name's key: a short ASCII name (up to 8 letters) is its own key, packed, so finding the
    // key finds the name; any other is hashed, and its letters compared when the hash matches.
    struct Key
    {
        std::uint64_t value = 0;
        bool exact = false;
    };
    static Key keyOf(QStringView upper);
    struct Slot
    {
        std::uint64_t key = 0;
        std::uint32_t offset = 0; // of a hashed name in m_names
        std::uint32_t length = 0; // 0: an empty slot (no name is empty); else letters + 1
    };
    void grow();
    std::size_t slotOf(std::uint64_t key) const
    {
        return std::size_t((key * 0x9E3779B97F4A7C15ULL) >> m_shift);
    }
    void insert(std::vector<Slot> &table, const Slot &slot) const;

    QString m_names; // upper-cased hashed names, one after another
    std::vector<Slot> m_table{16};
    int m_shift = 60;
    qsizetype m_count = 0;
};

} // namespace Korveth
