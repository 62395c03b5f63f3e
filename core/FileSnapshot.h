#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace Korveth {

// What a file held when the program last read or wrote it, to notice when another program
// changes it: its size, time and a hash of its bytes.
struct FileSnapshot
{
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    size_t hash = 0;

    // The file at path, known to hold these bytes now (just read or written).
    static FileSnapshot of(const QString &path, QByteArrayView bytes);
    // The file at path as it is on disk now; reads it only when size and time alone cannot tell.
    static FileSnapshot onDisk(const QString &path, const FileSnapshot &known);

    // Same bytes, whatever the time says (a touch is no change).
    bool sameContent(const FileSnapshot &other) const
    {
        return exists == other.exists && size == other.size && hash == other.hash;
    }
};

} // namespace Korveth
