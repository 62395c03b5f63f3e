#pragma once

#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace Korveth {

class CommandRegistry;
class SidePane;

// The keyboard's way around the main window: F6 and Shift+F6 move the focus between the active
// script and the side pane, and a key for each side-pane page shows that page with the focus in it.
class PaneFocus final : public QObject
{
    Q_OBJECT

public:
    enum Page { FilesPage = 0, CommandsPage = 1, LabelsPage = 2 };

    PaneFocus(SidePane &pane,
              QAction &paneSwitch,
              std::function<QWidget *()> activeEditor,
              QObject *parent = nullptr);

    // "filespage", "commandspage", "labelspage", "nextpane", "prevpane".
    void registerIn(CommandRegistry &commands);

    // Shows the side pane on the page and puts the focus in its list.
    void showPage(int page);
    // To the next pane, round: the script, then the side pane where it is shown.
    void cycle();

private:
    QWidget *focusTarget(int page) const;

    SidePane &m_pane;
    QAction &m_paneSwitch;
    std::function<QWidget *()> m_activeEditor;
};

} // namespace Korveth
