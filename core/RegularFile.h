#pragma once

#include "NativeFile.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Reading a file that a person or a script names, without ever handing the program to it: only
// regular files are read (a device, a FIFO or a socket could block or never end), the open never
// waits, and a file past the size limit is refused before any of it is read.
namespace Korveth {

// The largest script the program reads: far above any real script, far below what would exhaust
// memory.
inline constexpr qint64 maxScriptBytes = qint64(256) * 1024 * 1024;

struct FileBytes
{
    QByteArray bytes;
    QString error; // empty on success; otherwise the reason, for a message naming the file
};

// The whole content of a regular file (links followed). Never blocks on what the path leads to.
FileBytes readRegularFile(const QString &path, qint64 maxBytes = maxScriptBytes);
// The same for a path given as the system's own bytes.
FileBytes readRegularFileNative(const QByteArray &nativePath, qint64 maxBytes = maxScriptBytes);

// Reads a regular file as readRegularFile does, a piece at a time into a buffer of its own: sized
// is told the file's size before the first piece; piece is given each one, valid until it returns,
// and stops the reading by returning false. Returns the error; empty when all went well.
QString readRegularFileInPieces(const QString &path,
                                const std::function<void(qint64 size)> &sized,
                                const std::function<bool(QByteArrayView piece)> &piece,
                                qint64 maxBytes = maxScriptBytes);

// A regular file read a piece at a time as the caller asks, for what is streamed rather than held
// (a game log): opened as readRegularFile opens, and a read past maxBytes is an error, since a
// file may grow while it is read.
class RegularFileReader
{
public:
    // what: the kind of file, for the message when it is too large ("a log").
    RegularFileReader(const QString &path, QString what, qint64 maxBytes = maxScriptBytes);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader &) = delete;
    RegularFileReader &operator=(const RegularFileReader &) = delete;

    // Why the file cannot be read (or could not be read on); empty while all is well.
    const QString &error() const { return m_error; }
    // Its size when it was opened.
    qint64 size() const { return m_size; }
    // Up to room bytes into to: the count, 0 at the end, -1 on an error.
    qint64 read(char *to, qint64 room);

private:
    NativeFile m_file;
    qint64 m_got = 0;
    qint64 m_size = 0;
    qint64 m_maxBytes;
    QString m_what;
    QString m_error;
};

// True when the path leads (links followed) to a regular file: what may be listed or opened as a
// script.
bool isRegularFile(const QString &path);

// "3.2 GB", "512 KB": a size for a message.
QString readableSize(qint64 bytes);

} // namespace Korveth
