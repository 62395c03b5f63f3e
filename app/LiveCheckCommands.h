#pragma once

#include <QObject>
#include <QPointer>

class QLabel;
class QMenu;
class QStatusBar;

namespace Korveth {

class CommandRegistry;
class DocumentArea;
class DocumentManager;
class LiveCheckSettings;
class LiveDiagnostics;
class MainMenus;

// The commands over the active document's live script model: the status-bar panel that counts
// its mistakes, Next Mistake, Go to Label, and the View menu switch.
class LiveCheckCommands : public QObject
{
    Q_OBJECT

public:
    LiveCheckCommands(DocumentManager &documents,
                      DocumentArea &area,
                      LiveCheckSettings &settings,
                      MainMenus &menus,
                      QStatusBar &statusBar);

    void registerIn(CommandRegistry &commands);
    QLabel *panel() const { return m_panel; }

private:
    void follow(LiveDiagnostics *live);
    void show(int count);

    DocumentManager &m_documents;
    LiveCheckSettings &m_settings;
    MainMenus &m_menus;
    QLabel *m_panel;
    QPointer<LiveDiagnostics> m_followed;
    QMetaObject::Connection m_connection;
};

} // namespace Korveth
