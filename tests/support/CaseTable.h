#pragma once

#include <QFile>
#include <QList>
#include <QStringList>
#include <QTest>

// Rows of a test table kept as a data file beside the tests: a row a line, its fields split by
// tabs, the first field the row's name, the first line the columns' names; lines starting with "#"
// are notes. In a field, \t \r \n
// \s (a space, for one at either end), \xHH (a control character) and \\ stand for themselves.
namespace CaseTable {

inline QString unescaped(QStringView field)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const QChar next = field[++i];
        if (next == u'x' && i + 2 < field.size()) {
            text += QChar(field.sliced(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
            continue;
        }
        text += next == u't'   ? u'\t'
                : next == u'r' ? u'\r'
                : next == u'n' ? u'\n'
                : next == u's' ? u' '
                               : next;
    }
    return text;
}

// Adds a text column for each field of the table's first line (after its "name") and a data row
// for each line after it; every row must have as many fields. The path is under the tests folder.
inline void load(const QString &path)
{
    QFile file(QStringLiteral(KORVETH_SOURCE_DIR "/tests/") + path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the case table %s", qPrintable(path));
    QStringList columns;
    static QList<QByteArray> names; // Qt Test keeps the pointers to the columns' names
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'\t');
        if (columns.isEmpty()) {
            columns = parts;
            for (const QString &column : parts.sliced(1))
                QTest::addColumn<QString>(names.emplace_back(column.toUtf8()).constData());
            continue;
        }
        if (parts.size() != columns.size())
            qFatal(
                "%s: not %d fields: %s", qPrintable(path), int(columns.size()), qPrintable(line));
        QTestData &row = QTest::newRow(qPrintable(parts[0]));
        for (qsizetype i = 1; i < parts.size(); ++i)
            row << unescaped(parts[i]);
    }
}

} // namespace CaseTable
