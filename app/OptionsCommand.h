#pragma once

#include "StoredOptions.h"

#include <QPointer>

#include <functional>

class QSettings;
class QWidget;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentManager;
class ScriptDebugger;
class ScriptEditor;
class DocumentWindow;
struct EditorServices;

// View › Options...: shows the options window, applies each choice to every editor and the
// Script Debugger, and keeps the options in the user's settings (loaded when made).
class OptionsCommand
{
public:
    OptionsCommand(Dialogs &dialogs,
                   EditorServices &editors,
                   DocumentManager &documents,
                   ScriptDebugger &debugger,
                   QSettings *settings,
                   std::function<ScriptEditor *()> settingsEditor,
                   QWidget &owner);

    void registerIn(CommandRegistry &commands);
    void show();
    void apply(const StoredOptions &options);

private:
    Dialogs &m_dialogs;
    EditorServices &m_editors;
    DocumentManager &m_documents;
    ScriptDebugger &m_debugger;
    QSettings *m_settings;
    std::function<ScriptEditor *()> m_settingsEditor;
    QWidget &m_owner;
    StoredOptions m_options;
    QPointer<QWidget> m_window; // the Options window while it is open
};

} // namespace Korveth
