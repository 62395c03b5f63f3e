#pragma once

#include "CommandRegistry.h"
#include "ProgramServices.h"
#include "RecentFiles.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QSplitter;

namespace Korveth {

class CountCommands;
class DiskChangeMonitor;
class DocumentArea;
class DocumentManager;
class DocumentTabs;
class FileCommands;
class HelpCommands;
class LiveCheckCommands;
class HelpMode;
class SidePane;
class StatusPanel;
class KeyStatePanels;
class MainMenus;
class MainToolbar;
class OptionsCommand;
class PaneFocus;
class ScriptPrinter;
class ScriptDebugger;
class ScriptRunnerCommand;
class ScriptEditor;
class SearchCommands;
class DocumentWindow;
class HuntingGeneratorWindow;

// The main window: the multiple-document frame with its menus, tab strip and status bar. It runs
// start-up, drops and shut-down, and routes every menu key to the handler a part registered.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // Steps of start-up that later parts of the program fill in; each may stay empty.
    struct StartUpHooks
    {
        std::function<void(MainWindow &)> fillQuickNav;
        std::function<void(MainWindow &)> layOutSidePane;
        std::function<void(MainWindow &)> fillFileBrowser;
        std::function<void(MainWindow &)> showStartPage;
    };

    explicit MainWindow(const ProgramServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up sequence. Each argument is a file to open, in order; a path with blanks
    // that arrived cut into several arguments still opens as one file.
    void startUp(const QStringList &arguments, const StartUpHooks &hooks = {});

    // Shows the start page modally on the given tab, then the generator chosen there.
    void showStartPage(int tab);
    // Shows a new hunting generator, modeless.
    HuntingGeneratorWindow *showHuntingGenerator();

    // Carries out the command of a menu key; keys no part serves do nothing.
    void runCommand(const QString &key);
    const CommandRegistry &commands() const { return m_commands; }

    // Opens dropped files in order; each that cannot be opened is reported and the rest open.
    void openDroppedFiles(const QList<QUrl> &urls);

    DocumentManager &documents() const { return *m_documents; }
    DocumentArea &area() const { return *m_area; }
    DocumentTabs &tb() const { return *m_tabs; }
    QMdiArea &mdiArea() const { return *m_mdiArea; }
    MainMenus &menus() const { return *m_menus; }
    SearchCommands &search() const { return *m_search; }
    DiskChangeMonitor &diskChanges() const { return *m_diskChanges; }
    ScriptDebugger &debugger() const { return *m_debugger; }
    ScriptRunnerCommand &scriptRunner() const { return *m_runner; }
    MainToolbar &tBar() const { return *m_toolbar; }
    HelpMode &helpMode() const { return *m_help; }
    SidePane &sidePane() const { return *m_sidePane; }
    QSplitter &splitter() const { return *m_splitter; }
    KeyStatePanels &keyStates() const { return *m_keyStates; }
    const RecentFiles &recentFiles() const { return m_recent; }
    QLabel &statusPanel(int panel) const;
    ScriptEditor *settingsEditor() const { return m_settingsEditor; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    void registerCommands();
    void connectMenus();
    void fillWindowList();
    void takeKeysFromTheEditor();
    void openCommandLine(const QStringList &arguments);
    void insertQuickNavEntry(const QString &text);
    QString expectedTitle() const;

    ProgramServices m_services;
    RecentFiles m_recent;
    CommandRegistry m_commands;
    QMdiArea *m_mdiArea;
    DocumentTabs *m_tabs;
    std::unique_ptr<MainMenus> m_menus;
    DocumentArea *m_area;
    DocumentManager *m_documents;
    std::unique_ptr<ScriptPrinter> m_printer;
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<SearchCommands> m_search;
    std::unique_ptr<CountCommands> m_counts;
    DiskChangeMonitor *m_diskChanges;
    ScriptDebugger *m_debugger;
    ScriptRunnerCommand *m_runner;
    MainToolbar *m_toolbar;
    HelpMode *m_help;
    std::unique_ptr<HelpCommands> m_helpCommands;
    LiveCheckCommands *m_liveCheck = nullptr;
    SidePane *m_sidePane;
    PaneFocus *m_paneFocus = nullptr;
    QSplitter *m_splitter = nullptr;
    std::unique_ptr<OptionsCommand> m_optionsCommand;
    KeyStatePanels *m_keyStates = nullptr;
    QList<QLabel *> m_panels;
    StatusPanel *m_position = nullptr; // `panel2`: the caret's place, new on every key
    ScriptEditor *m_settingsEditor = nullptr;
};

} // namespace Korveth
