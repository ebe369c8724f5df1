// Raw offset curve of one contour, loops cut at its self-crossings, and the
// segment hierarchy used to check loops against their source.
#include "tools/offset_raw.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace vx {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kArcPointsMax = 256; // an arc whose ends are more than 123 units apart gets no more points

struct Segment {
    Node s, e; // offset start and end
};

bool sameSpot(const Node &a, const Node &b, double tol)
{
    const double dx = std::fabs(a.x - b.x), dy = std::fabs(a.y - b.y);
    return (dx == 0 && dy == 0) || (dx < tol && dy < tol);
}

} // namespace

std::vector<Node> distinctVertices(const std::vector<Node> &pts, bool closed, double tol)
{
    std::vector<Node> v;
    const size_t n = closed && pts.size() >= 2 ? pts.size() - 1 : pts.size();
    for (size_t i = 0; i < n; ++i) {
        const Node &p = pts[i];
        if (!v.empty() && sameSpot(v.back(), p, tol)) {
            if (v.back().x == p.x && v.back().y == p.y) {
                v.back().keep = std::max(v.back().keep, p.keep);
                continue;
            }
            if (p.keep != kKeep)
                continue;
        }
        v.push_back(p);
    }
    while (closed && v.size() > 1 && sameSpot(v.back(), v.front(), tol)) {
        if (v.back().x == v.front().x && v.back().y == v.front().y)
            v.front().keep = std::max(v.front().keep, v.back().keep);
        else if (v.back().keep == kKeep)
            break;
        v.pop_back();
    }
    return v;
}

namespace {

// The crossing of two segments strictly inside both, with its parameters.
// The margin is far finer than the 1e-6 of intersectSegments: on a side a
// million times longer than the offset, the corner crossing lies at 1e-6.
bool crossAt(const Node &p1, const Node &p2, const Node &p3, const Node &p4, double &s, double &t)
{
    const double d = (p2.x - p1.x) * (p4.y - p3.y) - (p2.y - p1.y) * (p4.x - p3.x);
    if (d == 0)
        return false;
    s = ((p3.x - p1.x) * (p4.y - p3.y) - (p3.y - p1.y) * (p4.x - p3.x)) / d;
    t = ((p3.x - p1.x) * (p2.y - p1.y) - (p3.y - p1.y) * (p2.x - p1.x)) / d;
    constexpr double lo = 1e-12, hi = 1 - 1e-12;
    return s > lo && s < hi && t > lo && t < hi;
}

Segment offsetSegment(const Node &p, const Node &q, double m)
{
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double len = std::hypot(dx, dy);
    const double nx = dy / len * m, ny = -dx / len * m;
    return {Node{p.x + nx, p.y + ny, 0, p.keep}, Node{q.x + nx, q.y + ny, 0, q.keep}};
}

// Joins the offset segments on either side of vertex v: at their crossing;
// else, on the outer side of the turn, with an arc of radius |m| around v
// (the outer way round at a half turn). On the inner side the join goes
// through v itself: that stretch lies inside the band and is cut away, and
// passing through v keeps it plainly apart from the valid loops.
void join(std::vector<Node> &out, const Segment &prev, const Segment &next, const Node &v, double m, double &sagitta)
{
    if (v.keep == kKeep) {
        out.push_back(Node{prev.e.x, prev.e.y, 0, kKeep});
        out.push_back(Node{next.s.x, next.s.y, 0, kKeep});
        return;
    }
    double sp = 0, sn = 0;
    if (crossAt(prev.s, prev.e, next.s, next.e, sp, sn)) {
        out.push_back(Node{prev.s.x + sp * (prev.e.x - prev.s.x), prev.s.y + sp * (prev.e.y - prev.s.y), 0, 0});
        return;
    }
    out.push_back(Node{prev.e.x, prev.e.y, 0, 0});
    if (prev.e.x == next.s.x && prev.e.y == next.s.y)
        return;
    const double a0 = std::atan2(prev.e.y - v.y, prev.e.x - v.x);
    const double a1 = std::atan2(next.s.y - v.y, next.s.x - v.x);
    double sweep = std::remainder(a1 - a0, 2 * kPi);
    if (std::fabs(sweep) > kPi - 1e-9)
        sweep = m > 0 ? std::fabs(sweep) : -std::fabs(sweep);
    if (sweep * m < 0) {
        out.push_back(Node{v.x, v.y, 0, 0});
        out.push_back(Node{next.s.x, next.s.y, 0, 0});
        return;
    }
    const double gap = std::hypot(next.s.x - prev.e.x, next.s.y - prev.e.y);
    const int inner = static_cast<int>(std::min<double>(2 * std::floor(std::min(gap, 1e9)) + 10, kArcPointsMax));
    const double r = std::fabs(m);
    sagitta = std::max(sagitta, r * (1 - std::cos(sweep / (2.0 * (inner + 1)))));
    for (int i = 1; i <= inner; ++i) {
        const double a = a0 + sweep * i / (inner + 1);
        out.push_back(Node{v.x + r * std::cos(a), v.y + r * std::sin(a), 0, 0});
    }
    out.push_back(Node{next.s.x, next.s.y, 0, 0});
}

} // namespace

