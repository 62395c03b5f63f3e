#include "FileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Korveth {

FileStore::Attempt DiskFileStore::replaceAtomically(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    // The in-place fallback is ours (saveFile), so that it can put the old content back.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        QFile existing(path);
        if (QFileInfo(path).isFile()
            && existing.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            return {Outcome::NoTemporaryFile, file.errorString()};
        return {Outcome::Failed, file.errorString()};
    }
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString reason = file.errorString();
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return file.errorString();
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
