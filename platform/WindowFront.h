#pragma once

#include <QWidget>

namespace Korveth {

// The kind of a window that belongs to another (the Script Runner, the Options, ...): a dialog to
// the window manager, which then keeps it in front of its owner (X11's WM_TRANSIENT_FOR is set
// for dialogs alone), with the buttons of a window of its own.
inline constexpr Qt::WindowFlags ownedWindow
    = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
      | Qt::WindowCloseButtonHint;

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
