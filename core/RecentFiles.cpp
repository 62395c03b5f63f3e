#include "RecentFiles.h"

#include "TextFile.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Korveth {

QString RecentFiles::locate(const QString &programFolder, const QString &userFolder)
{
    const QString inProgramFolder = QDir(programFolder).filePath(QStringLiteral("recent.dat"));
    const QFileInfo list(inProgramFolder);
    const bool writable = list.exists() ? list.isWritable() : QFileInfo(programFolder).isWritable();
    return writable ? inProgramFolder : QDir(userFolder).filePath(QStringLiteral("recent.dat"));
}

bool RecentFiles::append(const QString &openedPath) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = openedPath.toUtf8() + "\r\n";
    return file.write(line) == line.size() && file.flush();
}

QStringList RecentFiles::read() const
{
    const ReadResult read = readTextFile(m_path);
    QStringList paths;
    if (!read.error.isEmpty())
        return paths;
    // Every line is an entry, empty ones too; the line end closing the file starts none.
    const QString text = QString::fromUtf8(read.text.utf8);
    forEachEditorLine(QStringView(text), [&](QStringView line, QStringView end) {
        if (!end.isEmpty() || !line.isEmpty())
            paths.append(line.toString());
    });
    return paths;
}

} // namespace Korveth
