#include "point_list.h"

#include <algorithm>
#include <cmath>

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

// Holds a superset of the convex hull of the points added since the last
// clear. A point within a convex region's distance of a segment is inside a
// convex "stadium", so testing the hull vertices tests every point.
class RunningHull {
public:
    void clear()
    {
        m_pts.clear();
        m_compactAt = 16;
    }
    void add(const Node &n)
    {
        m_pts.push_back(n);
        if (m_pts.size() >= m_compactAt) {
            compact();
            m_compactAt = std::max<size_t>(16, 2 * m_pts.size());
        }
    }
    const std::vector<Node> &points() const { return m_pts; }

private:
    static double cross(const Node &o, const Node &a, const Node &b)
    {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    }
    void compact()
    {
        std::vector<Node> p = m_pts;
        std::sort(p.begin(), p.end(), [](const Node &a, const Node &b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        std::vector<Node> h(2 * p.size());
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
        m_pts.swap(h);
    }

    std::vector<Node> m_pts;
    size_t m_compactAt = 16;
};

} // namespace

void simplify(std::vector<Node> &pts, double tolerance)
{
    const size_t n = pts.size();
    if (n < 2)
        return;
    if (n == 2) {
        const double dx = pts[1].x - pts[0].x;
        const double dy = pts[1].y - pts[0].y;
        if (dx * dx + dy * dy < tolerance && pts[1].keep != kKeep)
            pts.pop_back();
        return;
    }
    // Distances are compared squared with the tolerance, as the two-node
    // rule does; a chord shorter than that counts as its anchor.
    RunningHull between;
    std::vector<Node> out;
    out.reserve(n);
    size_t anchor = 0;
    size_t end = 1;
    out.push_back(pts[0]);
    while (end < n) {
        bool extend = false;
        if (end + 1 < n && pts[end].keep != kKeep) {
            between.add(pts[end]);
            const Node &a = pts[anchor];
            const Node &b = pts[end + 1];
            extend = true;
            for (const Node &m : between.points()) {
                if (squaredDistanceToChord(m.x, m.y, a.x, a.y, b.x, b.y, tolerance) >= tolerance) {
                    extend = false;
                    break;
                }
            }
        }
        if (extend) {
            ++end;
            continue;
        }
        out.push_back(pts[end]);
        anchor = end;
        end = anchor + 1;
        between.clear();
    }
    pts.swap(out);
}

} // namespace vx
