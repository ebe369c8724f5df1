// The picture of the drawing area (profiles, marks, surface, intermediate
// profile, carriage paths, background image), its overlay (current points,
// wire, rubber band) and the two five-line point lists. Everything reads the
// screen arrays of the view; nothing is recomputed per paint.
#include "editor/drawing.h"

#include "core/selection.h"
#include "core/status.h"
#include "editor/profile_canvas.h"

#include <QCheckBox>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>

#include <cmath>

namespace orv {

namespace {

QColor qcolor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The carriage paths of the first and second towers.
constexpr Rgb kCarriageColours[2] = {{200, 100, 0}, {120, 0, 160}};

// Drawing in logical pixels: a profile of 50,000 points has far more points
// than the area has pixels, so what would land on the pixel already drawn is
// skipped. The result differs from drawing every point by less than half a
// pixel.
class PixelPicture {
public:
    PixelPicture(QPainter &p, double pixelsPerUnit, int width, int height)
        : m_p(p), m_k(pixelsPerUnit), m_w(width + 2 * kMargin), m_h(height + 2 * kMargin)
    {
        m_p.save();
        m_p.resetTransform();
    }
    ~PixelPicture() { m_p.restore(); }

    QPointF px(const ViewPoint &v) const { return {v.x * m_k, v.y * m_k}; }
    double scale() const { return m_k; }

    // Consecutive segments of one colour go out as one polyline.
    void segments(const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t active, Side side)
    {
        const int32_t n = std::min<int32_t>(points.count(), static_cast<int32_t>(screen.size()));
        if (n < 2)
            return;
        QPolygonF run;
        Rgb runColour = profileColour(side);
        auto flush = [&] {
            if (run.size() >= 2) {
                m_p.setPen(QPen(qcolor(runColour), 0));
                m_p.drawPolyline(run);
            }
            run.clear();
        };
        const PointProfil *prev = nullptr;
        QPointF previous;
        points.forEach([&](int32_t i, const PointProfil &pt) {
            if (i > n)
                return;
            const QPointF here = px(screen[static_cast<size_t>(i - 1)]);
            if (prev) {
                const Rgb c = segmentColour(*prev, pt, active, side);
                if (run.isEmpty() || !(c == runColour)) {
                    flush();
                    run.append(previous);
                    runColour = c;
                    run.append(here);
                } else if (std::fabs(here.x() - run.back().x()) >= 0.5 || std::fabs(here.y() - run.back().y()) >= 0.5 ||
                           i == n) {
                    run.append(here);
                } else {
                    m_pending = here; // kept only if the run ends here
                    m_hasPending = true;
                    previous = here;
                    prev = &pt;
                    return;
                }
            }
            m_hasPending = false;
            previous = here;
            prev = &pt;
        });
        if (m_hasPending && !run.isEmpty())
            run.append(m_pending);
        m_hasPending = false;
        flush();
    }

    // Point squares as outlines, grouped by size and colour; a square already
    // drawn at the same pixel is not drawn again.
    void marks(const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t active, Side side)
    {
        const int32_t n = std::min<int32_t>(points.count(), static_cast<int32_t>(screen.size()));
        struct Group {
            PointMark mark;
            QVector<QRect> rects;
            uint8_t bit;
        };
        std::vector<Group> groups;
        m_drawn.assign(static_cast<size_t>(m_w) * static_cast<size_t>(m_h), 0);
        points.forEach([&](int32_t i, const PointProfil &pt) {
            if (i > n)
                return;
            const PointMark m = pointMark(pt, active, side);
            Group *g = nullptr;
            for (Group &candidate : groups)
                if (candidate.mark.halfSide == m.halfSide && candidate.mark.colour == m.colour)
                    g = &candidate;
            if (!g) {
                groups.push_back({m, {}, static_cast<uint8_t>(1u << std::min<size_t>(groups.size(), 7))});
                g = &groups.back();
            }
            const QPointF c = px(screen[static_cast<size_t>(i - 1)]);
            const long x = std::lround(c.x()), y = std::lround(c.y());
            if (x < -kMargin || y < -kMargin || x >= m_w - kMargin || y >= m_h - kMargin)
                return; // far outside the area
            uint8_t &cell = m_drawn[static_cast<size_t>(y + kMargin) * static_cast<size_t>(m_w) + static_cast<size_t>(x + kMargin)];
            if (cell & g->bit)
                return;
            cell |= g->bit;
            const int h = std::max(1, static_cast<int>(std::lround(m.halfSide * m_k)));
            g->rects.append(QRect(static_cast<int>(x) - h, static_cast<int>(y) - h, 2 * h, 2 * h));
        });
        m_p.save();
        m_p.setRenderHint(QPainter::Antialiasing, false);
        m_p.setBrush(Qt::NoBrush);
        for (const Group &g : groups) {
            m_p.setPen(QPen(qcolor(g.mark.colour), 0));
            m_p.drawRects(g.rects);
        }
        m_p.restore();
    }

