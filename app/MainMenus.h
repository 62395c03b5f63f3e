#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace Korveth {

// The main window's menu tree, built from one table: every item is reachable by its short key
// ("saveas", "findnext"), which is how commands are routed.
class MainMenus
{
public:
    // Fills the menu bar; actions and submenus are children of the bar.
    explicit MainMenus(QMenuBar &bar);

    QAction *action(const QString &key) const { return m_actions.value(key); }
    QMenu *menu(const QString &key) const { return m_menus.value(key); }
    const QHash<QString, QAction *> &actions() const { return m_actions; }
    // The tab strip's hidden pop-up menu, "tabmenu".
    QMenu *tabMenu() const { return m_tabMenu; }

private:
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QMenu *m_tabMenu = nullptr;
};

} // namespace Korveth