std::vector<Node> rawOffset(const std::vector<Node> &v, bool closed, double m, double *sagitta)
{
    double deepest = 0;
    if (v.size() <= 1)
        return v;
    const size_t k = v.size();
    const size_t segments = closed ? k : k - 1;
    std::vector<Segment> seg(segments);
    for (size_t s = 0; s < segments; ++s)
        seg[s] = offsetSegment(v[s], v[(s + 1) % k], m);
    std::vector<Node> out;
    out.reserve(segments * 12);
    if (closed) {
        for (size_t j = 0; j < k; ++j)
            join(out, seg[(j + k - 1) % k], seg[j], v[j], m, deepest);
        out.push_back(out.front());
    } else {
        out.push_back(Node{seg[0].s.x, seg[0].s.y, 0, v[0].keep});
        for (size_t j = 1; j + 1 < k; ++j)
            join(out, seg[j - 1], seg[j], v[j], m, deepest);
        out.push_back(Node{seg.back().e.x, seg.back().e.y, 0, v.back().keep});
    }
    if (sagitta)
        *sagitta = deepest;
    return out;
}

namespace {

struct Crossing {
    uint32_t i, j; // segments, i < j
    double si, tj; // parameters along each
    double x, y;
};

// Every crossing of two segments that are not neighbours: the boxes of runs
// of consecutive segments form a hierarchy, joined with itself, so that only
// segments whose boxes meet are tested, however uneven their lengths.
std::vector<Crossing> selfCrossings(const std::vector<Node> &poly, bool closed, const std::vector<char> &dropped)
{
    std::vector<Crossing> found;
    const size_t segs = poly.size() - 1;
    constexpr size_t kRun = 8;
    struct Box {
        double x0, y0, x1, y1;
    };
    auto meets = [](const Box &a, const Box &b) { return !(a.x1 < b.x0 || b.x1 < a.x0 || a.y1 < b.y0 || b.y1 < a.y0); };
    auto isDropped = [&](size_t seg) { return !dropped.empty() && dropped[seg]; };
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<std::vector<Box>> levels(1);
    for (size_t first = 0; first < segs; first += kRun) {
        Box b{kInf, kInf, -kInf, -kInf}; // meets nothing while empty
        for (size_t i = first; i < std::min(segs, first + kRun); ++i) {
            if (isDropped(i))
                continue;
            for (const Node *p : {&poly[i], &poly[i + 1]})
                b = {std::min(b.x0, p->x), std::min(b.y0, p->y), std::max(b.x1, p->x), std::max(b.y1, p->y)};
        }
        levels[0].push_back(b);
    }
    while (levels.back().size() > 1) {
        const std::vector<Box> &below = levels.back();
        std::vector<Box> up((below.size() + 1) / 2);
        for (size_t k = 0; k < up.size(); ++k) {
            up[k] = below[2 * k];
            if (2 * k + 1 < below.size()) {
                const Box &o = below[2 * k + 1];
                up[k] = {std::min(up[k].x0, o.x0), std::min(up[k].y0, o.y0), std::max(up[k].x1, o.x1), std::max(up[k].y1, o.y1)};
            }
        }
        levels.push_back(std::move(up));
    }
    auto adjacent = [&](size_t a, size_t b) { return b - a == 1 || (closed && a == 0 && b == segs - 1); };
    auto testRuns = [&](size_t ra, size_t rb) {
        for (size_t a = ra * kRun; a < std::min(segs, (ra + 1) * kRun); ++a)
            for (size_t b = ra == rb ? a + 1 : rb * kRun; b < std::min(segs, (rb + 1) * kRun); ++b) {
                if (adjacent(a, b) || isDropped(a) || isDropped(b))
                    continue;
                const Node &p1 = poly[a], &p2 = poly[a + 1], &p3 = poly[b], &p4 = poly[b + 1];
                if (std::max(p1.x, p2.x) < std::min(p3.x, p4.x) || std::max(p3.x, p4.x) < std::min(p1.x, p2.x) ||
                    std::max(p1.y, p2.y) < std::min(p3.y, p4.y) || std::max(p3.y, p4.y) < std::min(p1.y, p2.y))
                    continue;
                double s = 0, t = 0;
                if (crossAt(p1, p2, p3, p4, s, t))
                    found.push_back({static_cast<uint32_t>(a), static_cast<uint32_t>(b), s, t,
                                     p1.x + s * (p2.x - p1.x), p1.y + s * (p2.y - p1.y)});
            }
    };
    struct Pair {
        size_t level, a, b; // a <= b
    };
    std::vector<Pair> stack = {{levels.size() - 1, 0, 0}};
    while (!stack.empty()) {
        const Pair p = stack.back();
        stack.pop_back();
        if (!meets(levels[p.level][p.a], levels[p.level][p.b]))
            continue;
        if (p.level == 0) {
            testRuns(p.a, p.b);
            continue;
        }
        const size_t count = levels[p.level - 1].size();
        for (size_t ca = 2 * p.a; ca < std::min(count, 2 * p.a + 2); ++ca)
            for (size_t cb = p.a == p.b ? ca : 2 * p.b; cb < std::min(count, 2 * p.b + 2); ++cb)
                stack.push_back({p.level - 1, ca, cb});
    }
    return found;
}

// A stretch of the polyline between two crossings (or its ends). A crossing
// has two occurrences, 2c on its first segment and 2c + 1 on its second.
struct Piece {
    std::vector<Node> pts;
    int64_t from = -1, to = -1; // occurrences at the ends, -1 for the polyline's own ends
    bool dropped = false;       // runs along a dropped segment
    bool kept = false;
    int64_t next = -1;
    bool hasPrevious = false;
    bool used = false;
};

std::vector<Piece> splitAtCrossings(const std::vector<Node> &poly, bool closed, const std::vector<Crossing> &crossings,
                                    const std::vector<char> &dropped)
{
    struct Stop {
        double t;
        int64_t occurrence;
    };
    std::vector<std::vector<Stop>> stops(poly.size());
    for (size_t c = 0; c < crossings.size(); ++c) {
        stops[crossings[c].i].push_back({crossings[c].si, static_cast<int64_t>(2 * c)});
        stops[crossings[c].j].push_back({crossings[c].tj, static_cast<int64_t>(2 * c + 1)});
    }
    std::vector<Piece> pieces(1);
    for (size_t s = 0; s < poly.size(); ++s) {
        pieces.back().pts.push_back(poly[s]);
        const bool segmentDropped = s < dropped.size() && dropped[s];
        pieces.back().dropped = pieces.back().dropped || segmentDropped;
        auto &list = stops[s];
        std::sort(list.begin(), list.end(), [](const Stop &a, const Stop &b) { return a.t < b.t; });
        for (const Stop &stop : list) {
            const Crossing &c = crossings[static_cast<size_t>(stop.occurrence / 2)];
            const Node x{c.x, c.y, 0, 0};
            pieces.back().pts.push_back(x);
            pieces.back().to = stop.occurrence;
            pieces.emplace_back();
            pieces.back().pts.push_back(x);
            pieces.back().from = stop.occurrence;
            pieces.back().dropped = segmentDropped;
        }
    }
    if (closed && pieces.size() > 1) {
        // The start of a closed polyline is no end: its first and last
        // pieces are one.
        Piece &first = pieces.front();
        Piece last = std::move(pieces.back());
        pieces.pop_back();
        last.pts.insert(last.pts.end(), first.pts.begin() + 1, first.pts.end());
        last.to = first.to;
        last.dropped = last.dropped || first.dropped;
        first = std::move(last);
    }
    return pieces;
}

} // namespace

