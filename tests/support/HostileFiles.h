#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>

// Files that must never be read as scripts, made in a folder under names that differ in letter
// case from how a script includes them ("include fifo" finds "Fifo.cmd" only by the
// case-insensitive fallback): a FIFO nobody writes to, links to an endless device and to standard
// input, and a file one byte past the size limit (sparse, so it costs no disk).
namespace HostileFiles {

// The include names, lower case, without ".cmd".
inline QStringList names()
{
    return {QStringLiteral("fifo"),
            QStringLiteral("zero"),
            QStringLiteral("stdin"),
            QStringLiteral("huge")};
}

// Makes them; false when the system refused one.
inline bool make(const QString &folder, qint64 hugeSize)
{
    const QDir dir(folder);
    if (::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("Fifo.cmd"))).constData(), 0600)
        != 0)
        return false;
    // Where this test's own input was redirected from a file, standard input is a regular file
    // that may be read; a device stands in for it then.
    struct stat input;
    const bool inputIsAFile = ::fstat(0, &input) == 0 && S_ISREG(input.st_mode);
    const QString stdinTarget
        = inputIsAFile ? QStringLiteral("/dev/null") : QStringLiteral("/dev/stdin");
    if (!QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("Zero.cmd")))
        || !QFile::link(stdinTarget, dir.filePath(QStringLiteral("Stdin.cmd"))))
        return false;
    QFile huge(dir.filePath(QStringLiteral("Huge.cmd")));
    return huge.open(QIODevice::WriteOnly) && huge.resize(hugeSize);
}

// A script that includes each of them, one line a name.
inline QByteArray includingScript()
{
    QByteArray script;
    for (const QString &name : names())
        script += "include " + name.toLatin1() + "\n";
    return script;
}

} // namespace HostileFiles
