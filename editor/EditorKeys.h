#pragma once

class QsciCommandSet;

namespace Korveth {

class EditorRegistry;

// Takes from an editor's own key map what the program gives to its menus: the keys of the
// built-in commands the registry lists as removed, and every key the registry reserves.
void takeProgramKeys(QsciCommandSet &commands, const EditorRegistry &registry);

} // namespace Korveth
