#include "EditCommands.h"

#include "CommandRegistry.h"
#include "ScriptEditor.h"

namespace Korveth::EditCommands {

void registerIn(CommandRegistry &commands, std::function<ScriptEditor *()> activeEditor)
{
    auto onEditor = [&commands, activeEditor](const char *key, void (*operation)(ScriptEditor &)) {
        commands.add(QLatin1StringView(key), [activeEditor, operation] {
            if (ScriptEditor *editor = activeEditor())
                operation(*editor);
        });
    };
    // clang-format off
    onEditor("undo", [](ScriptEditor &e) { e.undo(); });
    onEditor("redo", [](ScriptEditor &e) { e.redo(); });
    onEditor("cut", [](ScriptEditor &e) { e.cut(); });
    onEditor("copy", [](ScriptEditor &e) { e.copy(); });
    onEditor("paste", [](ScriptEditor &e) { e.paste(); });
    onEditor("delete", [](ScriptEditor &e) { e.replaceSelectionWith(QString()); });
    onEditor("selectall", [](ScriptEditor &e) { e.runBuiltInCommand(ScriptEditor::SelectAll); });
    onEditor("selectline", [](ScriptEditor &e) { e.runBuiltInCommand(ScriptEditor::SelectLine); });
    // clang-format on
}

} // namespace Korveth::EditCommands
