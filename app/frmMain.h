#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QMdiArea;

namespace Korveth {

class Dialogs;
class DocumentManager;
class DocumentTabs;
class MainMenus;
class frmDoc;

// The main window: the multiple-document frame with its menus, tab strip and status bar. It
// routes every command by its menu key and runs start-up, drops and shut-down.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    // Steps of start-up that later parts of the program fill in; each may stay empty.
    struct StartUpHooks
    {
        std::function<void(frmMain &)> fillQuickNav;
        std::function<void(frmMain &)> layOutSidePane;
        std::function<void(frmMain &)> fillFileBrowser;
        std::function<void(frmMain &)> showStartPage;
    };

    explicit frmMain(Dialogs &dialogs, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs the start-up sequence; the command-line text is the arguments joined by single blanks.
    void startUp(const QString &commandLine, const StartUpHooks &hooks = {});

    // Carries out the command of a menu key; unknown keys do nothing.
    void runCommand(const QString &key);

    // Opens dropped files in order; stops at the first that cannot be opened.
    void openDroppedFiles(const QList<QUrl> &urls);

    DocumentManager &documents() const { return *m_documents; }
    DocumentTabs &tb() const { return *m_tabs; }
    QMdiArea &mdiArea() const { return *m_area; }
    MainMenus &menus() const { return *m_menus; }
    QLabel &statusPanel(int panel) const;
    frmDoc *settingsDocument() const { return m_settingsDocument; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildLayout();
    void connectCommands();
    void fillWindowList();
    void tile(Qt::Orientation orientation);

    Dialogs &m_dialogs;
    QMdiArea *m_area;
    DocumentTabs *m_tabs;
    std::unique_ptr<MainMenus> m_menus;
    DocumentManager *m_documents;
    QList<QLabel *> m_panels;
    frmDoc *m_settingsDocument = nullptr;
    QHash<QString, std::function<void()>> m_commands;
};

} // namespace Korveth
