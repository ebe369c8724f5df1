// Point editing commands and the segment intersection. Every command works
// on a vector copy of a profile and writes it back only when it changed.
#include "core/point_editing.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr float kConfused = 0.01f;

bool selected(const PointProfil &p) { return p.has(kSelected); }

const char *atSide(Side s) { return s == Emplanture ? "à l'emplanture" : "au saumon"; }
const char *ofSide(Side s) { return s == Emplanture ? "de l'emplanture" : "du saumon"; }

std::string selectionTitle(Side s) { return std::string("Erreur de sélection ") + atSide(s); }

bool confused(const PointProfil &a, const PointProfil &b)
{
    return std::fabs(double(b.X) - a.X) < kConfused && std::fabs(double(b.Y) - a.Y) < kConfused;
}

// Inserts the crossing of the two selected segments of one profile, or says
// why not.
void intersectOneProfile(ProfilePoints &points, Side side, EditResult &result)
{
    std::vector<int32_t> sel; // 1-based numbers of the selected points
    points.forEach([&](int32_t i, const PointProfil &p) {
        if (selected(p))
            sel.push_back(i);
    });
    if (sel.empty())
        return;
    if (sel.size() != 4 || sel[1] != sel[0] + 1 || sel[3] != sel[2] + 1) {
        result.notices.push_back(
            critical("Il faut sélectionner quatre points consécutifs deux à deux.", selectionTitle(side)));
        return;
    }
    const PointProfil a1 = points[sel[0]], a2 = points[sel[1]];
    const PointProfil b1 = points[sel[2]], b2 = points[sel[3]];
    if (confused(a1, a2) || confused(b1, b2)) {
        result.notices.push_back(critical(
            "Deux points consécutifs sont confondus, impossible de définir un des deux segments.",
            selectionTitle(side)));
        return;
    }
    const Intersection x = intersectSegments(a1.X, a1.Y, a2.X, a2.Y, b1.X, b1.Y, b2.X, b2.Y);
    const std::string noCrossing = std::string("Pas d'intersection ") + atSide(side);
    if (x.code == kSegParallel) {
        result.notices.push_back(
            critical(std::string("Les deux segments ") + ofSide(side) + " sont parallèles.", noCrossing));
        return;
    }
    if (x.code == kSegOutside) {
        result.notices.push_back(
            critical(std::string("Les deux segments ") + ofSide(side) + " ne se touchent pas.", noCrossing));
        return;
    }
    points.insert(sel[3], PointProfil{x.X, x.Y, 0});
    result.changed[side] = true;
    if (x.code != kSegCrossing)
        result.notices.push_back(
            information("Attention, vous venez de créer un point superposé à un point existant",
                        std::string("Intersection en bout de segment ") + atSide(side)));
}

// Renumbers one profile; returns whether it changed.
bool renumberOneProfile(ProfilePoints &points, int32_t &current, bool closed)
{
    std::vector<PointProfil> pts = points.toVector();
    const auto selectedCount = std::count_if(pts.begin(), pts.end(), selected);
    if (selectedCount < 4 || current == 1 || current < 1 || current > static_cast<int32_t>(pts.size()))
        return false;
    if (closed) {
        pts.erase(pts.begin());
        --current;
    }
    // Positions (0-based) of the selected points, and how many stand at or
    // after the current point.
    std::vector<size_t> sel;
    size_t fromCurrent = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        if (selected(pts[i])) {
            sel.push_back(i);
            if (static_cast<int32_t>(i) + 1 >= current)
                ++fromCurrent;
        }
    }
    const PointProfil start = pts[static_cast<size_t>(current) - 1];
    if (!sel.empty()) {
        // r single-step rotations, each point taking the coordinates of the
        // previous selected one, are one rotation by r.
        std::vector<std::pair<float, float>> xy;
        xy.reserve(sel.size());
        for (size_t i : sel)
            xy.emplace_back(pts[i].X, pts[i].Y);
        const size_t r = fromCurrent % xy.size();
        std::rotate(xy.begin(), xy.end() - static_cast<std::ptrdiff_t>(r), xy.end());
        for (size_t k = 0; k < sel.size(); ++k) {
            pts[sel[k]].X = xy[k].first;
            pts[sel[k]].Y = xy[k].second;
        }
        pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(sel.back()) + 1, PointProfil{start.X, start.Y, kSelected});
    }
    points.assign(pts);
    return true;
}

} // namespace

