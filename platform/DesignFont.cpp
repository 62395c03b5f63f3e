#include "DesignFont.h"

#include <QApplication>
#include <QFontDatabase>

namespace Korveth {

QFont designFont()
{
    QFont font = QApplication::font();
    const QString family = QStringLiteral("Verdana");
    if (QFontDatabase::hasFamily(family))
        font.setFamily(family);
    return font;
}

} // namespace Korveth
