#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>
#include <functional>

namespace orv::Icons {

namespace {

const QColor kInk(40, 40, 40);
const QColor kRoot(255, 0, 0);
const QColor kTip(0, 0, 255);
const QColor kGreen(0, 176, 10);

// Draws on a 24 x 24 grid at two sizes so that both densities stay crisp.
QIcon drawn(const std::function<void(QPainter &)> &paint)
{
    QIcon icon;
    for (int size : {24, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        paint(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QPen pen(const QColor &c, double w = 1.8) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &c)
{
    p.setPen(pen(c));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len <= 0)
        return;
    const QPointF u = d / len, n(-u.y(), u.x());
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to, to - u * 5 + n * 3, to - u * 5 - n * 3}));
    p.setBrush(Qt::NoBrush);
}

void airfoil(QPainter &p, const QColor &c, double dy = 0)
{
    QPainterPath path;
    path.moveTo(21, 13 + dy);
    path.cubicTo(15, 8 + dy, 6, 7 + dy, 3, 12 + dy);
    path.cubicTo(6, 15 + dy, 15, 15 + dy, 21, 13 + dy);
    p.setPen(pen(c, 1.6));
    p.drawPath(path);
}

void folder(QPainter &p)
{
    p.setPen(pen(QColor(150, 110, 30), 1.2));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(2, 7, 14, 11));
    p.setBrush(Qt::NoBrush);
}

} // namespace

QIcon openRoot()
{
    return drawn([](QPainter &p) {
        folder(p);
        airfoil(p, kRoot, 4);
    });
}

QIcon openTip()
{
    return drawn([](QPainter &p) {
        folder(p);
        airfoil(p, kTip, 4);
    });
}

QIcon closeContour(const QColor &colour)
{
    return drawn([colour](QPainter &p) {
        p.setPen(pen(colour));
        p.drawPolyline(QPolygonF({QPointF(5, 18), QPointF(5, 6), QPointF(19, 6), QPointF(19, 18)}));
        p.setPen(QPen(kInk, 1.6, Qt::DashLine));
        p.drawLine(QPointF(5, 18), QPointF(19, 18));
    });
}

QIcon exportSide(const QColor &colour)
{
    return drawn([colour](QPainter &p) {
        p.setPen(pen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 3, 14, 18));
        p.setBrush(Qt::NoBrush);
        airfoil(p, colour, -2);
        arrow(p, QPointF(12, 17), QPointF(22, 17), kInk);
    });
}

QIcon save()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(30, 60, 120), 1.4));
        p.setBrush(QColor(90, 130, 200));
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.drawRect(QRectF(6, 14, 12, 7));
    });
}

namespace {

// The curved arrow of undo; redo draws it mirrored.
void undoArrow(QPainter &p)
{
    p.setPen(pen(kInk, 2));
    QPainterPath path;
    path.moveTo(7, 10);
    path.cubicTo(12, 5, 21, 8, 19, 16);
    p.drawPath(path);
    arrow(p, QPointF(9, 11), QPointF(5, 8), kInk);
}

} // namespace

QIcon undo() { return drawn(undoArrow); }

QIcon redo()
{
    return drawn([](QPainter &p) {
        p.translate(24, 0);
        p.scale(-1, 1);
        undoArrow(p);
    });
}

QIcon copy()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 12, 14));
        p.drawRect(QRectF(8, 7, 12, 14));
    });
}

QIcon cut()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.6));
        p.drawLine(QPointF(7, 3), QPointF(16, 16));
        p.drawLine(QPointF(17, 3), QPointF(8, 16));
        p.drawEllipse(QPointF(7, 19), 3, 3);
        p.drawEllipse(QPointF(17, 19), 3, 3);
    });
}

QIcon paste()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(QColor(120, 80, 20), 1.2));
        p.setBrush(QColor(220, 180, 110));
        p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 8, 10, 12));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(9, 2, 6, 4));
    });
}

