// The reorganisation of a drawing written plainly, one step after the
// other, for the tests that compare the fast paths with it node for node.
#pragma once

#include "order/cutting_order.h"

#include <algorithm>
#include <vector>

namespace plain {

using vx::Contour;
using vx::Node;
using vx::PointList;

// The simplification as first written: the whole contour at hand, a running
// hull of the nodes between the anchor and the chord's end.
class ReferenceHull {
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

inline void referenceSimplify(std::vector<Node> &pts, double tolerance)
{
    const size_t n = pts.size();
    if (n < 2)
        return;
    if (n == 2) {
        const double dx = pts[1].x - pts[0].x;
        const double dy = pts[1].y - pts[0].y;
        if (dx * dx + dy * dy < tolerance && pts[1].keep != vx::kKeep)
            pts.pop_back();
        return;
    }
    ReferenceHull between;
    std::vector<Node> out;
    size_t anchor = 0, end = 1;
    out.push_back(pts[0]);
    while (end < n) {
        bool extend = false;
        if (end + 1 < n && pts[end].keep != vx::kKeep) {
            between.add(pts[end]);
            const Node &a = pts[anchor];
            const Node &b = pts[end + 1];
            extend = true;
            for (const Node &m : between.points())
                if (vx::squaredDistanceToChord(m.x, m.y, a.x, a.y, b.x, b.y, tolerance) >= tolerance) {
                    extend = false;
                    break;
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

// Split, join, simplify, orient, then order: one step after the other.
inline PointList referenceCuttingOrder(const PointList &list)
{
    std::vector<Contour> contours = vx::splitContours(list);
    vx::joinContours(contours);
    const bool multi = contours.size() > 1;
    for (Contour &c : contours) {
        referenceSimplify(c.pts, vx::kSimplifyTolerance);
        c.update();
        if (c.pts.empty())
            continue;
        if (c.closed) {
            size_t best = 0;
            for (size_t i = 1; i < c.pts.size(); ++i)
                if (c.pts[i].x > c.pts[best].x || (c.pts[i].x == c.pts[best].x && c.pts[i].y < c.pts[best].y))
                    best = i;
            std::rotate(c.pts.begin(), c.pts.begin() + static_cast<ptrdiff_t>(best), c.pts.end());
            c.pts.push_back(c.pts.front());
            if (c.doubleArea < 0)
                c.reverse();
        } else if (!multi) {
            if (c.pts.back().x > c.pts.front().x)
                c.reverse();
        } else if (c.doubleArea < 0) {
            c.reverse();
        }
    }
    return vx::orderAndEmit(std::move(contours), true);
}

} // namespace plain
