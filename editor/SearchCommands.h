#pragma once

#include <functional>

class QWidget;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class FindReplaceDialog;
class ScriptEditor;
struct SearchSettings;

// The Search menu on the active editor: find, find next and previous, replace and go to line.
// It owns the main window's one find and replace dialog.
class SearchCommands
{
public:
    using ActiveEditor = std::function<ScriptEditor *()>;

    SearchCommands(SearchSettings &settings,
                   Dialogs &dialogs,
                   QWidget &window,
                   ActiveEditor active);

    void registerIn(CommandRegistry &commands);

    void find(bool replace);
    // Repeats the last search; with nothing searched yet it shows the Find dialog.
    void findAgain(bool forward);
    // Asks for a line number and puts the caret there.
    void goToLine();

    // The dialog follows the active editor.
    void follow(ScriptEditor *editor);
    FindReplaceDialog &dialog() const { return *m_dialog; }

private:
    SearchSettings &m_settings;
    Dialogs &m_dialogs;
    ActiveEditor m_active;
    FindReplaceDialog *m_dialog; // a child of the window
};

} // namespace Korveth
