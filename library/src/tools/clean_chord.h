// The chord test of the cleaning tools: do all points between an anchor and a
// chord end pass the distance test? Answered for a growing run of points
// without visiting every point at every step.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

struct Pt {
    double x = 0, y = 0;
};

// Points between an anchor A and the chord end E pass when they lie within
// the tolerance of the segment AE (of A when AE is shorter than the
// tolerance); with `backtrack`, a point M also passes when E lies within the
// tolerance of the segment AM.
class ChordRun {
public:
    ChordRun(double tol2, bool backtrack) : m_tol2(tol2), m_backtrack(backtrack) {}

    // A new anchor with no point between. Coordinates must be finite.
    void start(Pt anchor);
    // The next point between the anchor and the chord end.
    void add(Pt m);
    // True when every point added since start() passes for the chord to `end`.
    bool allPass(Pt end);
    // The test of one point, as the definition states it.
    bool passes(Pt m, Pt end) const;

private:
    // A perfect binary tree node over consecutive points, with their convex
    // hull as lower and upper chains in x order.
    struct Node {
        uint32_t lower = 0, lowerLen = 0, upper = 0, upperLen = 0;
        int32_t left = -1, right = -1;
        uint32_t first = 0, count = 0;
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
    };
    struct Frame;
    enum class Verdict { Pass, Fail, Unknown };

    void addLeaf();
    void catchUp();
    int32_t makeNode(const std::vector<Pt> &pts, int32_t left, int32_t right, uint32_t first, uint32_t count);
    Verdict judgeVertices(const Node &node, const Frame &f) const;
    Verdict judgeHull(const Node &node, const Frame &f) const;
    bool nodePasses(int32_t index, const Frame &f) const;
    uint32_t extremeVertex(const Node &node, double dx, double dy) const;

    double m_tol2;
    bool m_backtrack;
    Pt m_anchor;
    std::vector<Pt> m_points;  // every point between, in order
    std::size_t m_leafEnd = 0;      // points before this index are in leaves
    std::vector<Pt> m_arena;   // hull chains of the nodes
    std::vector<Node> m_nodes;
    std::vector<int32_t> m_roots;      // perfect trees, largest first
    std::vector<uint32_t> m_rootLeaves; // leaves under each root
    // Directions from the anchor, relative to m_ref, that keep every point
    // farther than the tolerance within the tolerance of the line; empty
    // once m_lo >= m_hi.
    bool m_farSeen = false;
    bool m_useTrees = false; // a plain scan has already been needed in this run
    double m_refX = 0, m_refY = 0, m_lo = 0, m_hi = 0, m_farthest = 0;
    // The last chord end, its angle and distance: it is the next point added.
    Pt m_end;
    double m_endAngle = 0, m_endLength = 0;
    bool m_endKnown = false;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
};

// Indices kept by the chord scan of points 0..n-1 (the first, every anchor,
// then the last unless it repeats the last kept within 1e-6); `stop(i)` ends
// every chord at point i, which is then kept. `at(i)` gives point i. Points
// that are not finite never pass.
template <typename At, typename Stop>
std::vector<std::size_t> chordScan(std::size_t n, At &&at, Stop &&stop, double tol2, bool backtrack, bool alwaysLast)
{
    std::vector<std::size_t> kept;
    if (n == 0)
        return kept;
    kept.push_back(0);
    auto finite = [](const Pt &p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    ChordRun run(tol2, backtrack);
    std::size_t s = 0;
    while (s + 2 < n) {
        const Pt anchor = at(s);
        const bool anchorOk = finite(anchor);
        if (anchorOk)
            run.start(anchor);
        for (std::size_t m = s + 1;; ++m) {
            const std::size_t e = m + 1;
            const Pt pm = at(m), pe = at(e);
            bool ok = anchorOk && !stop(m) && finite(pm) && finite(pe);
            if (ok) {
                run.add(pm);
                ok = run.allPass(pe);
            }
            if (!ok) {
                kept.push_back(m);
                s = m;
                break;
            }
            if (e == n - 1) {
                s = n;
                break;
            }
        }
    }
    const Pt last = at(n - 1), prev = at(kept.back());
    if (kept.back() != n - 1 &&
        (alwaysLast || !(std::fabs(last.x - prev.x) < 1e-6 && std::fabs(last.y - prev.y) < 1e-6)))
        kept.push_back(n - 1);
    return kept;
}

inline std::vector<std::size_t> chordScan(const std::vector<Pt> &pts, const std::vector<char> &stop, double tol2,
                                          bool backtrack, bool alwaysLast)
{
    return chordScan(
        pts.size(), [&](std::size_t i) { return pts[i]; }, [&](std::size_t i) { return stop[i] != 0; }, tol2, backtrack,
        alwaysLast);
}

} // namespace vx
