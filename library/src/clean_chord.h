// The chord test of the cleaning tools: do all points between an anchor and a
// chord end pass the distance test? Answered for a growing run of points
// without visiting every point at every step.
#pragma once

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
    std::vector<Pt> m_quick;           // holds the hull of all points, and some more
    std::size_t m_quickCompactAt = 16;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
};

// Indices kept by the chord scan of points 0..n-1 (the first, every anchor,
// then the last unless it repeats the last kept within 1e-6); `stop[i]` ends
// every chord at point i, which is then kept. Non-finite points never pass.
std::vector<std::size_t> chordScan(const std::vector<Pt> &pts, const std::vector<char> &stop, double tol2,
                              bool backtrack, bool alwaysLast);

} // namespace vx
