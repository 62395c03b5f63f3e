#include "MainMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace Korveth {

namespace {

struct Item
{
    const char *key;
    const char *caption; // nullptr: separator; "menu:" prefix opens a submenu at top level
    const char *shortcut;
};

// A row with caption starting "menu:" begins a top-level menu; the rows after it fill it.
constexpr Item menuTable[] = {
    {"file", "menu:&File", ""},
    {"new", "&New Script", "Ctrl+N"},
    {"open", "&Open Script", "Ctrl+O"},
    {"close", "&Close Script", ""},
    {"bar0", nullptr, ""},
    {"sdebug", "Script &Debug", "Ctrl+D"},
    {"grah", nullptr, ""},
    {"save", "&Save Script", "Ctrl+S"},
    {"saveas", "Save Script &As", ""},
    {"saveall", "Save A&ll Scripts", ""},
    {"bar30", nullptr, ""},
    {"print", "&Print", "Ctrl+P"},
    {"printsetup", "Printer &Setup", ""},
    {"bar2", nullptr, ""},
    {"properties", "&Script Properties", ""},
    {"bar3", nullptr, ""},
    {"exit", "&Exit", ""},
    {"edit", "menu:&Edit", ""},
    {"undo", "&Undo", "Ctrl+Z"},
    {"redo", "&Redo", "Ctrl+Y"},
    {"bar7", nullptr, ""},
    {"cut", "&Cut", "Ctrl+X"},
    {"copy", "Copy", "Ctrl+C"},
    {"paste", "&Paste", "Ctrl+V"},
    {"delete", "&Delete", ""},
    {"bar4", nullptr, ""},
    {"selectall", "&Select All", "Ctrl+A"},
    {"selectline", "Select &Line", ""},
    {"search", "menu:&Search", ""},
    {"find", "&Find", "Ctrl+F"},
    {"findnext", "Find &Next", "F3"},
    {"findprev", "Find &Previous", "Ctrl+F3"},
    {"replaceit", "&Replace", "Ctrl+R"},
    {"bar8", nullptr, ""},
    {"goto", "&Goto Line...", "Ctrl+G"},
    {"nextmistake", "Next &Mistake", "Ctrl+E"},
    {"golabel", "Go to La&bel", "F12"},
    {"findrefs", "Find Re&ferences", "Shift+F12"},
    {"renamelabel", "Re&name Label...", "F2"},
    {"bar9", nullptr, ""},
    {"word", "&Word Count", ""},
    {"charcount", "&Character Count", ""},
    {"linecount", "&Line Count", ""},
    {"bar10", nullptr, ""},
    {"countall", "Count &All", "Ctrl+F5"},
    {"view", "menu:&View", ""},
    {"editor", "&Editor Options", ""},
    {"gener", "Script &Generators...", ""},
    {"bar11", nullptr, ""},
    {"toolbar", "&Toolbar", ""},
    {"statusbar2", "&Status Bar", ""},
    {"quicknav", "&Quick Nav", ""},
    {"filespage", "&Files Page", "Ctrl+1"},
    {"commandspage", "Comman&ds Page", "Ctrl+2"},
    {"labelspage", "&Labels Page", "Ctrl+3"},
    {"nextpane", "Next &Pane", "F6"},
    {"prevpane", "Pre&vious Pane", "Shift+F6"},
    {"bar20", nullptr, ""},
    {"hlline", "Highlight Selected Line", ""},
    {"mistakes", "Show &Mistakes as You Type", ""},
    {"bar21", nullptr, ""},
    {"options", "&Options...", ""},
    {"window", "menu:&Window", ""},
    {"tilehor", "Tile Horizontal", ""},
    {"tilever", "Tile Vertical", ""},
    {"cascade", "&Cascade", ""},
    {"bar12", nullptr, ""},
    {"closeall", "Close All Windows", ""},
    {"bar13", nullptr, ""},
    {"wnlist", "menu:Window List", ""},
    {"help", "menu:&Help", ""},
    {"genhelp", "General Help", "F1"},
    {"online", "Help Online", "Ctrl+U"},
    {"bar22", nullptr, ""},
    {"readme", "&Readme", "F8"},
    {"bar14", nullptr, ""},
    {"orlixsite", "&Orlix Website", "Ctrl+F4"},
    {"bar15", nullptr, ""},
    {"about", "&About", "F4"},
};

constexpr Item tabMenuTable[] = {
    {"close2", "&Close", ""},
    {"bar40", nullptr, ""},
    {"save2", "&Save", ""},
    {"saveas2", "Save &As", ""},
    {"bar41", nullptr, ""},
    {"print2", "&Print", ""},
};

} // namespace

MainMenus::MainMenus(QMenuBar &bar)
{
    QMenu *current = nullptr;
    for (const Item &item : menuTable) {
        const QString key = QLatin1StringView(item.key);
        if (!item.caption) {
            if (current)
                current->addSeparator()->setObjectName(key);
            continue;
        }
        const QString caption = QString::fromUtf8(item.caption);
        if (caption.startsWith(QStringLiteral("menu:"))) {
            // "wnlist" is a submenu of Window; the others are top-level menus.
            QMenu *menu = key == u"wnlist" && current ? current->addMenu(caption.mid(5))
                                                      : bar.addMenu(caption.mid(5));
            menu->setObjectName(key);
            m_menus.insert(key, menu);
            if (key != u"wnlist")
                current = menu;
            continue;
        }
        QAction *action = current->addAction(caption);
        action->setObjectName(key);
        if (*item.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
        m_actions.insert(key, action);
    }
    for (const char *checkable : {"toolbar", "statusbar2", "quicknav", "hlline", "mistakes"})
        m_actions.value(QLatin1StringView(checkable))->setCheckable(true);
    for (const char *checked : {"toolbar", "statusbar2", "quicknav"})
        m_actions.value(QLatin1StringView(checked))->setChecked(true);

    m_tabMenu = new QMenu(QStringLiteral("TabMenu"), &bar);
    m_tabMenu->setObjectName(QStringLiteral("tabmenu"));
    for (const Item &item : tabMenuTable) {
        const QString key = QLatin1StringView(item.key);
        if (!item.caption) {
            m_tabMenu->addSeparator()->setObjectName(key);
            continue;
        }
        QAction *action = m_tabMenu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(key);
        m_actions.insert(key, action);
    }
}

} // namespace Korveth
