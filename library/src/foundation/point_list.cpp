#include "foundation/point_list.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vx {

void Contour::update()
{
    if (pts.empty()) {
        minX = minY = maxX = maxY = doubleArea = 0;
        closed = false;
        return;
    }
    minX = maxX = pts.front().x;
    minY = maxY = pts.front().y;
    double area = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Node &n = pts[i];
        minX = std::min(minX, n.x);
        maxX = std::max(maxX, n.x);
        minY = std::min(minY, n.y);
        maxY = std::max(maxY, n.y);
        if (i > 0)
            area += pts[i - 1].x * n.y - pts[i - 1].y * n.x;
    }
    const Node &first = pts.front();
    const Node &last = pts.back();
    closed = !(std::fabs(first.x - last.x) > 0.001 || std::fabs(first.y - last.y) > 0.001);
    if (!closed)
        area += last.x * first.y - first.x * last.y;
    doubleArea = area;
}

void Contour::reverse()
{
    std::reverse(pts.begin(), pts.end());
    doubleArea = -doubleArea;
}

bool pointInContour(const std::vector<Node> &pts, double x, double y)
{
    const size_t n = pts.size();
    if (n < 2)
        return false;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Node &a = pts[j];
        const Node &b = pts[i];
        if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
            const double xCross = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < xCross)
                inside = !inside;
        }
    }
    return inside;
}

double squaredDistanceToChord(double px, double py, double ax, double ay, double bx, double by,
                              double degenerate)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    if (len2 < degenerate)
        return (px - ax) * (px - ax) + (py - ay) * (py - ay);
    double t = ((px - ax) * dx + (py - ay) * dy) / len2;
    t = std::clamp(t, 0.0, 1.0);
    const double cx = ax + t * dx - px;
    const double cy = ay + t * dy - py;
    return cx * cx + cy * cy;
}

double squaredDistanceToSegment(double px, double py, double ax, double ay, double bx, double by)
{
    return squaredDistanceToChord(px, py, ax, ay, bx, by, 0.1);
}

int intersectSegments(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                      double y4, double &ix, double &iy)
{
    const double d = (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
    if (d == 0)
        return kParallel;
    const double s = ((x3 - x1) * (y4 - y3) - (y3 - y1) * (x4 - x3)) / d;
    const double t = ((x3 - x1) * (y2 - y1) - (y3 - y1) * (x2 - x1)) / d;
    constexpr double lo = 1e-6, hi = 0.999999;
    if (!(s > lo && s < hi && t > lo && t < hi))
        return kOutside;
    ix = x1 + s * (x2 - x1);
    iy = y1 + s * (y2 - y1);
    return kCrossing;
}

int footOfPerpendicular(double px, double py, double a, double b, double c, double &fx, double &fy)
{
    if (b != 0) {
        const double m = a / b;
        const double q = c / b;
        fx = (px - m * (q + py)) / (m * m + 1);
        fy = -m * fx - q;
        return 0;
    }
    if (a != 0) {
        fx = -c / a;
        fy = py;
        return 0;
    }
    return -1;
}

namespace {

using Point = Simplifier::Point;

double cross(const Point &o, const Point &a, const Point &b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Replaces the points by their convex hull (monotone chain).
void compactToHull(std::vector<Point> &pts)
{
    std::vector<Point> p = pts;
    std::sort(p.begin(), p.end(), [](const Point &a, const Point &b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    std::vector<Point> h(2 * p.size());
    size_t k = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0)
            --k;
        h[k++] = p[i];
    }
    for (size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], p[i - 1]) <= 0)
            --k;
        h[k++] = p[i - 1];
    }
    h.resize(k > 1 ? k - 1 : k);
    pts.swap(h);
}

} // namespace

void Simplifier::compactBetween()
{
    compactToHull(m_between);
    m_compactAt = std::max<size_t>(kHullFrom, 2 * m_between.size());
}

