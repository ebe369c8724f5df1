// Projection, fit, zoom and screen mapping of the drawing area, and the
// arithmetic of the mouse gestures. Results are stored as 32-bit floats.
#include "core/view.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;

// The projection of a point of the plane at depth z.
struct Projector {
    Projector(double z, const ViewState &v)
        : sO(std::sin(double(v.Omega))), cO(std::cos(double(v.Omega))), sA(std::sin(double(v.Alpha))),
          cA(std::cos(double(v.Alpha))), zx(-z * cO), zy(z * sO * sA)
    {
    }
    ViewPoint operator()(float x, float y) const
    {
        const double mx = -static_cast<double>(x);
        return {static_cast<float>(mx * sO + zx), static_cast<float>(mx * cO * sA + y * cA + zy)};
    }
    double sO, cO, sA, cA, zx, zy;
};

struct BoxBuilder {
    bool has = false;
    float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    void add(const ViewPoint &p)
    {
        if (!has) {
            has = true;
            xmin = xmax = p.x;
            ymin = ymax = p.y;
        }
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    ViewBox box() const { return has ? ViewBox{true, xmin, xmax, ymin, ymax} : ViewBox{}; }
};

void projectSide(const ProfilePoints &points, double z, const ViewState &v, std::vector<ViewPoint> &out,
                 ViewBox &box)
{
    out.resize(static_cast<size_t>(points.count()));
    const Projector project(z, v);
    BoxBuilder b;
    points.forEachRun([&](int32_t first, std::span<const PointProfil> run) {
        ViewPoint *o = out.data() + (first - 1);
        for (const PointProfil &p : run) {
            *o = project(p.X, p.Y);
            b.add(*o++);
        }
    });
    box = b.box();
}

void projectPath(const std::vector<CarriagePoint> &points, double z, const ViewState &v, std::vector<ViewPoint> &out,
                 BoxBuilder &b)
{
    out.resize(points.size());
    const Projector project(z, v);
    for (size_t i = 0; i < points.size(); ++i) {
        out[i] = project(points[i].x, points[i].y);
        b.add(out[i]);
    }
}

void unite(ViewBox &into, const ViewBox &other)
{
    if (!other.has)
        return;
    if (!into.has) {
        into = other;
        return;
    }
    into.XMin = std::min(into.XMin, other.XMin);
    into.XMax = std::max(into.XMax, other.XMax);
    into.YMin = std::min(into.YMin, other.YMin);
    into.YMax = std::max(into.YMax, other.YMax);
}

void mapSide(const std::vector<ViewPoint> &in, const ViewState &v, std::vector<ViewPoint> &out)
{
    out.resize(in.size());
    const double c = v.CoeffZoom, xc = v.XCentreZoom, yc = v.YCentreZoom;
    const double dl = v.DemiLargeur, dh = v.DemiHauteur, h = v.HauteurImage;
    for (size_t i = 0; i < in.size(); ++i) {
        out[i].x = static_cast<float>((in[i].x - xc) * c + dl);
        out[i].y = static_cast<float>(h - ((in[i].y - yc) * c + dh));
    }
}

} // namespace

void View::setPictureSize(float width, float height)
{
    state.LargeurImage = width;
    state.HauteurImage = height;
    state.DemiLargeur = width / 2;
    state.DemiHauteur = height / 2;
}

void View::setAngles(int32_t omegaDeg, int32_t alphaDeg)
{
    state.hscOmega = omegaDeg;
    state.hscAlpha = alphaDeg;
}

void View::resetZoomRectangle()
{
    state.RectangleZoom = {0, 0, state.LargeurImage, state.HauteurImage};
}

void View::project(const Profils &doc, const ShowFlags &show, const ProfilePoints *intermediate,
                   float intermediateSpacing)
{
    state.Omega = static_cast<float>(state.hscOmega * kPi / 180);
    state.Alpha = static_cast<float>(state.hscAlpha * kPi / 180);
    projectSide(doc.PointsE, 0, state, vueE, boxE);
    projectSide(doc.PointsS, doc.Ecartement, state, vueS, boxS);
    boxBoth = boxE;
    unite(boxBoth, boxS);
    projectMachine(doc, show);
    if (intermediate && show.intermediate) {
        ViewBox ignored;
        projectSide(*intermediate, intermediateSpacing, state, vueI, ignored);
    } else {
        vueI.clear();
        ecranI.clear();
    }
}

