#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

namespace Korveth {

// The script an include line names, looked for beside the including script (its folder): as
// written, or with ".cmd"; letter case is ignored when the exact name is not there. Backslashes
// separate folders too, and quotes around the name are dropped. Empty when there is no such
// file, or no folder to look in.
QString resolveInclude(const QString &folder, QStringView written);

// A label that an included script defines: its name as written, the file and the line.
struct IncludedLabel
{
    QString name;
    QString path;
    int line = 0;
    qsizetype column = 0; // UTF-16 units
};

// Include lines followed to the labels they bring in. Each include is looked for, and each file
// read, once for the life of the object.
class IncludeLabels
{
public:
    // The file an include line names, or empty (resolveInclude, remembered).
    QString resolved(const QString &folder, QStringView written);

    // The labels of the script an include line names and, recursively, of the scripts it
    // includes; a cycle ends the walk. Empty when the file is not found.
    const QList<IncludedLabel> &labelsOf(const QString &folder, QStringView written);

private:
    void
    collect(const QString &path, QSet<QString> &visited, QList<IncludedLabel> &labels, int depth);

    QHash<QString, QString> m_resolved;            // folder and include line: the file, or empty
    QHash<QString, QList<IncludedLabel>> m_labels; // folder and include line: its labels
};

} // namespace Korveth
