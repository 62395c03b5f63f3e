#pragma once

#include <QWidget>

namespace Korveth {

// Shows a window, or brings it back, in front and with the keyboard: raised alone, a window
// behind the script would leave the next keys typing into the script.
inline void bringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace Korveth
