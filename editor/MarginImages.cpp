#include "MarginImages.h"

#include <QPainter>

namespace Korveth {

namespace {

// A box from the left edge whose right end narrows to a point at the right edge.
QPolygonF rightArrow(qreal top, qreal bottom, qreal shaftEnd)
{
    const qreal middle = (top + bottom) / 2;
    return QPolygonF({{1, top}, {shaftEnd, top}, {13, middle}, {shaftEnd, bottom}, {1, bottom}});
}

} // namespace

QPixmap marginImage(int index)
{
    QPixmap pixmap(14, 13);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1.5));
    switch (index) {
    case 0:
        painter.setBrush(QColor(0x80, 0x00, 0x00));
        painter.drawEllipse(QRectF(1.5, 1, 11, 11));
        break;
    case 1:
        painter.setBrush(QColor(0x00, 0x00, 0x80));
        painter.drawPolygon(rightArrow(2, 11, 8));
        break;
    default:
        painter.setBrush(QColor(0x00, 0x00, 0xFF));
        painter.drawPolygon(rightArrow(5, 8, 10));
        break;
    }
    return pixmap;
}

} // namespace Korveth
