#pragma once

#include <QtGlobal>

#include <utility>

namespace Korveth {

class ScriptEditor;
class ScriptModel;

// The model counts places as a line and a column in UTF-16 units; the editor counts bytes of
// UTF-8. These convert between the two, the model giving each line's text.
qsizetype
bytePosition(const ScriptEditor &editor, const ScriptModel &model, int line, qsizetype column);
// The line and column of a byte position; a line of -1 for a place outside the text.
std::pair<int, qsizetype>
placeOf(const ScriptEditor &editor, const ScriptModel &model, long position);

} // namespace Korveth
