// The library's working point list and contour entries, with the geometric
// primitives that readers and tools share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

inline constexpr int32_t kKeep = 4; // a node that simplification never removes

// One point of the working list. Consecutive nodes with the same contour
// number form one contour; a negative number marks the pen-up partner of a
// one-point contour.
struct Node {
    double x = 0;
    double y = 0;
    int32_t contour = 0;
    int32_t keep = 0;
};

// Readers append to a flat list; order is the file order.
using PointList = std::vector<Node>;

inline void appendPoint(PointList &list, double x, double y, int32_t contour, int32_t keep = 0)
{
    list.push_back(Node{x, y, contour, keep});
}

// A contour gathered for ordering and nesting.
struct Contour {
    std::vector<Node> pts;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    double doubleArea = 0; // twice the signed area, positive counter-clockwise (Y up)
    bool closed = false;   // first and last node within 0.001 in X and Y

    // Bounding box, doubleArea and closed from the nodes.
    void update();
    // Reverses the node order and negates doubleArea.
    void reverse();
    double boxArea() const { return (maxX - minX) * (maxY - minY); }
    bool boxContains(const Contour &inner) const
    {
        return minX <= inner.minX && minY <= inner.minY && maxX >= inner.maxX && maxY >= inner.maxY;
    }
};

// Even-odd ray test, the closing edge included. A one-node contour contains
// nothing.
bool pointInContour(const std::vector<Node> &pts, double x, double y);

// Squared distance from (px, py) to the segment a-b; a segment of squared
// length below 0.1 counts as its first end.
double squaredDistanceToSegment(double px, double py, double ax, double ay, double bx, double by);

// Squared distance to the segment with the projection clamped to its ends;
// a segment of squared length below `degenerate` counts as its first end.
double squaredDistanceToChord(double px, double py, double ax, double ay, double bx, double by,
                              double degenerate);

enum SegmentCrossing { kCrossing = 0, kOutside = -1, kParallel = -2 };
// Crossing strictly inside both segments (parameters in (1e-6, 0.999999)).
int intersectSegments(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                      double y4, double &ix, double &iy);

// Foot of the perpendicular from (px, py) onto a·x + b·y + c = 0; -1 when
// there is no line, else 0.
int footOfPerpendicular(double px, double py, double a, double b, double c, double &fx, double &fy);

// Collinear-point simplification of one contour: nodes within the tolerance
// of the chord between kept nodes are removed, `keep` nodes never.
void simplify(std::vector<Node> &pts, double tolerance);

// The same simplification fed one node at a time, so that a contour made of
// several pieces is simplified without being gathered first. Each node comes
// with the caller's reference for it; a node fixed as kept is handed back
// with its reference. The nodes kept are exactly those simplify() keeps.
class Simplifier {
public:
    // The nodes between the anchor and the end of a chord are compacted to
    // their hull once there are this many; fewer are all tested as they are.
    static constexpr size_t kHullFrom = 16;

    struct Kept {
        Node node;
        uint64_t ref;
    };

    explicit Simplifier(double tolerance) : m_tolerance(tolerance) {}

    // The next node; returns the node this step fixed as kept (the first
    // node, or the one before this), or null.
    const Kept *add(const Node &n, uint64_t ref = 0)
    {
        if (m_count >= 2) {
            // Starting from the anchor, the chord is extended to ever later
            // nodes while every node strictly between stays near it.
            bool extend = false;
            if (m_end.node.keep != kKeep) {
                addBetween(m_end.node);
                extend = chordHolds(m_anchor.node, n);
            }
            ++m_count;
            if (!extend) {
                m_anchor = m_end;
                clearBetween();
                m_end = {n, ref};
                return &m_anchor;
            }
            m_end = {n, ref};
            return nullptr;
        }
        if (m_count++ == 0) {
            m_anchor = {n, ref};
            return &m_anchor;
        }
        m_end = {n, ref};
        return nullptr;
    }

    // The last node when it is kept; the simplifier is then ready for
    // another contour.
    const Kept *finish();

    // Shortcuts for callers that know the geometry of what follows.
    // True when the last node follows the anchor directly (nothing between).
    bool freshChord() const { return m_count >= 2 && m_between.empty(); }
    // add() for a node whose chord from the anchor is known to hold.
    void addHolding(const Node &n, uint64_t ref)
    {
        addBetween(m_end.node);
        ++m_count;
        m_end = {n, ref};
    }
    // From a fresh chord: the chords up to `kept` are known to hold and the
    // one past it to fail. Same as adding the nodes one by one; returns
    // `kept`, now the anchor. The node after it must follow through
    // resume() before anything else.
    const Kept *jump(const Node &kept, uint64_t keptRef)
    {
        m_anchor = {kept, keptRef};
        m_count += 2;
        return &m_anchor;
    }
    void resume(const Node &next, uint64_t nextRef) { m_end = {next, nextRef}; }

    struct Point {
        double x, y;
    };

private:
    void addBetween(const Node &n)
    {
        m_between.push_back({n.x, n.y});
        if (m_between.size() >= m_compactAt)
            compactBetween();
    }
    void compactBetween();
    void clearBetween()
    {
        m_between.clear();
        m_compactAt = kHullFrom;
    }
    bool chordHolds(const Node &a, const Node &b) const;

    double m_tolerance;
    size_t m_count = 0;
    Kept m_anchor{};
    Kept m_end{};
    // A superset of the convex hull of the nodes between the anchor and the
    // end: a node within a convex region's distance of a segment lies in a
    // convex "stadium", so testing the hull tests every node.
    std::vector<Point> m_between;
    size_t m_compactAt = kHullFrom;
};

} // namespace vx
