#pragma once

#include <QStringList>

namespace Korveth {

// Enabled menu items whose commands are still to be built. Every other enabled item of the menu
// table has a handler; a test holds both to that, so nothing falls through silently.
inline const QStringList commandsStillToCome{
    // The toolbar, status bar and side pane toggles.
    QStringLiteral("toolbar"),
    QStringLiteral("statusbar2"),
    QStringLiteral("quicknav"),
    // Help.
    QStringLiteral("genhelp"),
    QStringLiteral("online"),
    QStringLiteral("readme"),
    QStringLiteral("orlixsite"),
    QStringLiteral("about"),
};

} // namespace Korveth
