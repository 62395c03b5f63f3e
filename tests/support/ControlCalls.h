#pragma once

#include <QtGlobal>

// What the editor control is asked in this program, the control's own binding included: for
// tests that show an operation's work does not grow with the length of the script. A test program
// that links ControlCalls.cpp routes every call through the tally first.
namespace ControlCalls {

struct Tally
{
    // Bytes the control walked to count characters (SCI_COUNTCHARACTERS spans).
    qint64 bytesCounted = 0;
    // Bytes moved to close the control's gap, as asking for the whole text as one block does.
    qint64 gapBytesMoved = 0;
    // Markers cleared from every line at once.
    int markersClearedEverywhere = 0;
};

void reset();
Tally tally();

} // namespace ControlCalls
