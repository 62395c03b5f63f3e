#include "ScriptFiles.h"

#include "RegularFile.h"
#include "TextLines.h"

#include <QFileInfo>

namespace Korveth {

bool isScriptFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(name).sliced(dot + 1);
    return extension == u"CMD" || extension == u"cmd" || extension == u"WIZ" || extension == u"wiz";
}

QStringList regularFilesIn(const QDir &folder, const QStringList &nameFilters)
{
    // Without QDir::System the listing has no devices, FIFOs or sockets of its own; only a link
    // may still lead to one, so only links are looked at again.
    QStringList files;
    for (const QFileInfo &entry :
         folder.entryInfoList(nameFilters, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (!entry.isSymLink() || isRegularFile(entry.filePath()))
            files.append(entry.fileName());
    }
    return files;
}

QString joinFolderAndName(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QStringList parseQuickNavEntries(QStringView text)
{
    QStringList entries;
    forEachEditorLine(text, [&](QStringView line, QStringView) {
        for (QChar c : line) {
            if (c != u' ' && c != u'\t') {
                entries.append(line.toString());
                return;
            }
        }
    });
    return entries;
}

} // namespace Korveth
