#pragma once

#include <QRect>
#include <QWidget>

namespace Korveth {

// Window lengths in the design are twips (1/1440 inch); they become pixels at the screen's real
// resolution.
inline int twipsToPixelsX(const QWidget &widget, int twips)
{
    return qRound(twips * widget.logicalDpiX() / 1440.0);
}

inline int twipsToPixelsY(const QWidget &widget, int twips)
{
    return qRound(twips * widget.logicalDpiY() / 1440.0);
}

inline QRect twipsRect(const QWidget &widget, int left, int top, int width, int height)
{
    return {twipsToPixelsX(widget, left),
            twipsToPixelsY(widget, top),
            twipsToPixelsX(widget, width),
            twipsToPixelsY(widget, height)};
}

} // namespace Korveth
