#include "RecentLinesModel.h"

namespace Korveth {

void RecentLinesModel::add(QString text, int scriptLine)
{
    // A pane holds thousands of lines: a long one is shown shortened, with its length said.
    if (text.size() > longestShown)
        text = QStringLiteral("%1... (%2 characters)")
                   .arg(text.first(longestShown))
                   .arg(text.size());
    m_waiting.push_back({std::move(text), scriptLine});
    // A line that could never be shown is let go at once: memory stays bounded.
    if (m_waiting.size() > std::size_t(kept))
        m_waiting.pop_front();
}

void RecentLinesModel::publish()
{
    if (m_waiting.empty())
        return;
    const int stays = kept - int(m_waiting.size()); // of the lines shown now
    if (stays <= 0 || m_shown.empty()) {
        beginResetModel();
        m_shown = std::move(m_waiting);
        m_waiting.clear();
        endResetModel();
        return;
    }
    if (const int goes = int(m_shown.size()) - stays; goes > 0) {
        beginRemoveRows({}, 0, goes - 1);
        m_shown.erase(m_shown.begin(), m_shown.begin() + goes);
        endRemoveRows();
    }
    beginInsertRows({}, int(m_shown.size()), int(m_shown.size() + m_waiting.size()) - 1);
    std::move(m_waiting.begin(), m_waiting.end(), std::back_inserter(m_shown));
    m_waiting.clear();
    endInsertRows();
}

void RecentLinesModel::clear()
{
    beginResetModel();
    m_shown.clear();
    m_waiting.clear();
    endResetModel();
}

int RecentLinesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant RecentLinesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_shown.size()))
        return {};
    const Line &line = m_shown[std::size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return line.text;
    if (role == ScriptLineRole)
        return line.scriptLine;
    return {};
}

} // namespace Korveth
