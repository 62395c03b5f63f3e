#pragma once

#include "LibraryReferences.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QLabel;
class QStatusBar;
class QsciScintilla;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentArea;
class DocumentManager;
class LinkedUndo;
class LiveCheckSettings;
class LiveDiagnostics;
class MainMenus;
struct ProgramServices;
class SidePane;
class DocumentWindow;

// The commands over the active document's live script model: the status-bar panel that counts
// its mistakes, Next Mistake, the label commands (Go to Label, Find References, Rename Label),
// the side pane's Labels page, and the View menu switch.
class LiveCheckCommands : public QObject
{
    Q_OBJECT

public:
    LiveCheckCommands(DocumentManager &documents,
                      DocumentArea &area,
                      const ProgramServices &services,
                      MainMenus &menus,
                      SidePane &sidePane,
                      QStatusBar &statusBar);

    void registerIn(CommandRegistry &commands);
    QLabel *panel() const { return m_panel; }

    void goToLabel();
    void findReferences();
    void renameLabel();

private:
    struct LabelSearch
    {
        QList<LabelPlace> places;
        bool taken = false; // the new name is another label's already
        QString cutShortAt; // the library root whose walk stopped early, if it did
    };
    LabelSearch
    labelPlaces(DocumentWindow &document, const QString &name, const QString &newName = {});
    void follow(DocumentWindow *document);
    void refreshed(int count);
    void showLabelsPage();
    // The followed script's labels on the Labels page, while the page is seen.
    void showLabels();
    void renameUndone(const QList<QsciScintilla *> &undone, const QList<QsciScintilla *> &kept);

    struct Parts
    {
        DocumentManager &documents;
        DocumentArea &area;
        LiveCheckSettings &settings;
        MainMenus &menus;
        SidePane &sidePane;
        Dialogs &dialogs;
    };
    Parts m_parts;
    QLabel *m_panel;
    QStatusBar &m_statusBar;
    QPointer<DocumentWindow> m_followed;
    LinkedUndo *m_renameUndo;       // the last rename across scripts, one step to undo
    std::optional<int> m_saidCount; // the followed script's count as last shown
    QList<QMetaObject::Connection> m_connections;
};

} // namespace Korveth
