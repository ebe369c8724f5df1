// A k-d tree with deletions answers "nearest remaining hole" and "holes
// within a radius"; the file-order scan of candidates is then replayed on the
// few holes that can win it.
#include "order/drill_order.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace vx {

namespace {

class HoleTree {
public:
    explicit HoleTree(const std::vector<Hole> &holes)
        : m_holes(holes), m_order(holes.size()), m_position(holes.size()), m_nodes(holes.size()),
          m_alive(holes.size(), 1)
    {
        for (size_t i = 0; i < m_order.size(); ++i)
            m_order[i] = static_cast<uint32_t>(i);
        build(0, m_order.size());
        for (size_t p = 0; p < m_order.size(); ++p)
            m_position[m_order[p]] = static_cast<uint32_t>(p);
    }

    bool empty() const { return m_order.empty() || m_nodes[m_order.size() / 2].alive == 0; }

    void remove(uint32_t hole)
    {
        if (!m_alive[hole])
            return;
        m_alive[hole] = 0;
        const size_t pos = m_position[hole];
        size_t lo = 0, hi = m_order.size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            --m_nodes[mid].alive;
            if (pos == mid)
                break;
            if (pos < mid)
                hi = mid;
            else
                lo = mid + 1;
        }
    }

    // The nearest remaining hole; among equal distances the first in file order.
    bool nearest(const Hole &q, double &distance, uint32_t &hole) const
    {
        distance = std::numeric_limits<double>::infinity();
        hole = std::numeric_limits<uint32_t>::max();
        nearestIn(0, m_order.size(), q, distance, hole);
        return hole != std::numeric_limits<uint32_t>::max();
    }

    // Remaining holes closer than `radius` to q, in no particular order.
    void within(const Hole &q, double radius, std::vector<uint32_t> &out) const
    {
        withinIn(0, m_order.size(), q, radius, out);
    }

private:
    struct Node {
        double minX = 0, minY = 0, maxX = 0, maxY = 0; // box of the node's whole range
        uint32_t alive = 0;
        bool splitX = true;
    };

    void build(size_t lo, size_t hi)
    {
        if (lo >= hi)
            return;
        Node box;
        box.minX = box.maxX = m_holes[m_order[lo]].x;
        box.minY = box.maxY = m_holes[m_order[lo]].y;
        for (size_t i = lo + 1; i < hi; ++i) {
            const Hole &h = m_holes[m_order[i]];
            box.minX = std::min(box.minX, h.x);
            box.maxX = std::max(box.maxX, h.x);
            box.minY = std::min(box.minY, h.y);
            box.maxY = std::max(box.maxY, h.y);
        }
        box.alive = static_cast<uint32_t>(hi - lo);
        box.splitX = box.maxX - box.minX >= box.maxY - box.minY;
        const size_t mid = lo + (hi - lo) / 2;
        const bool splitX = box.splitX;
        std::nth_element(m_order.begin() + static_cast<std::ptrdiff_t>(lo), m_order.begin() + static_cast<std::ptrdiff_t>(mid),
                         m_order.begin() + static_cast<std::ptrdiff_t>(hi), [&](uint32_t a, uint32_t b) {
                             return splitX ? m_holes[a].x < m_holes[b].x : m_holes[a].y < m_holes[b].y;
                         });
        m_nodes[mid] = box;
        build(lo, mid);
        build(mid + 1, hi);
    }

    // Never more than the distance to any hole inside the box, to the last bit.
    static double boxDistance(const Hole &q, const Node &n)
    {
        double gx = 0, gy = 0;
        if (q.x < n.minX)
            gx = n.minX - q.x;
        else if (q.x > n.maxX)
            gx = q.x - n.maxX;
        if (q.y < n.minY)
            gy = n.minY - q.y;
        else if (q.y > n.maxY)
            gy = q.y - n.maxY;
        return std::sqrt(gx * gx + gy * gy);
    }

