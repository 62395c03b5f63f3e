#include "Includes.h"

#include <QDir>
#include <QFileInfo>

namespace Korveth {

QString resolveInclude(const QString &folder, QStringView written)
{
    QString name = written.toString();
    name.replace(u'\\', u'/');
    if (name.size() > 1 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.sliced(1, name.size() - 2);
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const QDir dir(folder);
    for (const QString &candidate : {name, name + QStringLiteral(".cmd")}) {
        const QFileInfo exact(dir.filePath(candidate));
        if (exact.isFile())
            return exact.absoluteFilePath();
        const QFileInfo info(candidate);
        const QDir parent(dir.filePath(info.path()));
        for (const QString &entry : parent.entryList(QDir::Files)) {
            if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
                return parent.absoluteFilePath(entry);
        }
    }
    return {};
}

} // namespace Korveth