std::vector<std::vector<Node>> cutLoops(const std::vector<Node> &poly, bool closed,
                                        const std::function<bool(const std::vector<Node> &)> &keep,
                                        const std::vector<char> &dropped, int side)
{
    std::vector<std::vector<Node>> loops;
    const std::vector<Crossing> crossings =
        poly.size() < 4 ? std::vector<Crossing>{} : selfCrossings(poly, closed, dropped);
    std::vector<Piece> pieces = splitAtCrossings(poly, closed, crossings, dropped);
    std::vector<int64_t> ending(2 * crossings.size(), -1), starting(2 * crossings.size(), -1);
    for (size_t p = 0; p < pieces.size(); ++p) {
        Piece &piece = pieces[p];
        piece.kept = !piece.dropped && keep(piece.pts);
        if (piece.to >= 0)
            ending[static_cast<size_t>(piece.to)] = static_cast<int64_t>(p);
        if (piece.from >= 0)
            starting[static_cast<size_t>(piece.from)] = static_cast<int64_t>(p);
    }
    auto kept = [&](int64_t p) { return p >= 0 && pieces[static_cast<size_t>(p)].kept; };
    auto link = [&](int64_t a, int64_t b) {
        pieces[static_cast<size_t>(a)].next = b;
        pieces[static_cast<size_t>(b)].hasPrevious = true;
    };
    for (size_t c = 0; c < crossings.size(); ++c) {
        const Crossing &x = crossings[c];
        const int64_t inA = ending[2 * c], inB = ending[2 * c + 1];
        const int64_t outA = starting[2 * c], outB = starting[2 * c + 1];
        const bool turnA = kept(inA) && kept(outB), turnB = kept(inB) && kept(outA);
        // Turning from strand A onto strand B: left when positive.
        const double turn = (poly[x.i + 1].x - poly[x.i].x) * (poly[x.j + 1].y - poly[x.j].y) -
                            (poly[x.i + 1].y - poly[x.i].y) * (poly[x.j + 1].x - poly[x.j].x);
        const bool awayA = side == 0 || turn * side < 0, awayB = side == 0 || -turn * side < 0;
        if (turnA && turnB) {
            link(inA, outB);
            link(inB, outA);
        } else if (turnA && awayA) {
            link(inA, outB);
        } else if (turnB && awayB) {
            link(inB, outA);
        } else {
            if (kept(inA) && kept(outA))
                link(inA, outA);
            if (kept(inB) && kept(outB))
                link(inB, outB);
        }
    }
    // A chain closes on itself, or, for an open polyline, runs from its
    // start to its end; anything else is left over from a dropped piece.
    auto follow = [&](size_t first) {
        std::vector<Node> pts = pieces[first].pts;
        pieces[first].used = true;
        size_t last = first;
        int64_t p = pieces[first].next;
        while (p >= 0 && !pieces[static_cast<size_t>(p)].used) {
            Piece &piece = pieces[static_cast<size_t>(p)];
            piece.used = true;
            pts.insert(pts.end(), piece.pts.begin() + 1, piece.pts.end());
            last = static_cast<size_t>(p);
            p = piece.next;
        }
        const bool closes = p == static_cast<int64_t>(first) || (closed && crossings.empty());
        const bool runsThrough = !closed && pieces[first].from < 0 && pieces[last].to < 0;
        if (closes || runsThrough)
            loops.push_back(std::move(pts));
    };
    for (size_t p = 0; p < pieces.size(); ++p)
        if (pieces[p].kept && !pieces[p].hasPrevious && !pieces[p].used)
            follow(p);
    for (size_t p = 0; p < pieces.size(); ++p)
        if (pieces[p].kept && !pieces[p].used)
            follow(p);
    return loops;
}

