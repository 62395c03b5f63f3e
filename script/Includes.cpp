#include "Includes.h"

#include "ModernWords.h"
#include "RegularFile.h"
#include "ScriptLanguage.h"
#include "TextFile.h"
#include "TextLines.h"

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
        // Only regular files: a link to a device or a FIFO would never end or never answer.
        const QFileInfo exact(dir.filePath(candidate));
        if (isRegularFile(exact.filePath()))
            return exact.absoluteFilePath();
        const QFileInfo info(candidate);
        const QDir parent(dir.filePath(info.path()));
        for (const QString &entry : parent.entryList(QDir::Files)) {
            if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0
                && isRegularFile(parent.filePath(entry)))
                return parent.absoluteFilePath(entry);
        }
    }
    return {};
}

} // namespace Korveth

namespace Korveth {

namespace {

QString keyOf(const QString &folder, QStringView written)
{
    return folder + u'\n' + written.toString();
}

} // namespace

QString IncludeLabels::resolved(const QString &folder, QStringView written)
{
    const QString key = keyOf(folder, written);
    auto known = m_resolved.constFind(key);
    if (known == m_resolved.constEnd())
        known = m_resolved.insert(key, resolveInclude(folder, written));
    return *known;
}

const QList<IncludedLabel> &IncludeLabels::labelsOf(const QString &folder, QStringView written)
{
    const QString key = keyOf(folder, written);
    auto known = m_labels.constFind(key);
    if (known != m_labels.constEnd())
        return *known;
    QList<IncludedLabel> labels;
    const QString path = resolved(folder, written);
    if (!path.isEmpty()) {
        QSet<QString> visited;
        collect(path, visited, labels, 1);
    }
    return *m_labels.insert(key, labels);
}

void IncludeLabels::collect(const QString &path,
                            QSet<QString> &visited,
                            QList<IncludedLabel> &labels,
                            int depth)
{
    if (depth > 64 || visited.contains(path))
        return;
    visited.insert(path);
    const ReadResult read = readTextFile(path);
    if (!read.error.isEmpty())
        return;
    const QString folder = QFileInfo(path).path();
    LineDecoder decoder;
    int lineNumber = -1;
    forEachEditorLine(QByteArrayView(read.text.utf8), [&](QByteArrayView raw, QByteArrayView) {
        ++lineNumber;
        const QStringView whole = decoder.decode(raw);
        const QStringView line = trimmedView(whole);
        const QStringView label = labelDefinedBy(line);
        if (!label.isEmpty()) {
            labels.append({label.toString(), path, lineNumber, leadingBlankCount(whole)});
            return;
        }
        const auto [word, rest] = firstWordAndRest(line);
        if (!equalsWord(word, QLatin1StringView("include")))
            return;
        const QString included = resolved(folder, rest);
        if (!included.isEmpty())
            collect(included, visited, labels, depth + 1);
    });
}

} // namespace Korveth
