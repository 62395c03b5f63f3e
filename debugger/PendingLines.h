#pragma once

#include <QList>
#include <QListWidget>
#include <QStringList>

namespace Korveth {

// Lines a run told since a list was last filled, each with the script line it leads to (-1:
// none). A wait over a long log tells thousands in one step: only the last `kept` are held, and
// the list is laid out once per fill, not once per line.
class PendingLines
{
public:
    static constexpr int kept = 5000;

    void add(QString text, int line = -1)
    {
        if (m_texts.size() >= 2 * kept) {
            m_texts.remove(0, kept);
            m_lines.remove(0, kept);
        }
        m_texts.append(std::move(text));
        m_lines.append(line);
    }
    void clear() { *this = {}; }
    // Appends the held lines to the list, which keeps its last `kept` lines, and empties itself.
    void flushInto(QListWidget &list)
    {
        if (m_texts.isEmpty())
            return;
        for (qsizetype i = qMax<qsizetype>(0, m_texts.size() - kept); i < m_texts.size(); ++i) {
            auto *item = new QListWidgetItem(m_texts[i], &list);
            item->setData(Qt::UserRole, m_lines[i]);
        }
        while (list.count() > kept)
            delete list.takeItem(0);
        list.scrollToBottom();
        clear();
    }

private:
    QStringList m_texts;
    QList<int> m_lines;
};

} // namespace Korveth