SegmentIndex::SegmentIndex(const std::vector<Node> &pts) : m_pts(pts)
{
    if (m_pts.size() == 1)
        m_pts.push_back(m_pts.front());
    m_segments = m_pts.empty() ? 0 : m_pts.size() - 1;
    if (m_segments == 0)
        return;
    std::vector<Box> level((m_segments + kLeaf - 1) / kLeaf);
    for (size_t b = 0; b < level.size(); ++b) {
        Box box{m_pts[b * kLeaf].x, m_pts[b * kLeaf].y, m_pts[b * kLeaf].x, m_pts[b * kLeaf].y};
        for (size_t i = b * kLeaf; i <= std::min(m_segments, (b + 1) * kLeaf); ++i) {
            box.x0 = std::min(box.x0, m_pts[i].x);
            box.y0 = std::min(box.y0, m_pts[i].y);
            box.x1 = std::max(box.x1, m_pts[i].x);
            box.y1 = std::max(box.y1, m_pts[i].y);
        }
        level[b] = box;
    }
    m_levels.push_back(std::move(level));
    while (m_levels.back().size() > 1) {
        const std::vector<Box> &below = m_levels.back();
        std::vector<Box> up((below.size() + 1) / 2);
        for (size_t b = 0; b < up.size(); ++b) {
            up[b] = below[2 * b];
            if (2 * b + 1 < below.size()) {
                const Box &o = below[2 * b + 1];
                up[b] = {std::min(up[b].x0, o.x0), std::min(up[b].y0, o.y0), std::max(up[b].x1, o.x1),
                         std::max(up[b].y1, o.y1)};
            }
        }
        m_levels.push_back(std::move(up));
    }
}