    // Lines between corresponding points. Where the profiles are dense the
    // lines make a solid band: a line whose two ends stay within a pixel of
    // the last one drawn adds nothing and is skipped.
    void surface(const std::vector<ViewPoint> &a, const std::vector<ViewPoint> &b)
    {
        const size_t n = std::min(a.size(), b.size());
        QVector<QLineF> lines;
        QLineF last;
        auto close = [](QPointF u, QPointF v) { return std::fabs(u.x() - v.x()) < 1 && std::fabs(u.y() - v.y()) < 1; };
        for (size_t k = 0; k < n; ++k) {
            const QLineF line(px(a[k]), px(b[k]));
            if (!lines.isEmpty() && k + 1 < n && close(line.p1(), last.p1()) && close(line.p2(), last.p2()))
                continue;
            last = line;
            lines.append(line);
        }
        // Antialiased: Qt's aliased cosmetic stroker blends long slanted
        // lines pixel by pixel and costs about four times as much.
        m_p.setPen(QPen(qcolor(colours::surface), 0));
        m_p.drawLines(lines);
    }

    void polyline(const std::vector<ViewPoint> &pts, Rgb colour)
    {
        QPolygonF line;
        for (const ViewPoint &v : pts) {
            const QPointF here = px(v);
            if (line.isEmpty() || std::fabs(here.x() - line.back().x()) >= 0.5 || std::fabs(here.y() - line.back().y()) >= 0.5)
                line.append(here);
        }
        if (!pts.empty() && line.size() >= 1)
            line.append(px(pts.back()));
        m_p.setPen(QPen(qcolor(colour), 0));
        m_p.drawPolyline(line);
    }

private:
    static constexpr int kMargin = 8;
    QPainter &m_p;
    double m_k;
    int m_w, m_h;
    std::vector<uint8_t> m_drawn;
    QPointF m_pending;
    bool m_hasPending = false;
};

// Where a profile starts and which way it runs, and the mean of its
// reference points while that layer is active.
void drawMarkers(QPainter &p, const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t active, Side side)
{
    const int32_t n = std::min<int32_t>(points.count(), static_cast<int32_t>(screen.size()));
    if (n >= 2 && !(points[1].X == points[2].X && points[1].Y == points[2].Y)) {
        const ViewPoint &a = screen[0];
        const ViewPoint &b = screen[1];
        const QColor c = qcolor(profileColour(side));
        QPen wide(c, 2);
        wide.setCosmetic(true); // two pixels wide whatever the zoom
        p.setPen(wide);
        p.setBrush(c);
        p.drawEllipse(QPointF(a.x, a.y), marks::startCircleRadius, marks::startCircleRadius);
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        if (len > 0)
            p.drawLine(QPointF(a.x, a.y),
                       QPointF(a.x + dx / len * marks::startLineLength, a.y + dy / len * marks::startLineLength));
        p.setBrush(Qt::NoBrush);
    }
    ViewPoint centre;
    if (active == kReference && bitCentre(points, screen, kReference, centre)) {
        const float h = marks::referenceCentreHalfSide;
        p.setPen(QPen(qcolor(referenceCentreColour(side)), 0));
        p.drawRect(QRectF(centre.x - h, centre.y - h, 2 * h, 2 * h));
    }
}

} // namespace

DrawingPart::DrawingPart(Editor &ed) : m_ed(ed)
{
    ed.ui.pctProfils->drawPicture = [this](QPainter &p) { drawPicture(p); };
    ed.ui.pctProfils->drawOverlay = [this](QPainter &p) { drawOverlay(p); };
    ed.drawPointLists = [this] { drawPointLists(); };
    for (int s = 0; s < 2; ++s) {
        QObject::connect(ed.ui.chkAfficherProfil[static_cast<size_t>(s)], &QCheckBox::toggled, [this] { m_ed.redraw(); });
        QObject::connect(ed.ui.chkAfficherPoints[static_cast<size_t>(s)], &QCheckBox::toggled, [this] { m_ed.redraw(); });
    }
}

void DrawingPart::drawPicture(QPainter &p)
{
    const EditorState &st = m_ed.st;
    const MainWindowUi &ui = m_ed.ui;
    if (background && ui.chkImageFond->isChecked() && !background->isNull()) {
        const QRectF area(0, 0, st.view.state.LargeurImage, st.view.state.HauteurImage);
        QSizeF size = background->size();
        size.scale(area.size(), Qt::KeepAspectRatio);
        p.drawPixmap(QRectF(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2, size.width(),
                            size.height()),
                     *background, QRectF(background->rect()));
    }
    if (!m_ed.hasPoints() && st.doc.NbPointsE() == 0)
        return;
    const int16_t active = st.sel.SelectionActive;
    p.setRenderHint(QPainter::Antialiasing, true);
    const double k = p.transform().m11();
    const int w = ui.pctProfils->width(), h = ui.pctProfils->height();

    auto drawSide = [&](Side s) {
        const size_t i = static_cast<size_t>(s);
        {
            PixelPicture pix(p, k, w, h);
            if (ui.chkAfficherProfil[i]->isChecked())
                pix.segments(st.doc.points(s), st.view.screen(s), active, s);
            if (ui.chkAfficherPoints[i]->isChecked())
                pix.marks(st.doc.points(s), st.view.screen(s), active, s);
        }
        if (ui.chkAfficherPoints[i]->isChecked())
            drawMarkers(p, st.doc.points(s), st.view.screen(s), active, s);
    };
    drawSide(Saumon);
    if (ui.chkProfilIntermediaire->isChecked() && st.view.ecranI.size() >= 2) {
        PixelPicture pix(p, k, w, h);
        pix.polyline(st.view.ecranI, colours::intermediate);
    }
    if (ui.chkSurface->isEnabled() && ui.chkSurface->isChecked()) {
        PixelPicture pix(p, k, w, h);
        pix.surface(st.view.ecranE, st.view.ecranS);
    }
    if (ui.chkVisuMachine->isEnabled() && ui.chkVisuMachine->isChecked()) {
        PixelPicture pix(p, k, w, h);
        for (size_t t = 0; t < 2; ++t)
            if (st.view.ecranMachine[t].size() >= 2)
                pix.polyline(st.view.ecranMachine[t], kCarriageColours[t]);
    }
    drawSide(Emplanture);
}

void DrawingPart::drawOverlay(QPainter &p)
{
    const EditorState &st = m_ed.st;
    const MainWindowUi &ui = m_ed.ui;
    auto pointOf = [&](Side s, int32_t index, QPointF &out) {
        const auto &screen = st.view.screen(s);
        if (index < 1 || index > static_cast<int32_t>(screen.size()) || index > st.doc.count(s))
            return false;
        out = QPointF(screen[static_cast<size_t>(index - 1)].x, screen[static_cast<size_t>(index - 1)].y);
        return true;
    };
    const float h = marks::currentBoxHalfSide;
    for (Side s : kSides) {
        QPointF c;
        if (ui.chkAfficherPoints[static_cast<size_t>(s)]->isChecked() && pointOf(s, st.sel.current(s), c)) {
            p.setPen(QPen(qcolor(currentBoxColour(s)), 0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
        }
    }
    if (ui.chkFil->isEnabled() && ui.chkFil->isChecked() && ui.chkAfficherPoints[0]->isChecked() &&
        ui.chkAfficherPoints[1]->isChecked()) {
        const int32_t index = st.sel.current(st.sel.ProfilCourant);
        QPointF a, b;
        if (pointOf(Emplanture, index, a) && pointOf(Saumon, index, b)) {
            p.setPen(QPen(Qt::black, 0));
            p.drawLine(a, b);
            // With the machine shown, the wire runs on to both carriages.
            const auto &m = st.view.ecranMachine;
            if (index <= static_cast<int32_t>(m[0].size()) && index <= static_cast<int32_t>(m[1].size())) {
                const ViewPoint &c = m[0][static_cast<size_t>(index - 1)], &d = m[1][static_cast<size_t>(index - 1)];
                p.setPen(QPen(Qt::black, 0, Qt::DashLine));
                p.drawLine(QPointF(c.x, c.y), QPointF(d.x, d.y));
            }
        }
    }
    if (rubberBand) {
        p.setPen(QPen(Qt::black, 0, rubberBand->style));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rubberBand->rect.normalized());
    }
}

void DrawingPart::drawPointLists()
{
    const EditorState &st = m_ed.st;
    const QColor face = m_ed.window->palette().color(QPalette::Button);
    for (Side s : kSides) {
        const SidePanel &panel = m_ed.ui.side[static_cast<size_t>(s)];
        const auto lines = pointList(st.doc.points(s), st.sel.current(s), st.sel.SelectionActive);
        for (size_t k = 0; k < 5; ++k) {
            const PointListLine &l = lines[k];
            QColor back = face, fore = Qt::black;
            switch (l.colour) {
            case ListColour::Selected:
                back = qcolor(colours::selected);
                break;
            case ListColour::Reference:
                back = qcolor(colours::reference);
                break;
            case ListColour::Sync:
                back = qcolor(colours::sync);
                break;
            case ListColour::Plain:
                break;
            }
            if (l.whiteText())
                fore = Qt::white;
            for (QLabel *label : {static_cast<QLabel *>(panel.lblNumPt[k]), static_cast<QLabel *>(panel.lblCoordPt[k]),
                                  static_cast<QLabel *>(panel.lblCoordPt[k + 5])}) {
                QPalette pal = label->palette();
                pal.setColor(QPalette::Window, back);
                pal.setColor(QPalette::WindowText, fore);
                label->setPalette(pal);
            }
            panel.lblNumPt[k]->setText(QString::fromUtf8(l.number));
            panel.lblCoordPt[k]->setText(QString::fromUtf8(l.x));
            panel.lblCoordPt[k + 5]->setText(QString::fromUtf8(l.y));
        }
    }
}

} // namespace orv
