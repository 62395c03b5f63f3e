#include "RecentFiles.h"

#include "TextFile.h"
#include "TextLines.h"

#include <QFile>

namespace Korveth {

bool RecentFiles::append(const QString &openedPath) const
{
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
    const QString text = QString::fromUtf8(read.text.utf8);
    for (QStringView line : splitEditorLines(text)) {
        if (!line.isEmpty())
            paths.append(line.toString());
    }
    return paths;
}

} // namespace Korveth
