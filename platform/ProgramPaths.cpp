#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace Korveth {

namespace {
QString &overriddenFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramPaths::programFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    return QCoreApplication::applicationDirPath();
}

QString ProgramPaths::dataFile(const QString &relativeName)
{
    return QDir(programFolder()).filePath(relativeName);
}

void ProgramPaths::overrideProgramFolder(const QString &folder)
{
    overriddenFolder() = folder;
}

} // namespace Korveth