// The zoom that fits a width and height into the picture less its margins;
// 0 when it cannot be formed. A picture narrower than its margins uses its
// whole size rather than a negative one, which would mirror the drawing.
float View::coefficientFor(float width, float height) const
{
    auto room = [this](float size) {
        const float r = size - 2 * state.MargeZoom;
        return r > 0 ? r : size;
    };
    const float rw = room(state.LargeurImage), rh = room(state.HauteurImage);
    const bool wOk = width > 0 && std::isfinite(width), hOk = height > 0 && std::isfinite(height);
    if (wOk && hOk) {
        if (rw <= 0 || rh <= 0)
            return 0;
        const float zx = rw / width;
        const float zy = rh / height;
        return zy <= zx ? zy : zx;
    }
    if (hOk)
        return rh > 0 ? rh / height : 0;
    if (wOk)
        return rw > 0 ? rw / width : 0;
    return 0;
}

void View::fit(const ShowFlags &show)
{
    const bool e = show.shown(Emplanture), s = show.shown(Saumon);
    const ViewBox *box = &boxBoth;
    if (e && !s && boxE.has)
        box = &boxE;
    else if (s && !e && boxS.has)
        box = &boxS;
    if (box->has) {
        state.XCentreZoom = (box->XMin + box->XMax) / 2;
        state.YCentreZoom = (box->YMin + box->YMax) / 2;
        const float w = box->width(), h = box->height();
        if (w == 0 && h == 0) {
            state.CoeffZoom = 1;
        } else {
            const float c = coefficientFor(w, h);
            if (c > 0)
                state.CoeffZoom = c;
        }
    }
    mapToScreen();
}

// The carriage paths count in the fit of both profiles, so that "Ajuster"
// shows how far the towers carry the wire.
void View::projectMachine(const Profils &doc, const ShowFlags &show)
{
    if (show.machine)
        computeCarriagePaths(doc, *show.machine, carriages);
    if (!show.machine || carriages.empty()) {
        for (size_t k = 0; k < 2; ++k) {
            vueMachine[k].clear();
            ecranMachine[k].clear();
        }
        return;
    }
    BoxBuilder b;
    projectPath(carriages.first, carriages.planes.first, state, vueMachine[0], b);
    projectPath(carriages.second, carriages.planes.second, state, vueMachine[1], b);
    unite(boxBoth, b.box());
}

void View::mapToScreen()
{
    mapSide(vueE, state, ecranE);
    mapSide(vueS, state, ecranS);
    mapSide(vueI, state, ecranI);
    for (size_t k = 0; k < 2; ++k)
        mapSide(vueMachine[k], state, ecranMachine[k]);
}

void View::rebuild(const Profils &doc, const ShowFlags &show, const ProfilePoints *intermediate,
                   float intermediateSpacing)
{
    project(doc, show, intermediate, intermediateSpacing);
    fit(show);
}

void View::refreshKeepingZoom(const Profils &doc, const ShowFlags &show, const ProfilePoints *intermediate,
                              float intermediateSpacing)
{
    project(doc, show, intermediate, intermediateSpacing);
    mapToScreen();
}

bool View::zoomBarChanged(int32_t value)
{
    if (state.GardeZoom) {
        state.ValeurZoomPrecedente = value;
        return false;
    }
    resetZoomRectangle();
    const int32_t d = value - state.ValeurZoomPrecedente;
    if (d > 0)
        state.CoeffZoom = static_cast<float>(state.CoeffZoom * 1.1 * d);
    else if (d < 0)
        state.CoeffZoom = static_cast<float>(state.CoeffZoom * 0.9 * -d);
    mapToScreen();
    state.ValeurZoomPrecedente = value;
    return d != 0;
}

ViewPoint View::screenToProjected(float x, float y) const
{
    const double c = state.CoeffZoom;
    return {static_cast<float>((x - static_cast<double>(state.DemiLargeur)) / c + state.XCentreZoom),
            static_cast<float>((static_cast<double>(state.HauteurImage) - y - state.DemiHauteur) / c +
                               state.YCentreZoom)};
}

bool View::zoomToRectangle(float x1, float y1, float x2, float y2)
{
    const ViewPoint a = screenToProjected(x1, y1), b = screenToProjected(x2, y2);
    const float w = std::fabs(a.x - b.x), h = std::fabs(a.y - b.y);
    if (!(w > 0) || !(h > 0))
        return false;
    const float c = coefficientFor(w, h);
    if (!(c > 0))
        return false;
    state.RectangleZoom = {a.x, a.y, b.x, b.y};
    state.XCentreZoom = (a.x + b.x) / 2;
    state.YCentreZoom = (a.y + b.y) / 2;
    state.CoeffZoom = c;
    mapToScreen();
    return true;
}

