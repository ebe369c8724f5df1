// Spatial indexes that give the same answers as the plain pairwise scans of
// the cutting order, without their quadratic cost.
#pragma once

#include "foundation/point_list.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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

// What the nesting and the order know of a contour: its box and its first
// node; its outline is asked for when needed.
struct NestEntry {
    double minX, minY, maxX, maxY;
    double firstX, firstY;
    bool hasFirst; // a contour without nodes is nobody's child
    bool boxContains(const NestEntry &inner) const
    {
        return minX <= inner.minX && minY <= inner.minY && maxX >= inner.maxX && maxY >= inner.maxY;
    }
};

// The nodes of contour i, valid until the next call.
using OutlineFn = std::function<const std::vector<Node> &(size_t i)>;
// Whether contour i holds (x, y), when known without its outline: 1 or 0,
// else -1.
using QuickHoldsFn = std::function<int(size_t i, double x, double y)>;

// Parent of each contour of a list sorted by box area: the first later one
// whose box holds its box and whose outline holds its first node; -1 for none.
// Each outline is asked for once at most, and only when `quick` cannot tell.
std::vector<int> findParents(const std::vector<NestEntry> &sorted, const OutlineFn &outline,
                             const QuickHoldsFn &quick = nullptr);

// A key whose order as an unsigned number is the order of the values that
// are not NaN (-0 and +0 alike).
uint64_t orderKey(double value);
// Positions by increasing key, equal keys in position order: with the keys
// of values, what std::stable_sort with `<` gives.
std::vector<uint32_t> stableOrder(const std::vector<uint64_t> &key);

// One step of the output order: children before parents, depth first in
// pick order; a hole is at odd depth.
struct NestStep {
    uint32_t contour;
    bool hole;
};

// Sorts by box area (equal areas keep their order), nests each contour in
// the smallest one around it, orders every level by nearest corners (the
// first pick nearest to the lower-left corner of all, or of the parent),
// and gives the output order. Indexes are those of `contours`.
std::vector<NestStep> nestAndOrder(std::vector<NestEntry> contours, const OutlineFn &outline,
                                   const QuickHoldsFn &quick = nullptr);

// Nearest remaining entry of a list by up to four corners of its box
// (lower left, upper right, lower right, upper left); ties go to the lowest
// position in the list.
class CornerNearest {
public:
    CornerNearest(const std::vector<NestEntry> &entries, const int *list, size_t count);
    ~CornerNearest();
    void build();
    // The entry minimising the smallest squared distance between query point
    // k and its corner k, for k < corners.
    size_t nearest(const std::array<std::array<double, 2>, 4> &query, int corners);
    void remove(size_t pos);
    bool empty() const { return m_alive == 0; }

private:
    class Grid;
    void rebuild();

    // Corner k of the entry at position pos.
    std::array<double, 2> point(size_t k, size_t pos) const;

    const std::vector<NestEntry> &m_entries;
    const int *m_list;
    size_t m_count;
    size_t m_alive;
    size_t m_builtWith = 0;
    std::vector<char> m_removed;
    std::vector<size_t> m_remaining; // used once few entries are left
    std::array<std::unique_ptr<Grid>, 4> m_grids;
};

} // namespace vx
