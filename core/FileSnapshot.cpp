#include "FileSnapshot.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace Korveth {

FileSnapshot FileSnapshot::of(const QString &path, QByteArrayView bytes)
{
    return {QFileInfo(path).isFile(), bytes.size(), qHash(bytes, 0)};
}

FileSnapshot FileSnapshot::read(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {true, bytes.size(), qHash(QByteArrayView(bytes), 0)};
}

bool FileSnapshot::matchesDisk(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.isFile() || !exists)
        return info.isFile() == exists;
    return info.size() == size && sameContent(read(path));
}

} // namespace Korveth