// Depth-first through the boxes that `near` accepts; true as soon as `test`
// holds for a segment of an accepted leaf. Each level leaves at most one
// sibling waiting, so the stack never outgrows the levels.
template <typename Near, typename Test> bool SegmentIndex::search(Near &&near, Test &&test) const
{
    if (m_levels.empty())
        return false;
    struct Item {
        size_t level, index;
    };
    Item stack[2 * kMaxLevels];
    size_t top = 0;
    stack[top++] = {m_levels.size() - 1, 0};
    while (top > 0) {
        const Item it = stack[--top];
        if (!near(m_levels[it.level][it.index]))
            continue;
        if (it.level == 0) {
            for (size_t s = it.index * kLeaf; s < std::min(m_segments, (it.index + 1) * kLeaf); ++s)
                if (test(m_pts[s], m_pts[s + 1]))
                    return true;
            continue;
        }
        for (size_t c = 2 * it.index; c < std::min(m_levels[it.level - 1].size(), 2 * it.index + 2); ++c)
            stack[top++] = {it.level - 1, c};
    }
    return false;
}

bool SegmentIndex::anyWithin(double x, double y, double r2) const
{
    return search(
        [&](const Box &b) {
            const double dx = std::max({b.x0 - x, 0.0, x - b.x1});
            const double dy = std::max({b.y0 - y, 0.0, y - b.y1});
            return dx * dx + dy * dy < r2;
        },
        [&](const Node &a, const Node &b) { return squaredDistanceToChord(x, y, a.x, a.y, b.x, b.y, DBL_MIN) < r2; });
}

