// Spatial indexes that give the same answers as the plain pairwise scans of
// the cutting order, without their quadratic cost.
#pragma once

#include "point_list.h"

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace vx {

// Point-in-contour test with the edges sorted into horizontal bands, so that
// a query reads only the edges near its height. Same result as pointInContour.
class ContourLocator {
public:
    explicit ContourLocator(const std::vector<Node> &pts);
    bool contains(double x, double y) const;

private:
    const std::vector<Node> &m_pts;
    double m_y0 = 0, m_band = 1;
    std::vector<std::vector<uint32_t>> m_bands; // edge i runs from node i-1 (wrapping) to node i
};

// Parent of each contour of a list sorted by box area: the first later one
// whose box holds its box and whose outline holds its first node; -1 for none.
std::vector<int> findParents(const std::vector<Contour> &sorted);

// Nearest remaining entry by up to four corner points per entry; ties go to
// the lowest position.
class CornerNearest {
public:
    explicit CornerNearest(size_t count);
    ~CornerNearest();
    void setPoint(int corner, size_t pos, double x, double y);
    void build();
    // The entry minimising the smallest squared distance between query point
    // k and its corner k, for k < corners.
    size_t nearest(const std::array<std::array<double, 2>, 4> &query, int corners);
    void remove(size_t pos);
    bool empty() const { return m_alive == 0; }

private:
    class Grid;
    void rebuild();

    size_t m_count;
    size_t m_alive;
    size_t m_builtWith = 0;
    std::array<std::vector<std::array<double, 2>>, 4> m_points;
    std::vector<char> m_removed;
    std::vector<size_t> m_remaining; // used once few entries are left
    std::array<std::unique_ptr<Grid>, 4> m_grids;
};

} // namespace vx
