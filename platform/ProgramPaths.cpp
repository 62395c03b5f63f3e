#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace Korveth {

ProgramPaths::ProgramPaths(QString programFolder)
    : m_folder(std::move(programFolder))
{}

ProgramPaths ProgramPaths::ofRunningProgram()
{
    return ProgramPaths(QCoreApplication::applicationDirPath());
}

QString ProgramPaths::dataFile(const QString &relativeName) const
{
    return QDir(m_folder).filePath(relativeName);
}

} // namespace Korveth
