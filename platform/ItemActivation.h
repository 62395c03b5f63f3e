#pragma once

class QAbstractItemView;

namespace Korveth {

// Space activates a list's current item, as Enter and a double-click do: the keyboard's way to
// every list the mouse can use.
void activateOnSpace(QAbstractItemView &view);

} // namespace Korveth
