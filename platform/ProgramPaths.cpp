#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Korveth {

ProgramPaths::ProgramPaths(QString programFolder, bool installed)
    : m_folder(std::move(programFolder))
    , m_installed(installed)
{}

ProgramPaths ProgramPaths::ofRunningProgram()
{
    return forExecutableFolder(QCoreApplication::applicationDirPath());
}

ProgramPaths ProgramPaths::forExecutableFolder(const QString &executableFolder)
{
    const QDir beside(executableFolder);
    if (beside.exists(QStringLiteral("huntgen.dat")))
        return ProgramPaths(beside.absolutePath());
    const QString shared
        = beside.absoluteFilePath(QStringLiteral("../share/korveth-script-editor"));
    if (QFileInfo(shared).isDir())
        return ProgramPaths(QDir(shared).absolutePath(), true);
    return ProgramPaths(beside.absolutePath());
}

QString ProgramPaths::dataFile(const QString &relativeName) const
{
    return QDir(m_folder).filePath(relativeName);
}

} // namespace Korveth
