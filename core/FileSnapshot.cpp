#include "FileSnapshot.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace Korveth {

FileSnapshot FileSnapshot::of(const QString &path, QByteArrayView bytes)
{
    return {QFileInfo(path).isFile(), bytes.size(), qHash(bytes, 0)};
}

FileSnapshot FileSnapshot::onDisk(const QString &path, const FileSnapshot &known)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    FileSnapshot now{true, info.size(), 0};
    if (now.size != known.size)
        return now; // changed for certain; no need to read it
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return now; // unreadable: the hash of nothing tells it apart
    const QByteArray bytes = file.readAll();
    now.size = bytes.size();
    now.hash = qHash(QByteArrayView(bytes), 0);
    return now;
}

} // namespace Korveth
