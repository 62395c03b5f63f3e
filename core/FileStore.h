#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace Korveth {

// Where the bytes of a save go. DiskFileStore writes real files; tests put in a store that fails
// on demand, which bites for root too, whom file modes do not stop.
class FileStore
{
public:
    enum class Outcome { Written, NoTemporaryFile, Failed };
    struct Attempt
    {
        Outcome outcome = Outcome::Written;
        QString error; // the reason, unless Written
    };

    virtual ~FileStore() = default;

    // Replaces the file through a temporary file beside it: the whole new content or the old file
    // as it was. NoTemporaryFile when no temporary file can be made there but the file itself can
    // be written.
    virtual Attempt replaceAtomically(const QString &path, QByteArrayView bytes) = 0;
    // Overwrites the file where it is; the reason of a failure, or an empty string.
    virtual QString overwriteInPlace(const QString &path, QByteArrayView bytes) = 0;
    // The file's content, or nothing when it cannot be read.
    virtual std::optional<QByteArray> read(const QString &path) = 0;
};

class DiskFileStore final : public FileStore
{
public:
    Attempt replaceAtomically(const QString &path, QByteArrayView bytes) override;
    QString overwriteInPlace(const QString &path, QByteArrayView bytes) override;
    std::optional<QByteArray> read(const QString &path) override;
};

struct SaveResult
{
    QString error;              // empty on success
    bool oldContentKept = true; // false only when an in-place write failed and could not be undone
};

// Saves atomically where a temporary file can be made beside the file; otherwise writes the file
// in place and, should that fail, writes the old content back.
SaveResult saveFile(FileStore &store, const QString &path, QByteArrayView bytes);

} // namespace Korveth
