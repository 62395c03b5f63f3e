#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
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
    // Many names at once: a short ASCII one is packed and kept until flush(), which sizes the
    // table once and places them all, each slot asked for ahead (a script's 250,000 labels went in
    // at a cache miss and many a rehash each). contains() does not see them before.
    void defer(QStringView name);
    void flush();
    bool contains(QStringView name) const;
    // Asks the processor for the slot where a short ASCII name (UTF-8 bytes, any letter case)
    // would be, ahead of contains(). A table of 250,000 labels is larger than the cache, and a
    // look-up that waits for memory took half of a label-dense script's check.
    void prefetch(QByteArrayView name) const;
    qsizetype size() const { return m_count; }

private:
    // A name's key: a short ASCII name (up to 8 letters) is its own key, packed, so finding the
    // key finds the name; any other is hashed, and its letters compared when the hash matches.
    // A hashed name's key as stored holds where its letters are in m_names as well (the low 32
    // bits), where a table of places beside the keys took as much memory again as the keys.
    struct Key
    {
        std::uint64_t value = 0; // a hashed name's with its place left 0
        bool exact = false;
    };
    static Key keyOf(QStringView upper);
    // The same from the character codes of an upper-cased name.
    template<typename Codes> static Key keyOfCodes(const Codes &upper);
    // What of a stored key says where it goes and what it is: all but a hashed name's place.
    static std::uint64_t probeOf(std::uint64_t stored)
    {
        return stored >> 63 ? stored & ~std::uint64_t(0xFFFFFFFF) : stored;
    }
    bool sameName(std::uint64_t stored, QStringView upper) const;
    bool containsPacked(std::uint64_t key) const;
    void grow();
    std::size_t slotOf(std::uint64_t stored) const
    {
        return std::size_t((probeOf(stored) * 0x9E3779B97F4A7C15ULL) >> m_shift);
    }
    // Where the key goes in a table of that many keys (no key is 0, an empty slot's value).
    static std::size_t freeSlot(const std::vector<std::uint64_t> &keys, std::size_t at);

    // The hashed names upper-cased, one after another, each after its length (two units).
    QString m_names;
    std::vector<std::uint64_t> m_keys = std::vector<std::uint64_t>(16);
    int m_shift = 60;
    qsizetype m_count = 0;
    std::vector<std::uint64_t> m_deferred; // packed keys of names not yet placed
};

} // namespace Korveth
