// The picture of the drawing area (profiles, marks, surface, intermediate
// profile, background image), its overlay (current points, wire, rubber
// band) and the two five-line point lists. Everything reads the screen
// arrays of the view; nothing is recomputed per paint.
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

// Consecutive segments of one colour go out as one polyline.
void drawSegments(QPainter &p, const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t active,
                  Side side)
{
    const int32_t n = std::min<int32_t>(points.count(), static_cast<int32_t>(screen.size()));
    if (n < 2)
        return;
    QPolygonF run;
    Rgb runColour = profileColour(side);
    auto flush = [&] {
        if (run.size() >= 2) {
            p.setPen(QPen(qcolor(runColour), 0));
            p.drawPolyline(run);
        }
        run.clear();
    };
    const PointProfil *prev = nullptr;
    QPointF previousPoint;
    points.forEach([&](int32_t i, const PointProfil &pt) {
        if (i > n)
            return;
        const ViewPoint &v = screen[static_cast<size_t>(i - 1)];
        const QPointF here(v.x, v.y);
        if (prev) {
            const Rgb c = segmentColour(*prev, pt, active, side);
            if (run.isEmpty() || !(c == runColour)) {
                flush();
                run.append(previousPoint);
                runColour = c;
            }
            run.append(here);
        }
        previousPoint = here;
        prev = &pt;
    });
    flush();
}

// Point squares grouped by colour and size, drawn as outlines.
void drawMarks(QPainter &p, const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t active, Side side)
{
    const int32_t n = std::min<int32_t>(points.count(), static_cast<int32_t>(screen.size()));
    if (n < 1)
        return;
    struct Group {
        PointMark mark;
        QVector<QRectF> rects;
    };
    std::vector<Group> groups;
    points.forEach([&](int32_t i, const PointProfil &pt) {
        if (i > n)
            return;
        const PointMark m = pointMark(pt, active, side);
        Group *g = nullptr;
        for (Group &candidate : groups)
            if (candidate.mark.halfSide == m.halfSide && candidate.mark.colour == m.colour)
                g = &candidate;
        if (!g) {
            groups.push_back({m, {}});
            g = &groups.back();
            g->rects.reserve(n);
        }
        const ViewPoint &s = screen[static_cast<size_t>(i - 1)];
        g->rects.append(QRectF(s.x - m.halfSide, s.y - m.halfSide, 2 * m.halfSide, 2 * m.halfSide));
    });
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    for (const Group &g : groups) {
        p.setPen(QPen(qcolor(g.mark.colour), 0));
        p.drawRects(g.rects);
    }
    p.restore();

    // Start marker: where the profile begins and which way it runs.
    if (n >= 2) {
        const ViewPoint &a = screen[0];
        const ViewPoint &b = screen[1];
        if (!(points[1].X == points[2].X && points[1].Y == points[2].Y)) {
            const QColor c = qcolor(profileColour(side));
            QPen wide(c, 2);
            wide.setCosmetic(true); // two pixels wide whatever the zoom
            p.setPen(wide);
            p.setBrush(c);
            p.drawEllipse(QPointF(a.x, a.y), marks::startCircleRadius, marks::startCircleRadius);
            const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
            if (len > 0)
                p.drawLine(QPointF(a.x, a.y), QPointF(a.x + dx / len * marks::startLineLength,
                                                      a.y + dy / len * marks::startLineLength));
            p.setBrush(Qt::NoBrush);
        }
    }
    // The mean of the reference points while that layer is active.
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

    auto drawSide = [&](Side s) {
        const size_t i = static_cast<size_t>(s);
        if (ui.chkAfficherProfil[i]->isChecked())
            drawSegments(p, st.doc.points(s), st.view.screen(s), active, s);
        if (ui.chkAfficherPoints[i]->isChecked())
            drawMarks(p, st.doc.points(s), st.view.screen(s), active, s);
    };
    drawSide(Saumon);
    if (ui.chkProfilIntermediaire->isChecked() && st.view.ecranI.size() >= 2) {
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(st.view.ecranI.size()));
        for (const ViewPoint &v : st.view.ecranI)
            line.append(QPointF(v.x, v.y));
        p.setPen(QPen(qcolor(colours::intermediate), 0));
        p.drawPolyline(line);
    }
    if (ui.chkSurface->isEnabled() && ui.chkSurface->isChecked()) {
        const size_t n = std::min(st.view.ecranE.size(), st.view.ecranS.size());
        QVector<QLineF> lines;
        lines.reserve(static_cast<qsizetype>(n));
        for (size_t k = 0; k < n; ++k)
            lines.append(QLineF(st.view.ecranE[k].x, st.view.ecranE[k].y, st.view.ecranS[k].x, st.view.ecranS[k].y));
        p.setPen(QPen(qcolor(colours::surface), 0));
        p.drawLines(lines);
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