namespace {

// A blue disc with a letter, for help and about.
QIcon lettered(const QString &letter)
{
    return drawn([letter](QPainter &p) {
        p.setPen(pen(QColor(30, 90, 170), 1.4));
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        QFont f;
        f.setBold(true);
        f.setPixelSize(14);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, letter);
    });
}

} // namespace

QIcon help() { return lettered(QStringLiteral("?")); }

QIcon about() { return lettered(QStringLiteral("i")); }

QIcon swatch(const QColor &colour)
{
    return drawn([colour](QPainter &p) {
        p.setPen(pen(colour.darker(130), 1));
        p.setBrush(colour);
        p.drawRect(QRectF(6, 6, 12, 12));
    });
}

QIcon reverse()
{
    return drawn([](QPainter &p) {
        arrow(p, QPointF(3, 8), QPointF(20, 8), kGreen);
        arrow(p, QPointF(21, 16), QPointF(4, 16), kGreen);
    });
}

QIcon mirror(bool horizontal)
{
    return drawn([horizontal](QPainter &p) {
        p.save();
        if (!horizontal) {
            p.translate(12, 12);
            p.rotate(90);
            p.translate(-12, -12);
        }
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        p.setPen(pen(kGreen, 1.4));
        p.setBrush(QColor(0, 176, 10, 90));
        p.drawPolygon(QPolygonF({QPointF(3, 18), QPointF(10, 18), QPointF(10, 6)}));
        p.setPen(pen(kInk, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({QPointF(21, 18), QPointF(14, 18), QPointF(14, 6)}));
        p.restore();
    });
}

QIcon stretch(int axis)
{
    return drawn([axis](QPainter &p) {
        p.setPen(pen(kGreen, 1.2));
        p.drawRect(QRectF(8, 8, 8, 8));
        if (axis == 0 || axis == 2) {
            arrow(p, QPointF(12, 12), QPointF(23, 12), kInk);
            arrow(p, QPointF(12, 12), QPointF(1, 12), kInk);
        }
        if (axis == 1 || axis == 2) {
            arrow(p, QPointF(12, 12), QPointF(12, 1), kInk);
            arrow(p, QPointF(12, 12), QPointF(12, 23), kInk);
        }
    });
}

QIcon move(int axis)
{
    return drawn([axis](QPainter &p) {
        p.setPen(pen(kGreen, 1.2));
        p.drawRect(QRectF(3, 15, 6, 6));
        if (axis == 0)
            arrow(p, QPointF(6, 9), QPointF(22, 9), kInk);
        else
            arrow(p, QPointF(16, 22), QPointF(16, 2), kInk);
    });
}

QIcon chord()
{
    return drawn([](QPainter &p) {
        airfoil(p, kInk, -3);
        arrow(p, QPointF(12, 19), QPointF(22, 19), kInk);
        arrow(p, QPointF(12, 19), QPointF(2, 19), kInk);
    });
}

QIcon remove()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kGreen, 1.2));
        p.drawRect(QRectF(4, 4, 8, 8));
        p.setPen(pen(QColor(200, 0, 0), 2.2));
        p.drawLine(QPointF(10, 10), QPointF(21, 21));
        p.drawLine(QPointF(21, 10), QPointF(10, 21));
    });
}

QIcon insert()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.4));
        p.drawLine(QPointF(2, 18), QPointF(22, 6));
        p.setBrush(kGreen);
        p.drawRect(QRectF(1, 16, 4, 4));
        p.drawRect(QRectF(19, 4, 4, 4));
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(QPointF(12, 12), 3, 3);
    });
}

QIcon intersection()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kGreen, 1.6));
        p.drawLine(QPointF(3, 3), QPointF(21, 21));
        p.drawLine(QPointF(3, 21), QPointF(21, 3));
        p.setPen(pen(kInk, 1.2));
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
    });
}

QIcon renumber()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.4));
        p.drawEllipse(QPointF(12, 12), 8, 8);
        QFont f;
        f.setBold(true);
        f.setPixelSize(10);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("1"));
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(20, 12), 2.5, 2.5);
    });
}

