#pragma once

#include <functional>

namespace Korveth {

class CommandRegistry;
class ScriptEditor;

// The Edit menu on the active editor: undo, redo, the clipboard, delete and the selections.
namespace EditCommands {

void registerIn(CommandRegistry &commands, std::function<ScriptEditor *()> activeEditor);

} // namespace EditCommands

} // namespace Korveth
