#include "MainMenus.h"
#include "MenuKeys.h"

#include <QMenu>
#include <QMenuBar>

namespace Korveth {

namespace {

struct Item
{
    QLatin1StringView key;
    const char *caption; // nullptr: separator; "menu:" prefix opens a submenu at top level
    const char *shortcut;
};

// A row with caption starting "menu:" begins a top-level menu; the rows after it fill it.
constexpr Item menuTable[] = {
    {MenuKey::FileMenu, "menu:&File", ""},
    {MenuKey::New, "&New Script", "Ctrl+N"},
    {MenuKey::Open, "&Open Script", "Ctrl+O"},
    {MenuKey::Close, "&Close Script", ""},
    {QLatin1StringView("bar0"), nullptr, ""},
    {MenuKey::ScriptDebug, "Script &Debug", "Ctrl+D"},
    {MenuKey::ScriptRun, "Script R&unner", "F5"},
    {QLatin1StringView("grah"), nullptr, ""},
    {MenuKey::Save, "&Save Script", "Ctrl+S"},
    {MenuKey::SaveAs, "Save Script &As", ""},
    {MenuKey::SaveAll, "Save A&ll Scripts", ""},
    {QLatin1StringView("bar30"), nullptr, ""},
    {MenuKey::Print, "&Print", "Ctrl+P"},
    {MenuKey::PrintSetup, "Printer &Setup", ""},
    {QLatin1StringView("bar2"), nullptr, ""},
    {MenuKey::Properties, "&Script Properties", ""},
    {QLatin1StringView("bar3"), nullptr, ""},
    {MenuKey::Exit, "&Exit", ""},
    {MenuKey::EditMenu, "menu:&Edit", ""},
    {MenuKey::Undo, "&Undo", "Ctrl+Z"},
    {MenuKey::Redo, "&Redo", "Ctrl+Y"},
    {QLatin1StringView("bar7"), nullptr, ""},
    {MenuKey::Cut, "&Cut", "Ctrl+X"},
    {MenuKey::Copy, "Copy", "Ctrl+C"},
    {MenuKey::Paste, "&Paste", "Ctrl+V"},
    {MenuKey::Delete, "&Delete", ""},
    {QLatin1StringView("bar4"), nullptr, ""},
    {MenuKey::SelectAll, "&Select All", "Ctrl+A"},
    {MenuKey::SelectLine, "Select &Line", ""},
    {MenuKey::SearchMenu, "menu:&Search", ""},
    {MenuKey::Find, "&Find", "Ctrl+F"},
    {MenuKey::FindNext, "Find &Next", "F3"},
    {MenuKey::FindPrevious, "Find &Previous", "Ctrl+F3"},
    {MenuKey::Replace, "&Replace", "Ctrl+R"},
    {QLatin1StringView("bar8"), nullptr, ""},
    {MenuKey::GoToLine, "&Goto Line...", "Ctrl+G"},
    {MenuKey::NextMistake, "Next &Mistake", "Ctrl+E"},
    {MenuKey::GoToLabel, "Go to La&bel", "F12"},
    {MenuKey::FindReferences, "F&ind References", "Shift+F12"},
    {MenuKey::RenameLabel, "Rename Lab&el...", "F2"},
    {QLatin1StringView("bar9"), nullptr, ""},
    {MenuKey::WordCount, "&Word Count", ""},
    {MenuKey::CharacterCount, "&Character Count", ""},
    {MenuKey::LineCount, "&Line Count", ""},
    {QLatin1StringView("bar10"), nullptr, ""},
    {MenuKey::CountAll, "Count &All", "Ctrl+F5"},
    {MenuKey::ViewMenu, "menu:&View", ""},
    {MenuKey::EditorOptions, "&Editor Options", ""},
    {MenuKey::Generators, "Script &Generators...", ""},
    {QLatin1StringView("bar11"), nullptr, ""},
    {MenuKey::Toolbar, "&Toolbar", ""},
    {MenuKey::StatusBar, "&Status Bar", ""},
    {MenuKey::QuickNav, "&Quick Nav", ""},
    {MenuKey::FilesPage, "&Files Page", "Ctrl+1"},
    {MenuKey::CommandsPage, "Comman&ds Page", "Ctrl+2"},
    {MenuKey::LabelsPage, "&Labels Page", "Ctrl+3"},
    {MenuKey::NextPane, "Next &Pane", "F6"},
    {MenuKey::PreviousPane, "Pre&vious Pane", "Shift+F6"},
    {QLatin1StringView("bar20"), nullptr, ""},
    {MenuKey::HighlightLine, "Highlight Selected Line", ""},
    {MenuKey::MistakesAsYouType, "Show &Mistakes as You Type", ""},
    {QLatin1StringView("bar21"), nullptr, ""},
    {MenuKey::Options, "&Options...", ""},
    {MenuKey::WindowMenu, "menu:&Window", ""},
    {MenuKey::TileHorizontal, "Tile Horizontal", ""},
    {MenuKey::TileVertical, "Tile Vertical", ""},
    {MenuKey::Cascade, "&Cascade", ""},
    {QLatin1StringView("bar12"), nullptr, ""},
    {MenuKey::CloseAll, "Close All Windows", ""},
    {QLatin1StringView("bar13"), nullptr, ""},
    {MenuKey::WindowList, "menu:Window List", ""},
    {MenuKey::HelpMenu, "menu:&Help", ""},
    {MenuKey::GeneralHelp, "General Help", "F1"},
    {MenuKey::HelpOnline, "Help Online", "Ctrl+U"},
    {QLatin1StringView("bar22"), nullptr, ""},
    {MenuKey::Readme, "&Readme", "F8"},
    {QLatin1StringView("bar14"), nullptr, ""},
    {MenuKey::Website, "&Orlix Website", "Ctrl+F4"},
    {QLatin1StringView("bar15"), nullptr, ""},
    {MenuKey::About, "&About", "F4"},
};

constexpr Item tabMenuTable[] = {
    {MenuKey::CloseTab, "&Close", ""},
    {QLatin1StringView("bar40"), nullptr, ""},
    {QLatin1StringView("save2"), "&Save", ""},
    {QLatin1StringView("saveas2"), "Save &As", ""},
    {QLatin1StringView("bar41"), nullptr, ""},
    {QLatin1StringView("print2"), "&Print", ""},
};

} // namespace

MainMenus::MainMenus(QMenuBar &bar)
{
    QMenu *current = nullptr;
    for (const Item &item : menuTable) {
        const QString key = item.key;
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
    for (QLatin1StringView checkable : {MenuKey::Toolbar,
                                        MenuKey::StatusBar,
                                        MenuKey::QuickNav,
                                        MenuKey::HighlightLine,
                                        MenuKey::MistakesAsYouType})
        m_actions.value(checkable)->setCheckable(true);
    for (QLatin1StringView checked : {MenuKey::Toolbar, MenuKey::StatusBar, MenuKey::QuickNav})
        m_actions.value(checked)->setChecked(true);

    m_tabMenu = new QMenu(QStringLiteral("TabMenu"), &bar);
    m_tabMenu->setObjectName(QStringLiteral("tabmenu"));
    for (const Item &item : tabMenuTable) {
        const QString key = item.key;
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
