#include "RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Korveth {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QString tooLarge(qint64 size, qint64 maxBytes)
{
    return QStringLiteral("It is %1; a script may have at most %2, so it is not read.")
        .arg(readableSize(size), readableSize(maxBytes));
}

} // namespace

FileBytes readRegularFileNative(const QByteArray &nativePath, qint64 maxBytes)
{
    FileBytes result;
    // Non-blocking, so that a FIFO with no writer cannot hold the open; the type is then checked
    // on what was opened, not on a name that may have changed in between.
    const Descriptor fd(
        ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        result.error = systemError(errno);
        return result;
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0) {
        result.error = systemError(errno);
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.error = QStringLiteral("It is a folder, not a file.");
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = QStringLiteral("It is a device, a pipe or a socket, not a file, so it is "
                                      "not read.");
        return result;
    }
    if (info.st_size > maxBytes) {
        result.error = tooLarge(info.st_size, maxBytes);
        return result;
    }
    // One piece of the file's own size, then on to the end: a file may grow meanwhile, up to the
    // limit.
    result.bytes.resize(qsizetype(info.st_size));
    qint64 got = 0;
    char more[16384];
    for (;;) {
        const bool intoPiece = got < result.bytes.size();
        char *to = intoPiece ? result.bytes.data() + got : more;
        const size_t room = intoPiece ? size_t(result.bytes.size() - got) : sizeof more;
        const ssize_t n = ::read(fd.get(), to, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result = {{}, systemError(errno)};
            return result;
        }
        if (n == 0)
            break;
        if (!intoPiece) {
            if (result.bytes.size() + n > maxBytes) {
                result = {{}, tooLarge(result.bytes.size() + n, maxBytes)};
                return result;
            }
            result.bytes.append(more, n);
        }
        got += n;
    }
    result.bytes.resize(got);
    return result;
}

FileBytes readRegularFile(const QString &path, qint64 maxBytes)
{
    return readRegularFileNative(QFile::encodeName(path), maxBytes);
}

bool isRegularFile(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QString readableSize(qint64 bytes)
{
    constexpr qint64 kilo = 1024;
    if (bytes >= kilo * kilo * kilo)
        return QStringLiteral("%1 GB").arg(double(bytes) / double(kilo * kilo * kilo), 0, 'f', 1);
    if (bytes >= kilo * kilo)
        return QStringLiteral("%1 MB").arg(double(bytes) / double(kilo * kilo), 0, 'f', 0);
    if (bytes >= kilo)
        return QStringLiteral("%1 KB").arg(bytes / kilo);
    return QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace Korveth
