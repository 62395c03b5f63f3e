#pragma once

#include <QStringList>

namespace Korveth {

// Commands of enabled menu items and toolbar buttons that are still to be built. Every other
// enabled item and button has a handler; a test holds both to that, so nothing falls through
// silently.
inline const QStringList commandsStillToCome{};

} // namespace Korveth