void View::panBy(float dx, float dy)
{
    state.XCentreZoom = static_cast<float>(state.XCentreZoom - static_cast<double>(dx) / state.CoeffZoom);
    state.YCentreZoom = static_cast<float>(state.YCentreZoom + static_cast<double>(dy) / state.CoeffZoom);
}

void View::shiftScreen(float dx, float dy)
{
    for (auto *pts : {&ecranE, &ecranS, &ecranMachine[0], &ecranMachine[1]})
        for (ViewPoint &p : *pts) {
            p.x += dx;
            p.y += dy;
        }
}

void View::shiftSelectedScreen(const Profils &doc, float dx, float dy)
{
    for (Side s : kSides) {
        std::vector<ViewPoint> &pts = screen(s);
        doc.points(s).forEach([&](int32_t i, const PointProfil &p) {
            if (p.has(kSelected) && static_cast<size_t>(i) <= pts.size()) {
                pts[static_cast<size_t>(i - 1)].x += dx;
                pts[static_cast<size_t>(i - 1)].y += dy;
            }
        });
    }
}

HitList View::hitClick(float x, float y, const ShowFlags &show, float tolerance) const
{
    HitList hits;
    for (Side s : kSides) {
        if (!show.points(s))
            continue;
        const std::vector<ViewPoint> &pts = screen(s);
        for (size_t i = 0; i < pts.size(); ++i)
            if (std::fabs(pts[i].x - x) < tolerance && std::fabs(pts[i].y - y) < tolerance)
                hits.side(s).push_back(static_cast<int32_t>(i + 1));
    }
    return hits;
}

HitList View::hitRectangle(float x1, float y1, float x2, float y2, const ShowFlags &show) const
{
    const float left = std::min(x1, x2), right = std::max(x1, x2);
    const float top = std::min(y1, y2), bottom = std::max(y1, y2);
    HitList hits;
    for (Side s : kSides) {
        if (!show.points(s))
            continue;
        const std::vector<ViewPoint> &pts = screen(s);
        for (size_t i = 0; i < pts.size(); ++i)
            if (pts[i].x >= left && pts[i].x <= right && pts[i].y >= top && pts[i].y <= bottom)
                hits.side(s).push_back(static_cast<int32_t>(i + 1));
    }
    return hits;
}

bool applyToggles(Profils &doc, const HitList &hits, int16_t bit, int32_t &currentE, int32_t &currentS)
{
    bool changed = false;
    for (Side s : kSides) {
        ProfilePoints &points = doc.points(s);
        for (int32_t i : hits.side(s)) {
            if (i < 1 || i > points.count())
                continue;
            PointProfil &p = points.edit(i);
            p.Flags = static_cast<int16_t>(p.Flags ^ bit);
            (s == Emplanture ? currentE : currentS) = i;
            changed = true;
        }
    }
    return changed;
}

int32_t dragSelected(Profils &doc, float dx, float dy, float coeff)
{
    if (!(coeff != 0) || !std::isfinite(coeff))
        return 0;
    int32_t moved = 0;
    for (Side s : kSides)
        doc.points(s).forEachEdit([&](int32_t, PointProfil &p) {
            if (!p.has(kSelected))
                return;
            p.X = static_cast<float>(p.X - static_cast<double>(dx) / coeff);
            p.Y = static_cast<float>(p.Y + static_cast<double>(dy) / coeff);
            ++moved;
        });
    return moved;
}

bool bitCentre(const ProfilePoints &points, const std::vector<ViewPoint> &screen, int16_t bit, ViewPoint &centre)
{
    double sx = 0, sy = 0;
    int32_t n = 0;
    points.forEach([&](int32_t i, const PointProfil &p) {
        if (p.has(bit) && static_cast<size_t>(i) <= screen.size()) {
            sx += screen[static_cast<size_t>(i - 1)].x;
            sy += screen[static_cast<size_t>(i - 1)].y;
            ++n;
        }
    });
    if (n == 0)
        return false;
    centre = {static_cast<float>(sx / n), static_cast<float>(sy / n)};
    return true;
}

} // namespace orv
