#include "GlobalsFile.h"

#include "TextFile.h"
#include "TextLines.h"

namespace Korveth {

std::optional<QHash<QString, QString>> readGlobalsFile(const QString &path, QString *error)
{
    const ReadResult read = readTextFile(path);
    if (!read.error.isEmpty()) {
        *error = read.error;
        return std::nullopt;
    }
    QHash<QString, QString> globals;
    int number = 0;
    bool ok = true;
    forEachEditorLine(QByteArrayView(read.text.utf8), [&](QByteArrayView raw, QByteArrayView) {
        ++number;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!ok || line.isEmpty() || line.startsWith(u'#'))
            return;
        const qsizetype equals = line.indexOf(u'=');
        QString name = line.first(qMax<qsizetype>(equals, 0)).trimmed();
        if (name.startsWith(u'$'))
            name.remove(0, 1);
        if (equals <= 0 || name.isEmpty()) {
            *error = QStringLiteral("line %1 is not NAME=VALUE: %2").arg(number).arg(line);
            ok = false;
            return;
        }
        globals.insert(name, line.sliced(equals + 1).trimmed());
    });
    if (!ok)
        return std::nullopt;
    return globals;
}

} // namespace Korveth