// squaredDistanceToChord(m, a, b, tolerance) >= tolerance for no node m
// between: distances are compared squared with the tolerance, as the
// two-node rule does, and a chord shorter than that counts as its anchor.
// The arithmetic is the same, two nodes at a time.
bool Simplifier::chordHolds(const Node &a, const Node &b) const
{
    const double ax = a.x, ay = a.y;
    const double dx = b.x - ax;
    const double dy = b.y - ay;
    const double len2 = dx * dx + dy * dy;
    const Point *p = m_between.data();
    const size_t n = m_between.size();
    if (len2 < m_tolerance) {
        for (size_t i = 0; i < n; ++i)
            if ((p[i].x - ax) * (p[i].x - ax) + (p[i].y - ay) * (p[i].y - ay) >= m_tolerance)
                return false;
        return true;
    }
    size_t i = 0;
#if defined(__SSE2__)
    const __m128d vax = _mm_set1_pd(ax), vay = _mm_set1_pd(ay);
    const __m128d vdx = _mm_set1_pd(dx), vdy = _mm_set1_pd(dy);
    const __m128d vlen2 = _mm_set1_pd(len2), vtol = _mm_set1_pd(m_tolerance);
    const __m128d zero = _mm_setzero_pd(), one = _mm_set1_pd(1.0);
    for (; i < n; i += 2) {
        // An odd last node is tested twice.
        const __m128d p0 = _mm_loadu_pd(&p[i].x); // x0 y0
        const __m128d p1 = _mm_loadu_pd(&p[i + 1 < n ? i + 1 : i].x);
        const __m128d px = _mm_unpacklo_pd(p0, p1);
        const __m128d py = _mm_unpackhi_pd(p0, p1);
        const __m128d ex = _mm_sub_pd(px, vax);
        const __m128d ey = _mm_sub_pd(py, vay);
        __m128d t = _mm_div_pd(_mm_add_pd(_mm_mul_pd(ex, vdx), _mm_mul_pd(ey, vdy)), vlen2);
        // std::clamp(t, 0, 1), NaN kept: max and min return their second operand on NaN.
        t = _mm_min_pd(one, _mm_max_pd(zero, t));
        const __m128d cx = _mm_sub_pd(_mm_add_pd(vax, _mm_mul_pd(t, vdx)), px);
        const __m128d cy = _mm_sub_pd(_mm_add_pd(vay, _mm_mul_pd(t, vdy)), py);
        const __m128d d2 = _mm_add_pd(_mm_mul_pd(cx, cx), _mm_mul_pd(cy, cy));
        if (_mm_movemask_pd(_mm_cmpge_pd(d2, vtol)) != 0)
            return false;
    }
#else
    for (; i < n; ++i)
        if (squaredDistanceToChord(p[i].x, p[i].y, ax, ay, b.x, b.y, m_tolerance) >= m_tolerance)
            return false;
#endif
    return true;
}

const Simplifier::Kept *Simplifier::finish()
{
    const size_t count = m_count;
    m_count = 0;
    clearBetween();
    if (count == 2) {
        // Two nodes closer than the tolerance are one.
        const double dx = m_end.node.x - m_anchor.node.x;
        const double dy = m_end.node.y - m_anchor.node.y;
        if (!(dx * dx + dy * dy < m_tolerance && m_end.node.keep != kKeep))
            return &m_end;
    } else if (count > 2) {
        return &m_end;
    }
    return nullptr;
}

void simplify(std::vector<Node> &pts, double tolerance)
{
    if (pts.size() < 2)
        return;
    std::vector<Node> out;
    out.reserve(pts.size());
    Simplifier s(tolerance);
    for (const Node &n : pts)
        if (const Simplifier::Kept *k = s.add(n))
            out.push_back(k->node);
    if (const Simplifier::Kept *k = s.finish())
        out.push_back(k->node);
    pts.swap(out);
}

} // namespace vx
