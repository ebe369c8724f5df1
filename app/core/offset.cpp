// Profile offset: offset segments along the normal (dy/L, -dx/L), corners at
// the intersections of neighbouring offset segments, runs spliced back in.
#include "core/offset.h"

#include "core/point_editing.h"

#include <cmath>

namespace orv {

namespace {

constexpr float kConfused = 0.01f;

bool selected(const PointProfil &p) { return p.has(kSelected); }

// An offset segment as stored (32 bits) and the unit normal it came from.
struct Segment {
    float x1, y1, x2, y2;
    double nx, ny;
};

// The offset segment of a to b, or nothing when the two points are confused.
bool offsetSegment(const PointProfil &a, const PointProfil &b, double d, Segment &seg)
{
    const double dx = double(b.X) - a.X;
    const double dy = double(b.Y) - a.Y;
    if (std::fabs(dx) < kConfused && std::fabs(dy) < kConfused)
        return false;
    const double len = std::sqrt(dx * dx + dy * dy);
    seg.nx = dy / len;
    seg.ny = -dx / len;
    const double ox = d * seg.nx, oy = d * seg.ny;
    seg.x1 = static_cast<float>(a.X + ox);
    seg.y1 = static_cast<float>(a.Y + oy);
    seg.x2 = static_cast<float>(b.X + ox);
    seg.y2 = static_cast<float>(b.Y + oy);
    return true;
}

// The corner where offset line a meets offset line b, both at distance d
// from the vertex v that their segments share. The intersection code decides
// parallel or not, as the 32-bit segments give it. The point itself comes
// from the two lines, v + d (n_a + n_b) / (1 + n_a . n_b): intersecting the
// rounded segments of nearly collinear neighbours, as dense profiles have by
// the thousand, puts corners millimetres away along the path.
bool corner(const Segment &a, const Segment &b, const PointProfil &v, double d, float &x, float &y)
{
    const Intersection hit = intersectSegments(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2);
    if (hit.code == kSegParallel)
        return false;
    const double denominator = 1 + a.nx * b.nx + a.ny * b.ny;
    if (denominator > 0) {
        x = static_cast<float>(v.X + d * (a.nx + b.nx) / denominator);
        y = static_cast<float>(v.Y + d * (a.ny + b.ny) / denominator);
    } else {
        x = hit.X;
        y = hit.Y;
    }
    return true;
}

} // namespace

ProfileOffset offsetProfile(ProfilePoints &points, float d, Side side)
{
    ProfileOffset result;
    const std::vector<PointProfil> pts = points.toVector();
    const size_t n = pts.size();
    const bool closedSelection = n >= 2 && selected(pts[0]) && selected(pts[1]) && selected(pts[n - 2]) &&
                                 selected(pts[n - 1]) && pts[0].X == pts[n - 1].X && pts[0].Y == pts[n - 1].Y;

    std::vector<PointProfil> out;
    out.reserve(n + 8);
    std::vector<Segment> segs;
    size_t runs = 0;
    size_t i = 0;
    while (i < n) {
        if (!(selected(pts[i]) && i + 1 < n && selected(pts[i + 1]))) {
            out.push_back(pts[i++]);
            continue;
        }
        size_t e = i + 1;
        while (e + 1 < n && selected(pts[e + 1]))
            ++e;
        const size_t m = e - i;
        segs.resize(m);
        bool confused = false;
        for (size_t k = 0; k < m && !confused; ++k)
            confused = !offsetSegment(pts[i + k], pts[i + k + 1], d, segs[k]);
        if (confused) {
            result.notice = critical("Deux points consécutifs sont confondus, impossible de définir un des segments.",
                                     side == Emplanture ? "Erreur de sélection à l'emplanture"
                                                        : "Erreur de sélection au saumon");
            out.insert(out.end(), pts.begin() + static_cast<std::ptrdiff_t>(i), pts.end());
            break;
        }
        out.push_back(pts[i]);
        out.push_back({segs[0].x1, segs[0].y1, 0});
        for (size_t k = 0; k + 1 < m; ++k) {
            PointProfil q{segs[k + 1].x1, segs[k + 1].y1, 0}; // parallel: start of the next segment
            corner(segs[k], segs[k + 1], pts[i + k + 1], d, q.X, q.Y);
            out.push_back(q);
        }
        out.push_back({segs[m - 1].x2, segs[m - 1].y2, 0});
        out.push_back(pts[e]);
        ++runs;
        i = e + 1;
    }
    if (runs == 0) // nothing offset (no run, or the first one refused)
        return result;

    if (closedSelection && !result.notice) {
        // Reads p_1, q_1, q_2, ..., q_m, q_(m+1), p_N: close at the corner of
        // the last offset segment (q_m, q_(m+1)) and the first (q_1, q_2).
        const size_t last = out.size() - 1;
        Segment lastSeg{out[last - 2].X, out[last - 2].Y, out[last - 1].X, out[last - 1].Y, 0, 0};
        Segment firstSeg{out[1].X, out[1].Y, out[2].X, out[2].Y, 0, 0};
        Segment normals;
        offsetSegment(pts[n - 2], pts[n - 1], d, normals);
        lastSeg.nx = normals.nx;
        lastSeg.ny = normals.ny;
        offsetSegment(pts[0], pts[1], d, normals);
        firstSeg.nx = normals.nx;
        firstSeg.ny = normals.ny;
        float x = 0, y = 0;
        if (corner(lastSeg, firstSeg, pts[0], d, x, y)) {
            out[0].X = x;
            out[0].Y = y;
            out[last - 1] = {x, y, 0};
            out.pop_back();
            out.erase(out.begin() + 1);
        }
    }
    points.assign(out);
    result.changed = true;
    return result;
}

OffsetResult offsetSelection(Profils &doc, float d)
{
    OffsetResult result;
    for (Side s : kSides) {
        ProfileOffset r = offsetProfile(doc.points(s), d, s);
        result.changed[s] = r.changed;
        if (r.notice)
            result.notices.push_back(std::move(*r.notice));
    }
    return result;
}

} // namespace orv
