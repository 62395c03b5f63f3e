#pragma once

#include <QStringView>

#include <cstdint>
#include <vector>

namespace Korveth {

// Upper-cased names and how many lines define each: one number a defining line, kept in order, so
// that a long script's 80,000 label names cost 8 bytes each, where names held as text in a hash
// took 30 and more. A name of up to nine ASCII characters is its own number, packed; a longer one
// is known by a 63-bit hash, so two long names of one hash would count as one: fewer than once in
// 10^9 scripts of 80,000 long labels.
class NameCounts
{
public:
    int value(QStringView upper) const;
    bool contains(QStringView upper) const;
    // What an edit changed: one name for each defining line it took out, and for each it put in.
    void change(const std::vector<std::uint64_t> &gone, const std::vector<std::uint64_t> &came);
    // Every defining line's name at once.
    void assign(std::vector<std::uint64_t> names);
    void clear() { m_keys.clear(); }

    static std::uint64_t key(QStringView upper);

private:
    std::vector<std::uint64_t> m_keys; // sorted
};

} // namespace Korveth
