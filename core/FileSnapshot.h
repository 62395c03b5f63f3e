#pragma once

#include <QByteArrayView>
#include <QString>

namespace Korveth {

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
