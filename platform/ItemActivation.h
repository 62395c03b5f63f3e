#pragma once

class QAbstractItemView;

namespace Korveth {

// Makes a list work by keyboard as the mouse works it: Space activates its current item, as Enter
// and a double-click do; and a list that takes the focus by keyboard has a current item (the
// first, when it had none) and tells assistive technology of it, so that a screen reader says
// where in the list the player is, not only the list's name.
void makeKeyboardList(QAbstractItemView &view);

} // namespace Korveth
