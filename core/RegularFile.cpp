#include "RegularFile.h"

#include "SystemMemory.h"

#include <QFile>

#include <utility>

namespace Korveth {

namespace {

// A path as the system wants it: its own bytes on POSIX systems, UTF-8 for Win32's wide calls.
std::string systemPath(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString tooLarge(qint64 size, qint64 maxBytes, QStringView what = u"a script")
{
    return QStringLiteral("It is %1; %2 may have at most %3, so it is not read.")
        .arg(readableSize(size), what.toString(), readableSize(maxBytes));
}

// Why a file was not opened, for a message naming it.
QString refusalText(const NativeFile &file, qint64 maxBytes, QStringView what)
{
    switch (file.refusal()) {
    case FileRefusal::None:
        return {};
    case FileRefusal::SystemError:
        return QString::fromLocal8Bit(file.systemMessage());
    case FileRefusal::Folder:
        return QStringLiteral("It is a folder, not a file.");
    case FileRefusal::NotRegular:
        return QStringLiteral("It is a device, a pipe or a socket, not a file, so it is not read.");
    case FileRefusal::TooLarge:
        return tooLarge(file.size(), maxBytes, what);
    }
    return {};
}

} // namespace

FileBytes readRegularFileNative(const QByteArray &nativePath, qint64 maxBytes)
{
    FileBytes result;
    NativeFile file = NativeFile::openRegular(nativePath.toStdString(), maxBytes);
    if (!file.isOpen()) {
        result.error = refusalText(file, maxBytes, u"a script");
        return result;
    }
    // One piece of the file's own size, then on to the end: a file may grow meanwhile, up to the
    // limit.
    result.bytes.resize(qsizetype(file.size()));
    preferHugePages(result.bytes.constData(), std::size_t(file.size()));
    qint64 got = 0;
    char more[16384];
    for (;;) {
        const bool intoPiece = got < result.bytes.size();
        char *to = intoPiece ? result.bytes.data() + got : more;
        const qint64 room = intoPiece ? result.bytes.size() - got : qint64(sizeof more);
        const qint64 n = file.read(to, room);
        if (n < 0) {
            result = {{}, QString::fromLocal8Bit(file.systemMessage())};
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
    : m_file(NativeFile::openRegular(systemPath(path), maxBytes))
    , m_maxBytes(maxBytes)
    , m_what(std::move(what))
{
    m_error = refusalText(m_file, maxBytes, m_what);
    m_size = m_file.isOpen() ? m_file.size() : 0;
}

RegularFileReader::~RegularFileReader() = default;

qint64 RegularFileReader::read(char *to, qint64 room)
{
    if (!m_error.isEmpty())
        return -1;
    const qint64 n = m_file.read(to, room);
    if (n < 0) {
        m_error = QString::fromLocal8Bit(m_file.systemMessage());
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
    return readRegularFileNative(QByteArray::fromStdString(systemPath(path)), maxBytes);
}

bool isRegularFile(const QString &path)
{
    return isRegularFileNative(systemPath(path));
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
