#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace Korveth {

// A label defined on a line.
struct LabelDefinitionAt
{
    int line = 0;
    int column = 0;
    QString name; // as written

    friend bool operator==(const LabelDefinitionAt &, const LabelDefinitionAt &) = default;
};

// The labels a script defines, in order, and where each stands. A long script defines 80,000
// labels, and the list is shared: the list shown and the one kept for completion are the same.
// Lines typed above labels move them after every Enter, so the part a move writes is only the
// line of each (4 bytes a label): the names, and where each starts, are made once and stay shared;
// the columns are copied only when a label's column moved.
class LabelList
{
public:
    qsizetype size() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    // Room for that many labels whose names have that many characters in all.
    void reserve(qsizetype labels, qsizetype characters);
    void append(int line, int column, QStringView name);

    int line(qsizetype i) const { return m_lines[i]; }
    int column(qsizetype i) const { return m_columns[i]; }
    QStringView name(qsizetype i) const
    {
        const qsizetype start = m_nameStarts[i];
        const qsizetype end = i + 1 < size() ? qsizetype(m_nameStarts[i + 1]) : m_names.size();
        return QStringView(m_names).sliced(start, end - start);
    }
    LabelDefinitionAt at(qsizetype i) const { return {line(i), column(i), name(i).toString()}; }
    // Moves a label to where it now stands.
    void place(qsizetype i, int line, int column);

    // Read one by one, as LabelDefinitionAt.
    class Iterator
    {
    public:
        Iterator(const LabelList &list, qsizetype i)
            : m_list(&list)
            , m_i(i)
        {}
        LabelDefinitionAt operator*() const { return m_list->at(m_i); }
        Iterator &operator++() { return ++m_i, *this; }
        bool operator!=(const Iterator &other) const { return m_i != other.m_i; }

    private:
        const LabelList *m_list;
        qsizetype m_i;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

    friend bool operator==(const LabelList &a, const LabelList &b)
    {
        return a.m_lines == b.m_lines && a.m_columns == b.m_columns
               && a.m_nameStarts == b.m_nameStarts && a.m_names == b.m_names;
    }

private:
    QList<int> m_lines;
    QList<int> m_columns;
    QList<std::uint32_t> m_nameStarts; // in m_names, each name running to the next one's start
    QString m_names;
};

} // namespace Korveth