bool SegmentIndex::holdsBoth(const Node &a, const Node &b, double r2) const
{
    auto near = [&](const Box &box, const Node &p) {
        const double dx = std::max({box.x0 - p.x, 0.0, p.x - box.x1});
        const double dy = std::max({box.y0 - p.y, 0.0, p.y - box.y1});
        return dx * dx + dy * dy < r2;
    };
    return search([&](const Box &box) { return near(box, a) && near(box, b); },
                  [&](const Node &p, const Node &q) {
                      return squaredDistanceToChord(a.x, a.y, p.x, p.y, q.x, q.y, DBL_MIN) < r2 &&
                             squaredDistanceToChord(b.x, b.y, p.x, p.y, q.x, q.y, DBL_MIN) < r2;
                  });
}

Node SegmentIndex::nearest(double x, double y) const
{
    auto boxDistance = [&](const Box &b) {
        const double dx = std::max({b.x0 - x, 0.0, x - b.x1});
        const double dy = std::max({b.y0 - y, 0.0, y - b.y1});
        return dx * dx + dy * dy;
    };
    auto segmentDistance = [&](const Node &a, const Node &b, double &px, double &py) {
        const double ex = b.x - a.x, ey = b.y - a.y, len2 = ex * ex + ey * ey;
        const double t = len2 > 0 ? std::clamp(((x - a.x) * ex + (y - a.y) * ey) / len2, 0.0, 1.0) : 0.0;
        px = a.x + t * ex, py = a.y + t * ey;
        return (px - x) * (px - x) + (py - y) * (py - y);
    };
    Node best{m_pts.empty() ? x : m_pts[0].x, m_pts.empty() ? y : m_pts[0].y, 0, 0};
    double bestD = (best.x - x) * (best.x - x) + (best.y - y) * (best.y - y);
    if (m_levels.empty())
        return best;
    // A bound from the leaf reached by always taking the nearer box: the
    // search then only opens boxes nearer than it. The bound lies strictly
    // above the least distance, so the answer is the one a search from the
    // first point alone finds, to the bit.
    size_t index = 0;
    for (size_t level = m_levels.size() - 1; level > 0; --level) {
        const std::vector<Box> &below = m_levels[level - 1];
        size_t pick = 2 * index;
        if (pick + 1 < below.size() && boxDistance(below[pick + 1]) < boxDistance(below[pick]))
            ++pick;
        index = pick;
    }
    double probe = bestD;
    for (size_t s = index * kLeaf; s < std::min(m_segments, (index + 1) * kLeaf); ++s) {
        double px = 0, py = 0;
        probe = std::min(probe, segmentDistance(m_pts[s], m_pts[s + 1], px, py));
    }
    bestD = std::min(bestD, std::nextafter(probe, HUGE_VAL));
    search([&](const Box &b) { return boxDistance(b) < bestD; },
           [&](const Node &a, const Node &b) {
               double px = 0, py = 0;
               const double dd = segmentDistance(a, b, px, py);
               if (dd < bestD) {
                   bestD = dd;
                   best.x = px;
                   best.y = py;
               }
               return false;
           });
    return best;
}

bool SegmentIndex::anyCrossing(const Node &a, const Node &b) const
{
    const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x), y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
    return search([&](const Box &box) { return !(box.x1 < x0 || box.x0 > x1 || box.y1 < y0 || box.y0 > y1); },
                  [&](const Node &p, const Node &q) {
                      double ix = 0, iy = 0;
                      return intersectSegments(a.x, a.y, b.x, b.y, p.x, p.y, q.x, q.y, ix, iy) == kCrossing;
                  });
}

} // namespace vx
