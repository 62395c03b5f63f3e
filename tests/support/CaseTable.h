#pragma once

#include <QFile>
#include <QList>
#include <QStringList>
#include <QTest>

// Rows of a test table kept as a data file beside the tests: a row a line, its fields split by
// tabs, the first field the row's name; lines starting with "#" are notes. In a field, \t \r \n
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

// Adds a data row for each line of the table; every row must have the given number of fields
// after its name.
inline void addRows(const QString &path, int fields)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the case table %s", qPrintable(path));
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'\t');
        if (parts.size() != fields + 1)
            qFatal("%s: not %d fields: %s", qPrintable(path), fields, qPrintable(line));
        QTestData &row = QTest::newRow(qPrintable(parts[0]));
        for (qsizetype i = 1; i < parts.size(); ++i)
            row << unescaped(parts[i]);
    }
}

} // namespace CaseTable
