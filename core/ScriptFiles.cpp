#include "ScriptFiles.h"

#include "RegularFile.h"
#include "TextLines.h"

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
    QStringList files;
    for (const QString &name :
         folder.entryList(nameFilters, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (isRegularFile(folder.filePath(name)))
            files.append(name);
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
