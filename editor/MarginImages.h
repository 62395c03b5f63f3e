#pragma once

#include <QPixmap>

namespace Korveth {

// The three 14 x 13 pictures of the editor's left margin, drawn in code; index 0 is shown for
// mask bit 1, index 1 for bit 2, index 2 for bit 4.
// 0: a dark-red dot with a white rim; 1: a navy box with a white rim ending in an arrow point;
// 2: a thin blue bar with a white rim pointing right.
QPixmap marginImage(int index);

inline constexpr int marginImageCount = 3;

} // namespace Korveth
