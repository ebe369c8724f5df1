// Chord test of the cleaning tools. A cone of directions from the anchor
// answers most steps at once; when it cannot, the points between anchor and
// chord end go into perfect binary trees of convex hulls, and a node whose
// hull lies in a convex region where every point passes is accepted whole.
#include "tools/clean_chord.h"

#include "foundation/point_list.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

constexpr uint32_t kLeaf = 8;        // points per leaf block
constexpr size_t kScanHull = 12;     // hulls this small are scanned vertex by vertex
constexpr double kMargin = 1e-9;     // relative margin of the decisive region tests

double cross(const Pt &o, const Pt &a, const Pt &b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// Convex hull as lower and upper chains, both in increasing x. `pts` is sorted
// and deduplicated in place.
void hullChains(std::vector<Pt> &pts, std::vector<Pt> &lower, std::vector<Pt> &upper)
{
    std::sort(pts.begin(), pts.end(), [](const Pt &a, const Pt &b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    pts.erase(std::unique(pts.begin(), pts.end(), [](const Pt &a, const Pt &b) { return a.x == b.x && a.y == b.y; }),
              pts.end());
    lower.clear();
    upper.clear();
    for (const Pt &p : pts) {
        while (lower.size() >= 2 && cross(lower[lower.size() - 2], lower.back(), p) <= 0)
            lower.pop_back();
        lower.push_back(p);
        while (upper.size() >= 2 && cross(upper[upper.size() - 2], upper.back(), p) >= 0)
            upper.pop_back();
        upper.push_back(p);
    }
}

} // namespace

struct ChordRun::Frame {
    Pt a, e;
    double ux = 0, uy = 0; // unit vector from A to E
    double len = 0;
    bool shortChord = false;
    bool cone = false; // points beyond E may pass by the second test
    double sinA = 0, cosA = 0, xc = 0;
    double strict = 0; // tol2 less the margin
};

void ChordRun::start(Pt anchor)
{
    m_anchor = anchor;
    m_points.clear();
    m_leafEnd = 0;
    m_arena.clear();
    m_nodes.clear();
    m_roots.clear();
    m_rootLeaves.clear();
    m_farSeen = false;
    m_useTrees = false;
    m_endKnown = false;
    m_lo = m_hi = m_farthest = 0;
}

void ChordRun::add(Pt m)
{
    if (m_points.empty()) {
        m_minX = m_maxX = m.x;
        m_minY = m_maxY = m.y;
    } else {
        m_minX = std::min(m_minX, m.x);
        m_maxX = std::max(m_maxX, m.x);
        m_minY = std::min(m_minY, m.y);
        m_maxY = std::max(m_maxY, m.y);
    }
    m_points.push_back(m);
    const double dx = m.x - m_anchor.x, dy = m.y - m_anchor.y;
    const double r2 = dx * dx + dy * dy;
    if (!(r2 >= m_tol2 * (1 - kMargin)) || !(m_lo <= m_hi))
        return; // near enough to pass anyway, or no direction left
    // Within the tolerance of a line from A at angle a from AM when
    // |sin a| < tol / |AM|; the margin keeps the answer on the safe side.
    const bool known = m_endKnown && m.x == m_end.x && m.y == m_end.y;
    const double r = known ? m_endLength : std::sqrt(r2);
    const double half = std::asin(std::min(1.0, std::sqrt(m_tol2) * (1 - 1e-7) / r));
    if (!m_farSeen) {
        m_farSeen = true;
        m_refX = dx / r;
        m_refY = dy / r;
        m_lo = -half;
        m_hi = half;
    } else {
        const double a = known ? m_endAngle : std::atan2(m_refX * dy - m_refY * dx, m_refX * dx + m_refY * dy);
        m_lo = std::max(m_lo, a - half);
        m_hi = std::min(m_hi, a + half);
    }
    m_farthest = std::max(m_farthest, r);
}

void ChordRun::catchUp()
{
    while (m_points.size() - m_leafEnd >= kLeaf)
        addLeaf();
}

int32_t ChordRun::makeNode(const std::vector<Pt> &pts, int32_t left, int32_t right, uint32_t first, uint32_t count)
{
    std::vector<Pt> work = pts, lower, upper;
    hullChains(work, lower, upper);
    Node n;
    n.left = left;
    n.right = right;
    n.first = first;
    n.count = count;
    n.lower = static_cast<uint32_t>(m_arena.size());
    n.lowerLen = static_cast<uint32_t>(lower.size());
    m_arena.insert(m_arena.end(), lower.begin(), lower.end());
    n.upper = static_cast<uint32_t>(m_arena.size());
    n.upperLen = static_cast<uint32_t>(upper.size());
    m_arena.insert(m_arena.end(), upper.begin(), upper.end());
    n.minX = n.maxX = work.front().x;
    n.minY = n.maxY = work.front().y;
    for (const Pt &p : work) {
        n.minX = std::min(n.minX, p.x);
        n.maxX = std::max(n.maxX, p.x);
        n.minY = std::min(n.minY, p.y);
        n.maxY = std::max(n.maxY, p.y);
    }
    m_nodes.push_back(n);
    return static_cast<int32_t>(m_nodes.size() - 1);
}

void ChordRun::addLeaf()
{
    const auto first = static_cast<uint32_t>(m_leafEnd);
    std::vector<Pt> block(m_points.begin() + static_cast<ptrdiff_t>(m_leafEnd),
                          m_points.begin() + static_cast<ptrdiff_t>(m_leafEnd + kLeaf));
    m_roots.push_back(makeNode(block, -1, -1, first, kLeaf));
    m_rootLeaves.push_back(1);
    m_leafEnd += kLeaf;
    // Two trees of equal size become one, as in a binary counter.
    while (m_roots.size() >= 2 && m_rootLeaves[m_roots.size() - 1] == m_rootLeaves[m_roots.size() - 2]) {
        const int32_t right = m_roots.back();
        const int32_t left = m_roots[m_roots.size() - 2];
        std::vector<Pt> pts;
        for (int32_t child : {left, right}) {
            const Node &c = m_nodes[static_cast<size_t>(child)];
            pts.insert(pts.end(), m_arena.begin() + c.lower, m_arena.begin() + c.lower + c.lowerLen);
            pts.insert(pts.end(), m_arena.begin() + c.upper, m_arena.begin() + c.upper + c.upperLen);
        }
        const Node &l = m_nodes[static_cast<size_t>(left)];
        const uint32_t first2 = l.first;
        const uint32_t count2 = l.count + m_nodes[static_cast<size_t>(right)].count;
        const uint32_t leaves = 2 * m_rootLeaves.back();
        const int32_t parent = makeNode(pts, left, right, first2, count2);
        m_roots.resize(m_roots.size() - 2);
        m_rootLeaves.resize(m_rootLeaves.size() - 2);
        m_roots.push_back(parent);
        m_rootLeaves.push_back(leaves);
    }
}

bool ChordRun::passes(Pt m, Pt e) const
{
    const Pt &a = m_anchor;
    if (squaredDistanceToChord(m.x, m.y, a.x, a.y, e.x, e.y, m_tol2) < m_tol2)
        return true;
    if (!m_backtrack)
        return false;
    const double ae2 = (e.x - a.x) * (e.x - a.x) + (e.y - a.y) * (e.y - a.y);
    if (ae2 < m_tol2)
        return false;
    return squaredDistanceToChord(e.x, e.y, a.x, a.y, m.x, m.y, m_tol2) < m_tol2;
}

// The vertex of the hull furthest in direction (dx, dy): along the upper chain
// for an upward direction, the lower otherwise, where the projection rises
// then falls.
uint32_t ChordRun::extremeVertex(const Node &node, double dx, double dy) const
{
    const uint32_t base = dy >= 0 ? node.upper : node.lower;
    const uint32_t len = dy >= 0 ? node.upperLen : node.lowerLen;
    uint32_t lo = 0, hi = len - 1;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        const Pt &p = m_arena[base + mid], &q = m_arena[base + mid + 1];
        if ((q.x - p.x) * dx + (q.y - p.y) * dy > 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return base + lo;
}

ChordRun::Verdict ChordRun::judgeVertices(const Node &node, const Frame &f) const
{
    bool inStadium = true, inCone = f.cone;
    for (uint32_t k = 0; k < node.lowerLen + node.upperLen; ++k) {
        const Pt &v = m_arena[(k < node.lowerLen ? node.lower + k : node.upper + (k - node.lowerLen))];
        const bool near = squaredDistanceToChord(v.x, v.y, f.a.x, f.a.y, f.e.x, f.e.y, m_tol2) < f.strict;
        if (!near && !passes(v, f.e))
            return Verdict::Fail;
        inStadium = inStadium && near;
        if (inCone) {
            const double along = (v.x - f.a.x) * f.ux + (v.y - f.a.y) * f.uy;
            const double perp = -(v.x - f.a.x) * f.uy + (v.y - f.a.y) * f.ux;
            inCone = along >= f.xc && std::fabs(perp) * f.cosA <= along * f.sinA;
        }
        if (!inStadium && !inCone)
            return Verdict::Unknown;
    }
    return Verdict::Pass;
}

ChordRun::Verdict ChordRun::judgeHull(const Node &node, const Frame &f) const
{
    if (f.shortChord) {
        for (double x : {node.minX, node.maxX})
            for (double y : {node.minY, node.maxY})
                if (!((x - f.a.x) * (x - f.a.x) + (y - f.a.y) * (y - f.a.y) < f.strict))
                    return Verdict::Unknown;
        return Verdict::Pass;
    }
    // The box of the hull in the frame of the chord, from its extreme vertices.
    const double ux = f.ux, uy = f.uy;
    const Pt &aMax = m_arena[extremeVertex(node, ux, uy)], &aMin = m_arena[extremeVertex(node, -ux, -uy)];
    const Pt &pMax = m_arena[extremeVertex(node, -uy, ux)], &pMin = m_arena[extremeVertex(node, uy, -ux)];
    for (const Pt *v : {&aMax, &aMin, &pMax, &pMin})
        if (!passes(*v, f.e))
            return Verdict::Fail;
    auto along = [&](const Pt &v) { return (v.x - f.a.x) * ux + (v.y - f.a.y) * uy; };
    auto perp = [&](const Pt &v) { return -(v.x - f.a.x) * uy + (v.y - f.a.y) * ux; };
    const double a0 = along(aMin), a1 = along(aMax), p0 = perp(pMin), p1 = perp(pMax);
    bool inStadium = true;
    for (double a : {a0, a1})
        for (double p : {p0, p1}) {
            const double beyond = a < 0 ? a : (a > f.len ? a - f.len : 0);
            if (!(beyond * beyond + p * p < f.strict))
                inStadium = false;
        }
    if (inStadium)
        return Verdict::Pass;
    if (f.cone && a0 >= f.xc) {
        // Normals of the two edges of the cone, pointing out of it.
        const double nux = -f.sinA * ux - f.cosA * uy, nuy = -f.sinA * uy + f.cosA * ux;
        const double nlx = -f.sinA * ux + f.cosA * uy, nly = -f.sinA * uy - f.cosA * ux;
        const Pt &up = m_arena[extremeVertex(node, nux, nuy)];
        const Pt &lo = m_arena[extremeVertex(node, nlx, nly)];
        if ((up.x - f.a.x) * nux + (up.y - f.a.y) * nuy <= 0 && (lo.x - f.a.x) * nlx + (lo.y - f.a.y) * nly <= 0)
            return Verdict::Pass;
    }
    return Verdict::Unknown;
}

bool ChordRun::nodePasses(int32_t index, const Frame &f) const
{
    const Node &node = m_nodes[static_cast<size_t>(index)];
    const Verdict v = node.lowerLen + node.upperLen <= kScanHull ? judgeVertices(node, f) : judgeHull(node, f);
    if (v != Verdict::Unknown)
        return v == Verdict::Pass;
    if (node.left < 0) {
        for (uint32_t i = node.first; i < node.first + node.count; ++i)
            if (!passes(m_points[i], f.e))
                return false;
        return true;
    }
    return nodePasses(node.left, f) && nodePasses(node.right, f);
}

bool ChordRun::allPass(Pt end)
{
    if (m_points.empty())
        return true;
    if (!(m_tol2 > 0))
        return false; // no distance is below zero, or below an unusable tolerance
    Frame f;
    f.a = m_anchor;
    f.e = end;
    f.strict = m_tol2 * (1 - kMargin);
    const double dx = end.x - m_anchor.x, dy = end.y - m_anchor.y;
    const double len2 = dx * dx + dy * dy;
    f.shortChord = len2 < m_tol2;
    f.len = std::sqrt(len2);
    if (f.len > 0) {
        f.ux = dx / f.len;
        f.uy = dy / f.len;
    }
    f.cone = m_backtrack && !f.shortChord && len2 > m_tol2 && std::isfinite(len2);
    if (f.cone) {
        // Beyond xc, the points whose direction from A lies within this angle
        // of AE see E within the tolerance of their segment from A.
        const double t = std::sqrt(m_tol2);
        f.sinA = t / f.len * (1 - 1e-6);
        f.cosA = std::sqrt(std::max(0.0, 1 - f.sinA * f.sinA));
        f.xc = std::sqrt(len2 - m_tol2) * (1 + kMargin);
    }

    // Everything close to the anchor passes whatever the chord.
    bool nearAnchor = true;
    for (double x : {m_minX, m_maxX})
        for (double y : {m_minY, m_maxY})
            if (!((x - f.a.x) * (x - f.a.x) + (y - f.a.y) * (y - f.a.y) < f.strict))
                nearAnchor = false;
    if (nearAnchor)
        return true;

    // Every point in a narrow cone around AE and none beyond E: all within
    // the tolerance of the chord, without looking at them one by one.
    if (!f.shortChord && (!m_farSeen || m_lo < m_hi)) {
        if (!m_farSeen)
            return true;
        const double a = std::atan2(m_refX * dy - m_refY * dx, m_refX * dx + m_refY * dy);
        m_end = end;
        m_endAngle = a;
        m_endLength = f.len;
        m_endKnown = true;
        if (m_lo < a && a < m_hi && m_farthest < f.len * (1 - kMargin))
            return true;
    }
    // The first time the cone cannot tell, a plain scan: a failure ends the
    // run, so its cost is paid once per anchor. Should the chord hold, the
    // run may go on doubling back, and the trees answer from then on.
    if (!m_useTrees) {
        for (const Pt &p : m_points)
            if (!passes(p, end))
                return false;
        m_useTrees = true;
        return true;
    }
    catchUp();
    for (int32_t root : m_roots)
        if (!nodePasses(root, f))
            return false;
    for (size_t i = m_leafEnd; i < m_points.size(); ++i)
        if (!passes(m_points[i], f.e))
            return false;
    return true;
}

} // namespace vx