    bool leftFirst(const Hole &q, size_t mid) const
    {
        const Hole &split = m_holes[m_order[mid]];
        return m_nodes[mid].splitX ? q.x < split.x : q.y < split.y;
    }

    void nearestIn(size_t lo, size_t hi, const Hole &q, double &best, uint32_t &bestHole) const
    {
        if (lo >= hi)
            return;
        const size_t mid = lo + (hi - lo) / 2;
        const Node &n = m_nodes[mid];
        if (n.alive == 0 || boxDistance(q, n) > best)
            return;
        const uint32_t h = m_order[mid];
        if (m_alive[h]) {
            const double d = holeDistance(q, m_holes[h]);
            if (d < best || (d == best && h < bestHole)) {
                best = d;
                bestHole = h;
            }
        }
        if (leftFirst(q, mid)) {
            nearestIn(lo, mid, q, best, bestHole);
            nearestIn(mid + 1, hi, q, best, bestHole);
        } else {
            nearestIn(mid + 1, hi, q, best, bestHole);
            nearestIn(lo, mid, q, best, bestHole);
        }
    }

    void withinIn(size_t lo, size_t hi, const Hole &q, double radius, std::vector<uint32_t> &out) const
    {
        if (lo >= hi)
            return;
        const size_t mid = lo + (hi - lo) / 2;
        const Node &n = m_nodes[mid];
        if (n.alive == 0 || !(boxDistance(q, n) < radius))
            return;
        const uint32_t h = m_order[mid];
        if (m_alive[h] && holeDistance(q, m_holes[h]) < radius)
            out.push_back(h);
        withinIn(lo, mid, q, radius, out);
        withinIn(mid + 1, hi, q, radius, out);
    }

    const std::vector<Hole> &m_holes;
    std::vector<uint32_t> m_order;    // hole at each tree position
    std::vector<uint32_t> m_position; // tree position of each hole
    std::vector<Node> m_nodes;        // by the tree position of the node's own hole
    std::vector<char> m_alive;        // by hole
};

bool takesOver(double d, double dx, double dy, double best)
{
    return d < best || (std::fabs(dy) < std::fabs(dx) && d < best + kSidewaysSlack);
}

// Replays the file-order scan from the current hole. The first hole at the
// nearest distance m always becomes the best, whatever came before it; after
// it only holes within best + slack can take over, so the scan needs only the
// holes inside a radius that stays above best + slack throughout.
uint32_t chooseNext(const HoleTree &tree, const std::vector<Hole> &holes, const Hole &from, double m,
                    uint32_t first, std::vector<uint32_t> &candidates)
{
    double radius = m + 2 * kSidewaysSlack;
    for (;;) {
        candidates.clear();
        tree.within(from, radius, candidates);
        std::sort(candidates.begin(), candidates.end());
        uint32_t best = first;
        double bestD = m;
        bool complete = true;
        for (uint32_t h : candidates) {
            if (h <= first)
                continue;
            const double d = holeDistance(from, holes[h]);
            if (!takesOver(d, holes[h].x - from.x, holes[h].y - from.y, bestD))
                continue;
            best = h;
            bestD = d;
            if (!(bestD + kSidewaysSlack <= radius)) {
                complete = false;
                break;
            }
        }
        if (complete)
            return best;
        radius *= 2;
    }
}

} // namespace

std::vector<Hole> orderHoles(const std::vector<Hole> &holes)
{
    std::vector<Hole> out;
    if (holes.empty())
        return out;
    out.reserve(holes.size());
    HoleTree tree(holes);
    std::vector<uint32_t> nearby;
    uint32_t current = 0;
    for (;;) {
        const Hole &from = holes[current];
        out.push_back(from);
        tree.remove(current);
        nearby.clear();
        tree.within(from, kDuplicateHole, nearby);
        for (uint32_t h : nearby)
            tree.remove(h);
        double m = 0;
        uint32_t first = 0;
        if (!tree.nearest(from, m, first))
            break;
        current = chooseNext(tree, holes, from, m, first, nearby);
    }
    return out;
}

} // namespace vx
