#pragma once

#include "FileStore.h"

#include <QFile>

// A file store that writes to disk until told to fail. File modes stop nothing for root, so tests
// of failing saves inject the failure here and bite whoever runs them.
class FailingFileStore final : public Korveth::FileStore
{
public:
    enum class Atomic { Works, Fails, NoTemporaryFile };
    Atomic atomic = Atomic::Works;
    // How many in-place writes fail next; a failing one leaves half the bytes behind, as a full
    // disk would.
    int inPlaceFailures = 0;
    int inPlaceWrites = 0;

    Attempt replaceAtomically(const QString &path, QByteArrayView bytes) override
    {
        switch (atomic) {
        case Atomic::Fails:
            return {Outcome::Failed, QStringLiteral("Injected failure")};
        case Atomic::NoTemporaryFile:
            return {Outcome::NoTemporaryFile, QStringLiteral("No room for a temporary file")};
        case Atomic::Works:
            break;
        }
        return m_disk.replaceAtomically(path, bytes);
    }

    QString overwriteInPlace(const QString &path, QByteArrayView bytes) override
    {
        ++inPlaceWrites;
        if (inPlaceFailures > 0) {
            --inPlaceFailures;
            m_disk.overwriteInPlace(path, bytes.first(bytes.size() / 2));
            return QStringLiteral("No space left on device");
        }
        return m_disk.overwriteInPlace(path, bytes);
    }

    std::optional<QByteArray> read(const QString &path) override { return m_disk.read(path); }

private:
    Korveth::DiskFileStore m_disk;
};
