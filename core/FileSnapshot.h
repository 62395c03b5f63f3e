#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace Korveth {

// A fast hash of a file's bytes, to tell whether another program changed them (not a defence
// against anyone): four independent lanes of 8-byte words, so a 50 MB script costs a few ms. The
// bytes may come in pieces of any size; the hash is that of the whole.
class ContentHash
{
public:
    void add(QByteArrayView bytes);
    size_t value() const;
    static size_t of(QByteArrayView bytes);

private:
    void addBlock(const char *block);

    std::uint64_t m_lanes[4]{1, 2, 3, 4};
    char m_pending[32]{};
    int m_pendingSize = 0;
    qint64 m_size = 0;
};

// What a file held when the program last read or wrote it, to notice when another program
// changes it: its size and a hash of its bytes. Times are not trusted: a rewrite within the same
// tick keeps the time, and a touch changes it without changing a byte.
struct FileSnapshot
{
    bool exists = false;
    qint64 size = 0;
    size_t hash = 0;

    // The file at path, known to hold these bytes now (just read or written).
    static FileSnapshot of(const QString &path, QByteArrayView bytes);
    // The same, from the size and ContentHash of what was just read or written.
    static FileSnapshot of(const QString &path, qint64 size, size_t hash);
    // The file at path as it is on disk now (not existing when it cannot be read).
    static FileSnapshot read(const QString &path);
    // True when the file at path holds what this snapshot says; reads the file only when the
    // size alone cannot tell.
    bool matchesDisk(const QString &path) const;

    bool sameContent(const FileSnapshot &other) const
    {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
};

} // namespace Korveth