QIcon smooth()
{
    return drawn([](QPainter &p) {
        p.setPen(QPen(kInk, 1, Qt::DotLine));
        p.drawPolyline(QPolygonF({QPointF(2, 18), QPointF(8, 6), QPointF(16, 18), QPointF(22, 6)}));
        QPainterPath path;
        path.moveTo(2, 18);
        path.cubicTo(6, 2, 10, 4, 12, 12);
        path.cubicTo(14, 20, 18, 22, 22, 6);
        p.setPen(pen(kGreen, 1.8));
        p.drawPath(path);
    });
}

QIcon synchronize()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kRoot, 1.4));
        p.drawLine(QPointF(3, 6), QPointF(21, 6));
        p.setPen(pen(kTip, 1.4));
        p.drawLine(QPointF(6, 18), QPointF(18, 18));
        p.setPen(pen(QColor(0, 207, 169), 1.2));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(3 + 6 * i, 6), QPointF(6 + 4 * i, 18));
    });
}

QIcon clean()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.4));
        p.drawLine(QPointF(2, 16), QPointF(22, 16));
        p.setBrush(kGreen);
        p.drawRect(QRectF(1, 14, 4, 4));
        p.drawRect(QRectF(19, 14, 4, 4));
        p.setPen(pen(QColor(200, 0, 0), 1.4));
        for (double x : {8.0, 12.0, 16.0}) {
            p.drawLine(QPointF(x - 2, 6), QPointF(x + 2, 10));
            p.drawLine(QPointF(x + 2, 6), QPointF(x - 2, 10));
        }
    });
}

QIcon application()
{
    return drawn([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 245, 225));
        p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
        airfoil(p, kRoot, -3);
        airfoil(p, kTip, 3);
        p.setPen(pen(QColor(255, 193, 113), 1));
        p.drawLine(QPointF(3, 9), QPointF(3, 15));
        p.drawLine(QPointF(21, 10), QPointF(21, 16));
    });
}

QIcon twoWings(bool headToTail)
{
    return drawn([headToTail](QPainter &p) {
        airfoil(p, kRoot, -5);
        p.save();
        p.translate(12, 17);
        p.scale(headToTail ? -1 : 1, -1);
        p.translate(-12, -12);
        airfoil(p, kTip, 0);
        p.restore();
    });
}

QIcon cutterExchange(bool toCutter)
{
    return drawn([toCutter](QPainter &p) {
        // The hot-wire bow: two arms and the wire between their tips.
        p.setPen(pen(kInk, 1.4));
        p.drawPolyline(QPolygonF({QPointF(14, 3), QPointF(22, 3), QPointF(22, 21), QPointF(14, 21)}));
        p.setPen(pen(QColor(220, 120, 0), 1.2));
        p.drawLine(QPointF(14, 3), QPointF(14, 21));
        airfoil(p, kRoot, -6);
        airfoil(p, kTip, 0);
        if (toCutter)
            arrow(p, QPointF(2, 19), QPointF(12, 19), kGreen);
        else
            arrow(p, QPointF(12, 19), QPointF(2, 19), kGreen);
    });
}

QIcon machine()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.6));
        p.drawLine(QPointF(5, 21), QPointF(5, 4));
        p.drawLine(QPointF(19, 21), QPointF(19, 4));
        p.drawLine(QPointF(2, 21), QPointF(22, 21));
        p.setPen(pen(kRoot, 1.2));
        p.drawLine(QPointF(5, 10), QPointF(19, 13));
        p.setBrush(kInk);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(3, 8.5, 4, 3));
        p.drawRect(QRectF(17, 11.5, 4, 3));
    });
}

QIcon exportGCode()
{
    return drawn([](QPainter &p) {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2.5, 16, 19));
        QFont f;
        f.setBold(true);
        f.setPixelSize(11);
        p.setFont(f);
        p.setPen(kGreen.darker(120));
        p.drawText(QRectF(4, 3, 16, 18), Qt::AlignCenter, QStringLiteral("G1"));
    });
}

} // namespace orv::Icons
