#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include <deque>

namespace Korveth {

// The last `kept` lines a run told (each at most longestShown characters), each with the script
// line it leads to (-1: none), for a list view. A wait over a long log tells thousands of lines in
// one step: they are taken in without a word to the view, which hears of them once per publish(),
// as one insertion and one removal, whatever their number.
class RecentLinesModel final : public QAbstractListModel
{
public:
    static constexpr int kept = 5000;
    static constexpr qsizetype longestShown = 1000; // characters of a line; the rest is told

    static constexpr int ScriptLineRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    void add(QString text, int scriptLine = -1);
    // Shows what was added since the last publish.
    void publish();
    void clear();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Line
    {
        QString text;
        int scriptLine = -1;
    };
    std::deque<Line> m_shown;
    std::deque<Line> m_waiting; // not yet shown
};

} // namespace Korveth
