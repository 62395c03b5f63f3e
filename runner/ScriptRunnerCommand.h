#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentArea;
class DocumentManager;
class LiveCheckSettings;
class ScriptRunnerWindow;
class DocumentWindow;

// Opens the Script Runner on the active document and hands it that document's F8 and F10.
class ScriptRunnerCommand final : public QObject
{
    Q_OBJECT

public:
    ScriptRunnerCommand(DocumentManager &documents,
                        DocumentArea &area,
                        Dialogs &dialogs,
                        LiveCheckSettings &includes,
                        QWidget &owner,
                        QObject *parent = nullptr);

    void registerIn(CommandRegistry &commands);
    // Shows the window on the active document; with no document open it does nothing.
    void open();
    ScriptRunnerWindow *window() const;

private:
    void showScriptLine(int line);

    DocumentManager &m_documents;
    DocumentArea &m_area;
    Dialogs &m_dialogs;
    LiveCheckSettings &m_includes;
    QWidget &m_owner;
    QPointer<ScriptRunnerWindow> m_window;
    QPointer<DocumentWindow> m_document;
};

} // namespace Korveth
