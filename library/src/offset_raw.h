// The building blocks of the offset tools: the raw offset curve of one
// contour, its cutting into loops at its self-crossings, and the checks that
// tell a valid loop from the pieces a raw offset leaves behind.
#pragma once

#include "point_list.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace vx {

// Raw offset polyline of a contour at signed distance m (positive: to the
// right of the direction of travel, Y up). Consecutive points within `tol`
// in X and Y count as one, except `kKeep` points. A closed contour gives a
// closed polyline (last point = first); a contour of one point gives it.
// The offset points of a `kKeep` vertex are `kKeep` too.
std::vector<Node> rawOffset(const std::vector<Node> &pts, bool closed, double m, double tol);

// Cuts a polyline at every crossing of two of its segments that are not
// neighbours, keeps the pieces that `keep` accepts and joins them again into
// loops, turning at a crossing onto the other strand when that one is kept
// too. A closed polyline gives closed loops; an open one also gives the
// pieces joined from its start to its end.
std::vector<std::vector<Node>> cutLoops(const std::vector<Node> &poly, bool closed,
                                        const std::function<bool(const std::vector<Node> &)> &keep);

// The segments of a contour in a hierarchy of boxes, for the distance and
// crossing checks of the loops against it.
class SegmentIndex {
public:
    explicit SegmentIndex(const std::vector<Node> &pts);
    // True when some segment lies closer than sqrt(r2) to (x, y).
    bool anyWithin(double x, double y, double r2) const;
    // True when some segment crosses a-b strictly inside both.
    bool anyCrossing(const Node &a, const Node &b) const;

private:
    struct Box {
        double x0, y0, x1, y1;
    };
    static constexpr std::size_t kLeaf = 8; // segments per leaf box
    template <typename Near, typename Test> bool search(Near &&near, Test &&test) const;

    std::vector<Node> m_pts;
    std::size_t m_segments = 0;
    std::vector<std::vector<Box>> m_levels; // level 0: leaves; each level halves the count
};

} // namespace vx
