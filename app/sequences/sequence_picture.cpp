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
constexpr size_t kDenseSegments = 20000;
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
    // Points closer than half a pixel to the last one kept add nothing to
    // the picture but stroking time: a sheet of thousands of small contours
    // has most of its points within a pixel of each other.
    const double pixel = p.transform().m11() > 0 ? 1 / p.transform().m11() : 1;
    const double near = pixel / 2;
    // One stroke call per pen: thousands of small polylines cost more in
    // calls than in pixels. Selected sequences come last, over the others.
    std::vector<QLineF> segments[2];
    std::vector<QPointF> dots[2];
    std::vector<QLineF> strokes; // direction marks
    std::vector<QPointF> entries;
    QPolygonF line;
    for (const SequenceEntry &s : list) {
        if (s.Points.empty())
            continue;
        const int pen = s.isSelected() ? 1 : 0;
        const QPointF shift = pen ? o.dragOffset : QPointF();
        line.clear();
        for (size_t i = 0; i < s.Points.size(); ++i) {
            const QPointF q = map.toPicture(s.Points[i].X, s.Points[i].Y) + shift;
            const bool last = i + 1 == s.Points.size();
            if (line.size() < 2 || last || std::abs(q.x() - line.back().x()) >= near ||
                std::abs(q.y() - line.back().y()) >= near)
                line.append(q);
        }
        if (line.size() == 1)
            dots[pen].push_back(line[0]);
        for (qsizetype i = 1; i < line.size(); ++i)
            segments[pen].emplace_back(line[i - 1], line[i]);
        if (o.showDirection && line.size() > 1 && line[0] != line[1]) {
            const QPointF d = line[1] - line[0];
            entries.push_back(line[0]);
            strokes.emplace_back(line[0], line[0] + d * (200 / std::hypot(d.x(), d.y())));
        }
    }
    for (int pen : {0, 1}) {
        p.setPen(pen ? selectedPen : freePen);
        // Wide antialiased strokes cost most; a dense sheet is readable without.
        p.setRenderHint(QPainter::Antialiasing, segments[pen].size() < kDenseSegments);
        p.drawLines(segments[pen].data(), int(segments[pen].size()));
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(p.pen().color());
        for (const QPointF &d : dots[pen])
            p.drawEllipse(d, 25, 25);
        p.setBrush(Qt::NoBrush);
    }
    p.setPen(markPen);
    for (const QPointF &e : entries)
        p.drawEllipse(e, 60, 60);
    p.drawLines(strokes.data(), int(strokes.size()));
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
