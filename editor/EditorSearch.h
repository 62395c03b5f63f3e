#pragma once

#include "SearchSettings.h"

namespace Korveth {

class ScriptEditor;

// Find and replace in one editor. Searches wrap around the text.
namespace EditorSearch {

// Selects the next match after the selection (or the previous one before it); false when the
// text holds none.
bool findText(ScriptEditor &editor, const SearchSettings &search, bool forward);
// Replaces the selection when it is a match, then finds the next one; false when none is left.
bool replaceSelection(ScriptEditor &editor, const SearchSettings &search);
// Replaces every match as one undoable step; the replacement is never searched again, so a
// replacement that contains the searched text cannot loop. Returns how many were replaced.
int replaceAll(ScriptEditor &editor, const SearchSettings &search);

} // namespace EditorSearch

} // namespace Korveth
