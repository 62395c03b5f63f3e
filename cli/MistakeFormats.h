#pragma once

#include "Verdict.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace Korveth {

class Output;

// One mistake at its place: the line from 1, the first column from 1 and the column after the
// last, counted in UTF-16 units as the language server counts them.
struct MistakePlace
{
    qsizetype line = 0;
    qsizetype column = 0;
    qsizetype endColumn = 0;
    VerdictKind kind = VerdictKind::CommandNotRecognised;
};

// A file as the system names it (bytes, which need not be valid UTF-8) and as it is shown.
struct FileName
{
    QByteArray bytes;
    QString shown;
};

// Writes the mistakes of every file checked, in one of the machine-readable formats.
class MistakeWriter
{
public:
    virtual ~MistakeWriter() = default;
    virtual void mistake(const FileName &file, const MistakePlace &place) = 0;
    // A file that could not be read, and why: said on standard error too; a format that can
    // hold it keeps it beside the mistakes.
    virtual void unreadable(const FileName &file, const QString &reason)
    {
        Q_UNUSED(file);
        Q_UNUSED(reason);
    }
    // After the last file.
    virtual void finish() {}
};

enum class MistakeFormat { Gcc, Json, Sarif };

std::unique_ptr<MistakeWriter> makeMistakeWriter(MistakeFormat format, Output &out);

} // namespace Korveth
