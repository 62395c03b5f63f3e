#include "MarginImages.h"

#include <QPainter>
#include <QPainterPath>

namespace Korveth {

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
    case 1: {
        QPainterPath box;
        box.moveTo(1, 2);
        box.lineTo(8, 2);
        box.lineTo(13, 6.5);
        box.lineTo(8, 11);
        box.lineTo(1, 11);
        box.closeSubpath();
        painter.setBrush(QColor(0x00, 0x00, 0x80));
        painter.drawPath(box);
        break;
    }
    default: {
        QPainterPath bar;
        bar.moveTo(1, 5);
        bar.lineTo(10, 5);
        bar.lineTo(13, 6.5);
        bar.lineTo(10, 8);
        bar.lineTo(1, 8);
        bar.closeSubpath();
        painter.setBrush(QColor(0x00, 0x00, 0xFF));
        painter.drawPath(bar);
        break;
    }
    }
    return pixmap;
}

} // namespace Korveth
