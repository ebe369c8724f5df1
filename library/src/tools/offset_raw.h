// The building blocks of the offset tools: the raw offset curve of one
// contour, its cutting into loops at its self-crossings, and the checks that
// tell a valid loop from the pieces a raw offset leaves behind.
#pragma once

#include "foundation/point_list.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace vx {

// The vertices a contour is offset through: consecutive points within `tol`
// in X and Y count as one, except `kKeep` points; a closed contour's
// repeated last point is left out.
std::vector<Node> distinctVertices(const std::vector<Node> &pts, bool closed, double tol);

// Raw offset polyline through such vertices at signed distance m (positive:
// to the right of the direction of travel, Y up). A closed contour gives a
// closed polyline (last point = first); a single vertex gives itself. The
// offset points of a `kKeep` vertex are `kKeep` too. `sagitta`, when given,
// receives the largest depth of an arc's chords inside its circle.
std::vector<Node> rawOffset(const std::vector<Node> &vertices, bool closed, double m, double *sagitta = nullptr);

// Cuts a polyline at every crossing of two of its segments that are not
// neighbours, keeps the pieces that `keep` accepts and joins them again into
// loops. At a crossing a kept piece turns onto the other strand when that one
// is kept too, but where only one turn is possible it must turn away from the
// source, which lies on the `side` opposite the offset (1: the offset is to
// the right, -1: to the left, 0: any turn); else the strands go straight on.
// A closed polyline gives closed loops; an open one also gives the pieces
// joined from its start to its end. Segments marked in `dropped` (one flag a
// segment, or none) can be in no kept piece: their crossings are not looked
// for.
std::vector<std::vector<Node>> cutLoops(const std::vector<Node> &poly, bool closed,
                                        const std::function<bool(const std::vector<Node> &)> &keep,
                                        const std::vector<char> &dropped = {}, int side = 0);

// The segments of a contour in a hierarchy of boxes, for the distance and
// crossing checks of the loops against it.
class SegmentIndex {
public:
    explicit SegmentIndex(const std::vector<Node> &pts);
    // True when some segment lies closer than sqrt(r2) to (x, y).
    bool anyWithin(double x, double y, double r2) const;
    // True when some segment crosses a-b strictly inside both.
    bool anyCrossing(const Node &a, const Node &b) const;
    // True when one segment lies closer than sqrt(r2) to both a and b: the
    // whole of a-b is then that close to it.
    bool holdsBoth(const Node &a, const Node &b, double r2) const;
    // The point of the segments nearest to (x, y).
    Node nearest(double x, double y) const;

private:
    struct Box {
        double x0, y0, x1, y1;
    };
    static constexpr std::size_t kLeaf = 8;      // segments per leaf box
    static constexpr std::size_t kMaxLevels = 64; // more than any count of segments needs
    template <typename Near, typename Test> bool search(Near &&near, Test &&test) const;

    std::vector<Node> m_pts;
    std::size_t m_segments = 0;
    std::vector<std::vector<Box>> m_levels; // level 0: leaves; each level halves the count
};

} // namespace vx
