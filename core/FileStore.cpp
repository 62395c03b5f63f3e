#include "FileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Korveth {

namespace {

// Unbuffered writes: a short one (a full disk, a file size limit) shows in what write() returns.
// Buffered, the rest of the bytes can be lost in the final flush while commit() reports success.
constexpr QIODevice::OpenMode unbufferedWrite = QIODevice::WriteOnly | QIODevice::Unbuffered;

// Why a write stopped short: the device's reason when it has one.
QString shortWrite(const QFileDevice &file, qint64 written, qint64 wanted)
{
    if (file.error() != QFileDevice::NoError && written < 0)
        return file.errorString();
    return QStringLiteral("Only %1 of %2 bytes could be written; the disk may be full.")
        .arg(qMax<qint64>(written, 0))
        .arg(wanted);
}

} // namespace

FileStore::Attempt DiskFileStore::replaceAtomically(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    // The in-place fallback is ours (saveFile), so that it can put the old content back.
    file.setDirectWriteFallback(false);
    if (!file.open(unbufferedWrite)) {
        QFile existing(path);
        if (QFileInfo(path).isFile()
            && existing.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            return {Outcome::NoTemporaryFile, file.errorString()};
        return {Outcome::Failed, file.errorString()};
    }
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written != bytes.size()) {
        const QString reason = shortWrite(file, written, bytes.size());
        file.cancelWriting();
        return {Outcome::Failed, reason};
    }
    if (!file.commit())
        return {Outcome::Failed, file.errorString()};
    return {};
}

QString DiskFileStore::overwriteInPlace(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(unbufferedWrite | QIODevice::Truncate))
        return file.errorString();
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written != bytes.size())
        return shortWrite(file, written, bytes.size());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return {};
}

std::optional<QByteArray> DiskFileStore::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

SaveResult saveFile(FileStore &store, const QString &path, QByteArrayView bytes)
{
    const FileStore::Attempt attempt = store.replaceAtomically(path, bytes);
    if (attempt.outcome != FileStore::Outcome::NoTemporaryFile)
        return {attempt.error, true};

    // A folder that takes no new files (a temporary file cannot be made) but whose file can be
    // written: write in place, keeping the old content to put back should the write fail.
    const std::optional<QByteArray> old = store.read(path);
    const QString error = store.overwriteInPlace(path, bytes);
    if (error.isEmpty())
        return {};
    const bool restored = old && store.overwriteInPlace(path, *old).isEmpty();
    return {error, restored};
}

} // namespace Korveth
