#include "ToolbarIcons.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace Korveth {

namespace {

using Draw = void (*)(QPainter &);

const QColor ink(0x2B, 0x3A, 0x4A);
const QColor paper(0xFF, 0xFF, 0xFF);
const QColor sky(0x4A, 0x90, 0xD9);
const QColor leaf(0x3C, 0xA0, 0x5A);
const QColor ember(0xD9, 0x4A, 0x3C);
const QColor sand(0xE8, 0xC0, 0x5A);

QPen pen(const QColor &colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A page with a folded corner, the base of several pictures; all drawn on a 16 x 16 grid.
void page(QPainter &p, qreal x = 3.5, qreal y = 1.5, qreal w = 9, qreal h = 13)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w - 3, y);
    path.lineTo(x + w, y + 3);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setPen(pen(ink));
    p.setBrush(paper);
    p.drawPath(path);
    p.drawLine(QPointF(x + w - 3, y), QPointF(x + w - 3, y + 3));
    p.drawLine(QPointF(x + w - 3, y + 3), QPointF(x + w, y + 3));
}

void textLines(QPainter &p, qreal x, qreal y, int count, qreal width)
{
    p.setPen(pen(sky));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(x, y + 2 * i), QPointF(x + width, y + 2 * i));
}

void cross(QPainter &p, QPointF centre, qreal r, const QColor &colour, qreal width)
{
    p.setPen(pen(colour, width));
    p.drawLine(centre + QPointF(-r, -r), centre + QPointF(r, r));
    p.drawLine(centre + QPointF(-r, r), centre + QPointF(r, -r));
}

void arrowHead(QPainter &p, QPointF tip, qreal dx, qreal dy, const QColor &colour)
{
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip + QPointF(-dx - dy, -dy + dx));
    head.lineTo(tip + QPointF(-dx + dy, -dy - dx));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

void turnArrow(QPainter &p, bool left)
{
    QPainterPath arc;
    const qreal s = left ? 1 : -1;
    arc.moveTo(8 - s * 4.5, 7);
    arc.cubicTo(8 - s * 3, 2.5, 8 + s * 5, 3, 8 + s * 4.5, 9);
    arc.cubicTo(8 + s * 4, 12, 8 + s * 1, 13, 8 - s * 1, 12.5);
    p.setPen(pen(sky, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    arrowHead(p, QPointF(8 - s * 5.5, 8.5), -s * 0.1, 2.6, sky);
}

void magnifier(QPainter &p, QPointF centre = {6.5, 6.5})
{
    p.setPen(pen(ink, 1.5));
    p.setBrush(QColor(0xDD, 0xEE, 0xFF));
    p.drawEllipse(centre, 4, 4);
    p.setPen(pen(ink, 2.2));
    p.drawLine(centre + QPointF(3, 3), centre + QPointF(6.5, 6.5));
}

void window(QPainter &p, QRectF r)
{
    p.setPen(pen(ink));
    p.setBrush(paper);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, 2));
}

void questionMark(QPainter &p, QPointF at, qreal size, const QColor &colour)
{
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(int(size));
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(at.x(), at.y(), size, size), Qt::AlignCenter, QStringLiteral("?"));
}

void star(QPainter &p, QPointF centre, qreal outer, const QColor &colour)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? outer * 0.45 : outer;
        const qreal a = M_PI / 2 + i * M_PI / 5;
        const QPointF point = centre + QPointF(r * std::cos(a), -r * std::sin(a));
        i ? path.lineTo(point) : path.moveTo(point);
    }
    path.closeSubpath();
    p.setPen(pen(ink, 0.8));
    p.setBrush(colour);
    p.drawPath(path);
}

