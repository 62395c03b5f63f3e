#pragma once

#include <QIcon>
#include <QString>

namespace Korveth {

// The toolbar's pictures, drawn in code as shapes, so they are crisp at any size and scaling.
// An unknown key gives an empty icon.
QIcon toolbarIcon(const QString &key);

} // namespace Korveth
