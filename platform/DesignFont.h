#pragma once

#include <QFont>

namespace Korveth {

// The font of the program's forms and the debugger's report: the design's Verdana where the
// system has it, at the size the user chose for the desktop (a person who needs larger text has
// set it there); the system's own font otherwise.
QFont designFont();

} // namespace Korveth
