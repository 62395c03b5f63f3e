#include "RegularFile.h"

#include "HugePages.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

QString tooLarge(qint64 size, qint64 maxBytes, QStringView what = u"a script")
{
    return QStringLiteral("It is %1; %2 may have at most %3, so it is not read.")
        .arg(readableSize(size), what.toString(), readableSize(maxBytes));
}

// Opens a regular file without waiting; the descriptor is -1 and error says why when it cannot
// be read.
struct OpenedFile
{
    std::unique_ptr<Descriptor> fd;
    qint64 size = 0;
    QString error;
};

OpenedFile
openRegular(const QByteArray &nativePath, qint64 maxBytes, QStringView what = u"a script")
{
    OpenedFile opened;
    // Non-blocking, so that a FIFO with no writer cannot hold the open; the type is then checked
    // on what was opened, not on a name that may have changed in between.
    opened.fd = std::make_unique<Descriptor>(
        ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info;
    if (opened.fd->get() < 0 || ::fstat(opened.fd->get(), &info) != 0)
        opened.error = systemError(errno);
    else if (S_ISDIR(info.st_mode))
        opened.error = QStringLiteral("It is a folder, not a file.");
    else if (!S_ISREG(info.st_mode))
        opened.error = QStringLiteral("It is a device, a pipe or a socket, not a file, so it is "
                                      "not read.");
    else if (info.st_size > maxBytes)
        opened.error = tooLarge(info.st_size, maxBytes, what);
    else
        opened.size = info.st_size;
    return opened;
}

// Reads what is left of the file into room; 0 at its end, -1 on an error (errno tells).
ssize_t readSome(int fd, char *room, size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, room, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace

FileBytes readRegularFileNative(const QByteArray &nativePath, qint64 maxBytes)
{
    FileBytes result;
    const OpenedFile file = openRegular(nativePath, maxBytes);
    if (!file.error.isEmpty()) {
        result.error = file.error;
        return result;
    }
    // One piece of the file's own size, then on to the end: a file may grow meanwhile, up to the
    // limit.
    result.bytes.resize(qsizetype(file.size));
    preferHugePages(result.bytes.constData(), std::size_t(file.size));
    qint64 got = 0;
    char more[16384];
    for (;;) {
        const bool intoPiece = got < result.bytes.size();
        char *to = intoPiece ? result.bytes.data() + got : more;
        const size_t room = intoPiece ? size_t(result.bytes.size() - got) : sizeof more;
        const ssize_t n = readSome(file.fd->get(), to, room);
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

RegularFileReader::RegularFileReader(const QString &path, QString what, qint64 maxBytes)
    : m_maxBytes(maxBytes)
    , m_what(std::move(what))
{
    OpenedFile file = openRegular(QFile::encodeName(path), maxBytes, m_what);
    m_error = file.error;
    m_size = file.size;
    if (m_error.isEmpty())
        m_fd = file.fd->release();
}

RegularFileReader::~RegularFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 RegularFileReader::read(char *to, qint64 room)
{
    if (!m_error.isEmpty())
        return -1;
    const ssize_t n = readSome(m_fd, to, size_t(room));
    if (n < 0) {
        m_error = systemError(errno);
        return -1;
    }
    m_got += n;
    if (m_got > m_maxBytes) {
        m_error = tooLarge(m_got, m_maxBytes, m_what);
        return -1;
    }
    return n;
}

QString readRegularFileInPieces(const QString &path,
                                const std::function<void(qint64 size)> &sized,
                                const std::function<bool(QByteArrayView piece)> &piece,
                                qint64 maxBytes)
{
    RegularFileReader file(path, QStringLiteral("a script"), maxBytes);
    if (!file.error().isEmpty())
        return file.error();
    sized(file.size());
    QByteArray room(qsizetype(qMin<qint64>(qMax<qint64>(file.size(), 1), 1024 * 1024)),
                    Qt::Uninitialized);
    for (;;) {
        const qint64 n = file.read(room.data(), room.size());
        if (n <= 0)
            return file.error();
        if (!piece(QByteArrayView(room.constData(), n)))
            return {};
    }
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
