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

// The labels a script defines, in order, and where each stands. The names live in one buffer: a
// long script defines 80,000 labels, and a string each took more than the rest of the list. A copy
// shares both parts, as the list shown and the one kept for completion are the same; moving a
// label copies only the places.
class LabelList
{
public:
    qsizetype size() const { return m_labels.size(); }
    bool isEmpty() const { return m_labels.isEmpty(); }
    void reserve(qsizetype labels) { m_labels.reserve(labels); }
    void append(int line, int column, QStringView name);
    // Gives back the room growing left unused.
    void squeeze();

    int line(qsizetype i) const { return m_labels[i].line; }
    int column(qsizetype i) const { return m_labels[i].column; }
    QStringView name(qsizetype i) const
    {
        const Label &label = m_labels[i];
        return QStringView(m_names).sliced(label.nameStart, label.nameLength);
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
        return a.m_labels == b.m_labels && a.m_names == b.m_names;
    }

private:
    struct Label
    {
        int line = 0;
        int column = 0;
        std::uint32_t nameStart = 0; // in m_names
        std::uint32_t nameLength = 0;

        friend bool operator==(const Label &, const Label &) = default;
    };
    QList<Label> m_labels;
    QString m_names;
};

} // namespace Korveth