Intersection intersectSegments(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4)
{
    const double ax = double(x2) - x1, ay = double(y2) - y1;
    const double bx = double(x3) - x4, by = double(y3) - y4; // B1 - B2
    const double cx = double(x3) - x1, cy = double(y3) - y1;
    const float d = static_cast<float>(ax * by - ay * bx);
    Intersection r;
    if (d == 0)
        return r;
    const float t = static_cast<float>((cx * by - cy * bx) / d);
    const float u = static_cast<float>((ax * cy - cx * ay) / d);
    if (t >= 0 && t <= 1 && u >= 0 && u <= 1) {
        if (t == 0)
            return {kSegAtA1, x1, y1};
        if (t == 1)
            return {kSegAtA2, x2, y2};
        if (u == 0)
            return {kSegAtB1, x3, y3};
        if (u == 1)
            return {kSegAtB2, x4, y4};
        r.code = kSegCrossing;
    } else {
        r.code = kSegOutside;
    }
    r.X = static_cast<float>(x1 + double(t) * ax);
    r.Y = static_cast<float>(y1 + double(t) * ay);
    return r;
}

EditResult deleteSelectedPoints(Profils &doc)
{
    EditResult result;
    for (Side s : kSides) {
        int32_t unselected = 0;
        doc.points(s).forEach([&](int32_t, const PointProfil &p) { unselected += selected(p) ? 0 : 1; });
        if (unselected < 2) {
            result.notices.push_back(critical("Il faut conserver au moins deux points non sélectionnés de chaque côté.",
                                              "Erreur de sélection"));
            return result;
        }
    }
    for (Side s : kSides) {
        const int32_t before = doc.count(s);
        doc.points(s).keepIf([](const PointProfil &p) { return !selected(p); });
        result.changed[s] = doc.count(s) != before;
    }
    return result;
}

EditResult insertMidPoints(Profils &doc)
{
    EditResult result;
    for (Side s : kSides) {
        ProfilePoints &points = doc.points(s);
        // Each mid-point with the number of the point it follows.
        std::vector<std::pair<int32_t, PointProfil>> mids;
        PointProfil previous;
        points.forEach([&](int32_t i, const PointProfil &p) {
            if (i > 1 && selected(previous) && selected(p))
                mids.emplace_back(i - 1, PointProfil{static_cast<float>((double(previous.X) + p.X) / 2),
                                                     static_cast<float>((double(previous.Y) + p.Y) / 2), 0});
            previous = p;
        });
        if (mids.empty())
            continue;
        result.changed[s] = true;
        if (mids.size() <= static_cast<size_t>(points.count()) / 64) {
            // A few points go in place, so that the storage they do not touch
            // stays shared with the undo history.
            for (auto it = mids.rbegin(); it != mids.rend(); ++it)
                points.insert(it->first + 1, it->second);
            continue;
        }
        const std::vector<PointProfil> pts = points.toVector();
        std::vector<PointProfil> out;
        out.reserve(pts.size() + mids.size());
        size_t next = 0;
        for (size_t i = 0; i < pts.size(); ++i) {
            out.push_back(pts[i]);
            if (next < mids.size() && mids[next].first == static_cast<int32_t>(i) + 1)
                out.push_back(mids[next++].second);
        }
        points.assign(out);
    }
    return result;
}

EditResult createIntersection(Profils &doc)
{
    EditResult result;
    for (Side s : kSides)
        intersectOneProfile(doc.points(s), s, result);
    return result;
}

EditResult renumberFromCurrent(Profils &doc, int32_t current[2], float closedTolerance)
{
    EditResult result;
    // Both closed tests come first, as they are measured before any change.
    bool closed[2] = {false, false};
    for (Side s : kSides) {
        const ProfilePoints &pts = doc.points(s);
        if (pts.empty())
            continue;
        const PointProfil &a = pts[1], &b = pts[pts.count()];
        const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
        closed[s] = std::sqrt(dx * dx + dy * dy) <= closedTolerance;
    }
    for (Side s : kSides)
        result.changed[s] = renumberOneProfile(doc.points(s), current[s], closed[s]);
    return result;
}

} // namespace orv
