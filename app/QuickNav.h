#pragma once

#include <QTreeWidget>

namespace Korveth {

// Quick Nav, the tree `tagsd`: ready-made script lines read once at start; a double-click hands
// an entry's text on for inserting.
class QuickNav final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit QuickNav(QWidget *parent = nullptr);

    // Reads the list (Temp/tags.dat); a missing or unreadable list leaves the tree empty.
    void fill(const QString &path);
    QStringList entries() const;

Q_SIGNALS:
    void entryChosen(const QString &text);
};

} // namespace Korveth
