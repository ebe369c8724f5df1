// Drawing of the two pictures of the sequence window.
#include "sequences/sequence_picture.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr double kMargin = 180;
const QColor kSelectedColour(0, 176, 10);

QPen widthPen(const QColor &c, int width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(c, width, style);
    pen.setCosmetic(true); // widths in pixels, whatever the scale
    return pen;
}

} // namespace

void PictureMapping::fit(const DrawingExtent &e, double widthTwips, double heightTwips)
{
    width = widthTwips;
    height = heightTwips;
    cx = (double(e.xMin) + e.xMax) / 2;
    cy = (double(e.yMin) + e.yMax) / 2;
    const double dx = double(e.xMax) - e.xMin, dy = double(e.yMax) - e.yMin;
    const double w = std::max(1.0, widthTwips - 2 * kMargin), h = std::max(1.0, heightTwips - 2 * kMargin);
    if (dx <= 0 && dy <= 0)
        scale = 1;
    else
        scale = std::min(dx > 0 ? w / dx : 1e30, dy > 0 ? h / dy : 1e30);
}

void drawSequences(QPainter &p, const SequenceList &list, const PictureMapping &map, const PictureOptions &o)
{
    p.fillRect(QRectF(0, 0, map.width, map.height), Qt::white);
    const QColor sideColour = o.tipColours ? QColor(0, 0, 255) : QColor(255, 0, 0);
    const QPen selectedPen = widthPen(kSelectedColour, 2), freePen = widthPen(sideColour, 1),
               markPen = widthPen(sideColour, 2);
    QPolygonF line;
    for (const SequenceEntry &s : list) {
        if (s.Points.empty())
            continue;
        const QPointF shift = s.isSelected() ? o.dragOffset : QPointF();
        line.resize(qsizetype(s.Points.size()));
        for (size_t i = 0; i < s.Points.size(); ++i)
            line[qsizetype(i)] = map.toPicture(s.Points[i].X, s.Points[i].Y) + shift;
        p.setPen(s.isSelected() ? selectedPen : freePen);
        if (line.size() == 1) {
            p.setBrush(p.pen().color());
            p.drawEllipse(line[0], 25, 25);
            p.setBrush(Qt::NoBrush);
        } else {
            p.drawPolyline(line);
        }
        if (o.showDirection && line.size() > 1 && line[0] != line[1]) {
            p.setPen(markPen);
            p.drawEllipse(line[0], 60, 60);
            const QPointF d = line[1] - line[0];
            const double len = std::hypot(d.x(), d.y());
            if (len > 0)
                p.drawLine(line[0], line[0] + d * (200 / len));
        }
    }
    if (o.current >= 0 && o.current < int(list.size())) {
        const SequenceEntry &s = list[size_t(o.current)];
        const double margin = o.finalPicture && s.isSelected() ? 100 : 50;
        const QRectF box = QRectF(map.toPicture(s.MinX, s.MaxY), map.toPicture(s.MaxX, s.MinY))
                               .adjusted(-margin, -margin, margin, margin)
                               .translated(s.isSelected() ? o.dragOffset : QPointF());
        p.setPen(widthPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(box);
    }
}

} // namespace orv
