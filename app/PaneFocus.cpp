#include "PaneFocus.h"
#include "MenuKeys.h"

#include "CommandRegistry.h"
#include "FileBrowser.h"
#include "LabelsPage.h"
#include "QuickNav.h"
#include "SidePane.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QTabWidget>

namespace Korveth {

PaneFocus::PaneFocus(SidePane &pane,
                     QAction &paneSwitch,
                     std::function<QWidget *()> activeEditor,
                     QObject *parent)
    : QObject(parent)
    , m_pane(pane)
    , m_paneSwitch(paneSwitch)
    , m_activeEditor(std::move(activeEditor))
{}

void PaneFocus::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::FilesPage, [this] { showPage(FilesPage); });
    commands.add(MenuKey::CommandsPage, [this] { showPage(CommandsPage); });
    commands.add(MenuKey::LabelsPage, [this] { showPage(LabelsPage); });
    // Two panes: forward and back lead to the same one.
    commands.add(MenuKey::NextPane, [this] { cycle(); });
    commands.add(MenuKey::PreviousPane, [this] { cycle(); });
}

// The list a person works in on each page; one that holds something, with an item current, so
// that a screen reader has something to say.
QWidget *PaneFocus::focusTarget(int page) const
{
    QAbstractItemView *list = nullptr;
    switch (page) {
    case FilesPage:
        list = m_pane.fileBrowser()->files()->count() > 0 ? m_pane.fileBrowser()->files()
                                                          : m_pane.fileBrowser()->folders();
        break;
    case CommandsPage:
        list = m_pane.quickNav();
        break;
    default:
        list = m_pane.labelsPage()->referenceList()->count() > 0
                   ? m_pane.labelsPage()->referenceList()
                   : m_pane.labelsPage()->labelList();
        break;
    }
    if (!list->currentIndex().isValid() && list->model()->rowCount() > 0)
        list->setCurrentIndex(list->model()->index(0, 0));
    return list;
}

void PaneFocus::showPage(int page)
{
    m_paneSwitch.setChecked(true);
    m_pane.show();
    m_pane.pages()->setCurrentIndex(page);
    focusTarget(page)->setFocus(Qt::ShortcutFocusReason);
}

void PaneFocus::cycle()
{
    const QWidget *focus = QApplication::focusWidget();
    const bool inPane = focus && m_pane.isAncestorOf(focus);
    QWidget *editor = m_activeEditor();
    if (!inPane && m_pane.isVisible()) {
        focusTarget(m_pane.pages()->currentIndex())->setFocus(Qt::TabFocusReason);
        return;
    }
    if (editor)
        editor->setFocus(Qt::TabFocusReason);
}

} // namespace Korveth