const QHash<QString, Draw> &drawings()
{
    static const QHash<QString, Draw> all{
        {QStringLiteral("new"),
         [](QPainter &p) {
             page(p);
             star(p, {12, 12}, 3.5, sand);
         }},
        {QStringLiteral("open"),
         [](QPainter &p) {
             p.setPen(pen(ink));
             p.setBrush(sand);
             QPainterPath folder;
             folder.moveTo(1.5, 3.5);
             folder.lineTo(6, 3.5);
             folder.lineTo(7.5, 5);
             folder.lineTo(13.5, 5);
             folder.lineTo(13.5, 13.5);
             folder.lineTo(1.5, 13.5);
             folder.closeSubpath();
             p.drawPath(folder);
             p.setBrush(QColor(0xF5, 0xD9, 0x8A));
             p.drawPolygon(QPolygonF({{3.5, 7.5}, {15, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
         }},
        {QStringLiteral("close"),
         [](QPainter &p) {
             page(p);
             cross(p, {8, 9.5}, 2.5, ember, 1.8);
         }},
        {QStringLiteral("save"),
         [](QPainter &p) {
             p.setPen(pen(ink));
             p.setBrush(sky);
             p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
             p.setBrush(paper);
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setBrush(ink);
             p.drawRect(QRectF(4.5, 9.5, 7, 5));
         }},
        {QStringLiteral("print"),
         [](QPainter &p) {
             p.setPen(pen(ink));
             p.setBrush(paper);
             p.drawRect(QRectF(4.5, 1.5, 7, 5));
             p.setBrush(QColor(0xC8, 0xD0, 0xDA));
             p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
             p.setBrush(paper);
             p.drawRect(QRectF(4.5, 10.5, 7, 4));
             textLines(p, 5.5, 12, 2, 5);
         }},
        {QStringLiteral("undo"),
         [](QPainter &p) {
             turnArrow(p, true);
         }},
        {QStringLiteral("redo"),
         [](QPainter &p) {
             turnArrow(p, false);
         }},
        {QStringLiteral("cut"),
         [](QPainter &p) {
             p.setPen(pen(ink, 1.3));
             p.drawLine(QPointF(5, 1.5), QPointF(10.5, 10));
             p.drawLine(QPointF(11, 1.5), QPointF(5.5, 10));
             p.setBrush(Qt::NoBrush);
             p.setPen(pen(ember, 1.4));
             p.drawEllipse(QPointF(4.5, 12), 2.3, 2.3);
             p.drawEllipse(QPointF(11.5, 12), 2.3, 2.3);
         }},
        {QStringLiteral("copy"),
         [](QPainter &p) {
             page(p, 1.5, 1.5, 8, 10);
             page(p, 6.5, 4.5, 8, 10);
             textLines(p, 8, 9, 3, 4.5);
         }},
        {QStringLiteral("paste"),
         [](QPainter &p) {
             p.setPen(pen(ink));
             p.setBrush(sand);
             p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
             p.setBrush(QColor(0xC8, 0xD0, 0xDA));
             p.drawRect(QRectF(4, 1.5, 5, 2.5));
             page(p, 7, 6, 7.5, 8.5);
         }},
        {QStringLiteral("delete"),
         [](QPainter &p) {
             cross(p, {8, 8}, 5, ember, 2.6);
         }},
        {QStringLiteral("prop"),
         [](QPainter &p) {
             p.setPen(pen(ink, 1.2));
             for (int i = 0; i < 3; ++i)
                 p.drawLine(QPointF(2, 3.5 + 4.5 * i), QPointF(14, 3.5 + 4.5 * i));
             p.setBrush(sky);
             for (const QPointF knob : {QPointF(5, 3.5), QPointF(11, 8), QPointF(7, 12.5)})
                 p.drawEllipse(knob, 2, 2);
         }},
        {QStringLiteral("find"),
         [](QPainter &p) {
             magnifier(p);
         }},
        {QStringLiteral("findnext"),
         [](QPainter &p) {
             magnifier(p, {5.5, 5.5});
             arrowHead(p, {15.5, 4.5}, 3, 0, leaf);
         }},
        {QStringLiteral("findprev"),
         [](QPainter &p) {
             magnifier(p, {5.5, 5.5});
             arrowHead(p, {10, 14}, -3, 0, leaf);
         }},
        {QStringLiteral("tilehor"),
         [](QPainter &p) {
             window(p, QRectF(1.5, 1.5, 13, 6));
             window(p, QRectF(1.5, 8.5, 13, 6));
         }},
        {QStringLiteral("tilever"),
         [](QPainter &p) {
             window(p, QRectF(1.5, 1.5, 6, 13));
             window(p, QRectF(8.5, 1.5, 6, 13));
         }},
        {QStringLiteral("cascade"),
         [](QPainter &p) {
             window(p, QRectF(1.5, 1.5, 9, 7));
             window(p, QRectF(3.5, 4.5, 9, 7));
             window(p, QRectF(5.5, 7.5, 9, 7));
         }},
        {QStringLiteral("help"),
         [](QPainter &p) {
             p.setPen(pen(ink));
             p.setBrush(sky);
             p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
             questionMark(p, {2, 2}, 12, paper);
         }},
        {QStringLiteral("help2"),
         [](QPainter &p) {
             p.setPen(pen(ink));
             p.setBrush(paper);
             p.drawPolygon(QPolygonF(
                 {{1.5, 1.5}, {1.5, 12}, {4, 9.5}, {6, 14}, {7.5, 13.3}, {5.5, 9}, {9, 9}}));
             questionMark(p, {7, 1}, 10, sky);
         }},
        {QStringLiteral("TestScript"),
         [](QPainter &p) {
             page(p, 1.5, 1.5, 10, 13);
             textLines(p, 3.5, 6, 3, 5);
             p.setPen(pen(leaf, 2.2));
             p.drawPolyline(QPolygonF({{7.5, 10.5}, {10, 13.5}, {15, 6.5}}));
         }},
        {QStringLiteral("RunScript"),
         [](QPainter &p) {
             page(p, 1.5, 1.5, 10, 13);
             textLines(p, 3.5, 6, 3, 5);
             p.setPen(pen(ink));
             p.setBrush(leaf);
             p.drawPolygon(QPolygonF({{8.5, 7}, {15, 11}, {8.5, 15}}));
         }},
        {QStringLiteral("Gener"),
         [](QPainter &p) {
             p.setPen(pen(ink, 1.8));
             p.drawLine(QPointF(2, 14), QPointF(9.5, 6.5));
             star(p, {11, 5}, 4.5, sand);
         }},
    };
    return all;
}

class DrawnIconEngine final : public QIconEngine
{
public:
    explicit DrawnIconEngine(Draw draw)
        : m_draw(draw)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        m_draw(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // Drawn at the device's own resolution (size is in device pixels), so a 200% screen gets
    // a sharp picture.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new DrawnIconEngine(m_draw); }

private:
    Draw m_draw;
};

} // namespace

QIcon toolbarIcon(const QString &key)
{
    const Draw draw = drawings().value(key);
    return draw ? QIcon(new DrawnIconEngine(draw)) : QIcon();
}

} // namespace Korveth
