#include "order/contour_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace vx {

namespace {

constexpr size_t kSmall = 64; // below this a plain scan is as fast

int64_t cellOf(double v, double origin, double size, int64_t cells)
{
    const double c = std::floor((v - origin) / size);
    if (!(c >= 0))
        return 0;
    if (c >= static_cast<double>(cells - 1))
        return cells - 1;
    return static_cast<int64_t>(c);
}

struct Corner {
    double x, y;
};

Corner cornerOf(const NestEntry &c, int k)
{
    switch (k) {
    case 0:
        return {c.minX, c.minY};
    case 1:
        return {c.maxX, c.maxY};
    case 2:
        return {c.maxX, c.minY};
    default:
        return {c.minX, c.maxY};
    }
}

} // namespace

ContourLocator::ContourLocator(const std::vector<Node> &pts) : m_pts(pts)
{
    const size_t n = pts.size();
    if (n < kSmall)
        return;
    double lo = pts[0].y, hi = pts[0].y;
    for (const Node &p : pts) {
        lo = std::min(lo, p.y);
        hi = std::max(hi, p.y);
    }
    const auto bands = static_cast<int64_t>(std::sqrt(static_cast<double>(n))) + 1;
    m_y0 = lo;
    m_band = (hi - lo) / static_cast<double>(bands);
    if (!(m_band > 0))
        m_band = 1;
    m_bands.resize(static_cast<size_t>(bands));
    for (size_t i = 0; i < n; ++i) {
        const Node &a = pts[i == 0 ? n - 1 : i - 1];
        const Node &b = pts[i];
        const int64_t from = cellOf(std::min(a.y, b.y), m_y0, m_band, bands);
        const int64_t to = cellOf(std::max(a.y, b.y), m_y0, m_band, bands);
        for (int64_t k = from; k <= to; ++k)
            m_bands[static_cast<size_t>(k)].push_back(static_cast<uint32_t>(i));
    }
}

bool ContourLocator::contains(double x, double y) const
{
    if (m_bands.empty())
        return pointInContour(m_pts, x, y);
    const size_t n = m_pts.size();
    const int64_t band = cellOf(y, m_y0, m_band, static_cast<int64_t>(m_bands.size()));
    bool inside = false;
    for (uint32_t i : m_bands[static_cast<size_t>(band)]) {
        const Node &a = m_pts[i == 0 ? n - 1 : i - 1];
        const Node &b = m_pts[i];
        if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
            const double xCross = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < xCross)
                inside = !inside;
        }
    }
    return inside;
}

std::vector<int> findParents(const std::vector<NestEntry> &cs, const OutlineFn &outline, const QuickHoldsFn &quick)
{
    const size_t n = cs.size();
    std::vector<int> parent(n, -1);
    if (n < 2)
        return parent;

    double x0 = cs[0].minX, y0 = cs[0].minY, x1 = cs[0].maxX, y1 = cs[0].maxY;
    for (const NestEntry &c : cs) {
        x0 = std::min(x0, c.minX);
        y0 = std::min(y0, c.minY);
        x1 = std::max(x1, c.maxX);
        y1 = std::max(y1, c.maxY);
    }
    const auto g = static_cast<int64_t>(std::sqrt(static_cast<double>(n))) + 1;
    double cw = (x1 - x0) / static_cast<double>(g);
    double ch = (y1 - y0) / static_cast<double>(g);
    if (!(cw > 0))
        cw = 1;
    if (!(ch > 0))
        ch = 1;
    // The first nodes by cell, each cell's in contour order. A contour's
    // first node lies in its box, so the cells under a box hold every
    // contour that box may hold.
    const auto cells = static_cast<size_t>(g * g);
    std::vector<uint32_t> begin(cells + 1, 0), end(cells);
    auto cellOfFirst = [&](const NestEntry &c) {
        return static_cast<size_t>(cellOf(c.firstY, y0, ch, g) * g + cellOf(c.firstX, x0, cw, g));
    };
    for (const NestEntry &c : cs)
        if (c.hasFirst)
            ++begin[cellOfFirst(c) + 1];
    for (size_t k = 0; k < cells; ++k)
        begin[k + 1] += begin[k];
    std::copy(begin.begin(), begin.end() - 1, end.begin());
    // Each with its box, so that a scan reads its cells alone: in single
    // precision rounded inwards, which any box holding the exact one holds,
    // then checked exactly.
    struct Held {
        float minX, minY, maxX, maxY;
        uint32_t index;
    };
    constexpr float kLargest = std::numeric_limits<float>::max(), kInf = std::numeric_limits<float>::infinity();
    auto up = [&](double v) {
        if (!(std::fabs(v) <= kLargest)) // beyond single precision, or not a number
            return v > 0 ? kInf : v < 0 ? -kLargest : static_cast<float>(v);
        const auto f = static_cast<float>(v);
        return static_cast<double>(f) < v ? std::nextafter(f, kInf) : f;
    };
    auto down = [&](double v) {
        if (!(std::fabs(v) <= kLargest))
            return v < 0 ? -kInf : v > 0 ? kLargest : static_cast<float>(v);
        const auto f = static_cast<float>(v);
        return static_cast<double>(f) > v ? std::nextafter(f, -kInf) : f;
    };
    std::vector<Held> entries(begin[cells]);
    for (size_t i = 0; i < n; ++i)
        if (cs[i].hasFirst)
            entries[end[cellOfFirst(cs[i])]++] = {up(cs[i].minX), up(cs[i].minY), down(cs[i].maxX), down(cs[i].maxY),
                                                  static_cast<uint32_t>(i)};

    // Each contour in turn takes, among the smaller ones not placed yet, those
    // its box and its outline hold: a contour's parent is the first to.
    std::vector<uint32_t> candidates;
    for (size_t f = 1; f < n; ++f) {
        const NestEntry &outer = cs[f];
        if (!(outer.minX <= outer.maxX && outer.minY <= outer.maxY))
            continue;
        const int64_t ax = cellOf(outer.minX, x0, cw, g), bx = cellOf(outer.maxX, x0, cw, g);
        const int64_t ay = cellOf(outer.minY, y0, ch, g), by = cellOf(outer.maxY, y0, ch, g);
        candidates.clear();
        for (int64_t y = ay; y <= by; ++y)
            for (int64_t x = ax; x <= bx; ++x) {
                const auto k = static_cast<size_t>(y * g + x);
                for (uint32_t i = begin[k]; i < end[k] && entries[i].index < f; ++i) {
                    const Held &h = entries[i];
                    if (outer.minX <= h.minX && outer.minY <= h.minY && outer.maxX >= h.maxX && outer.maxY >= h.maxY &&
                        outer.boxContains(cs[h.index]))
                        candidates.push_back(h.index);
                }
            }
        if (candidates.empty())
            continue;
        bool placed = false;
        auto take = [&](uint32_t e) {
            parent[e] = static_cast<int>(f);
            placed = true;
        };
        if (quick) {
            size_t open = 0;
            for (uint32_t e : candidates) {
                const int holds = quick(f, cs[e].firstX, cs[e].firstY);
                if (holds > 0)
                    take(e);
                else if (holds < 0)
                    candidates[open++] = e;
            }
            candidates.resize(open);
        }
        if (!candidates.empty()) {
            const std::vector<Node> &pts = outline(f);
            // A few tests read the outline faster than sorting its edges.
            if (candidates.size() * pts.size() <= 32 * kSmall) {
                for (uint32_t e : candidates)
                    if (pointInContour(pts, cs[e].firstX, cs[e].firstY))
                        take(e);
            } else {
                const ContourLocator locator(pts);
                for (uint32_t e : candidates)
                    if (locator.contains(cs[e].firstX, cs[e].firstY))
                        take(e);
            }
        }
        if (!placed)
            continue;
        // Placed contours leave their cells.
        for (int64_t y = ay; y <= by; ++y)
            for (int64_t x = ax; x <= bx; ++x) {
                const auto k = static_cast<size_t>(y * g + x);
                uint32_t w = begin[k];
                for (uint32_t i = begin[k]; i < end[k]; ++i)
                    if (parent[entries[i].index] < 0)
                        entries[w++] = entries[i];
                end[k] = w;
            }
    }
    return parent;
}

// Uniform grid over one corner's points, searched ring by ring.
class CornerNearest::Grid {
public:
    Grid(const CornerNearest &owner, size_t corner, const std::vector<size_t> &alive) : m_owner(owner), m_corner(corner)
    {
        auto at = [&](size_t i) { return owner.point(corner, i); };
        double x0 = at(alive[0])[0], y0 = at(alive[0])[1], x1 = x0, y1 = y0;
        for (size_t i : alive) {
            const auto p = at(i);
            x0 = std::min(x0, p[0]);
            x1 = std::max(x1, p[0]);
            y0 = std::min(y0, p[1]);
            y1 = std::max(y1, p[1]);
        }
        // Two points a cell on average: fewer empty cells to visit.
        const double side = std::sqrt(static_cast<double>(alive.size()) / 2);
        m_cell = std::max(x1 - x0, y1 - y0) / side;
        if (!(m_cell > 0))
            m_cell = 1;
        m_x0 = x0;
        m_y0 = y0;
        m_gx = std::min<int64_t>(static_cast<int64_t>((x1 - x0) / m_cell) + 1, static_cast<int64_t>(side) + 2);
        m_gy = std::min<int64_t>(static_cast<int64_t>((y1 - y0) / m_cell) + 1, static_cast<int64_t>(side) + 2);
        // The points by cell, side by side with their positions.
        const auto cells = static_cast<size_t>(m_gx * m_gy);
        m_cells.assign(cells, Cell{});
        for (size_t i : alive)
            ++m_cells[index(at(i))].end;
        uint32_t offset = 0;
        for (Cell &c : m_cells) {
            const uint32_t count = c.end;
            c.begin = c.end = offset;
            offset += count;
        }
        m_entries.resize(alive.size());
        for (size_t i : alive) {
            const auto p = at(i);
            m_entries[m_cells[index(p)].end++] = {p[0], p[1], i};
        }
    }

    void remove(size_t pos)
    {
        Cell &c = m_cells[index(m_owner.point(m_corner, pos))];
        for (uint32_t k = c.begin; k < c.end; ++k)
            if (m_entries[k].pos == pos) {
                m_entries[k] = m_entries[--c.end];
                return;
            }
    }

    // Smallest squared distance to (x, y) and the lowest position holding it.
    void nearest(double x, double y, double &best, size_t &bestPos) const
    {
        const auto qx = static_cast<int64_t>(std::clamp(std::floor((x - m_x0) / m_cell), -1e12, 1e12));
        const auto qy = static_cast<int64_t>(std::clamp(std::floor((y - m_y0) / m_cell), -1e12, 1e12));
        const int64_t maxRing = std::max({qx, m_gx - 1 - qx, qy, m_gy - 1 - qy, -qx, -qy, qx - (m_gx - 1), qy - (m_gy - 1)});
        const int64_t firstRing = std::max<int64_t>({0, -qx, qx - (m_gx - 1), -qy, qy - (m_gy - 1)});
        // Cells from (cx, cy) on along a row or down a column, all inside.
        auto visit = [&](int64_t cx, int64_t cy, int64_t count, int64_t stride) {
            const Cell *cell = m_cells.data() + (cy * m_gx + cx);
            for (int64_t k = 0; k < count; ++k, cell += stride)
                for (const Entry *e = m_entries.data() + cell->begin, *end = m_entries.data() + cell->end; e != end; ++e) {
                    const double dx = e->x - x, dy = e->y - y;
                    const double d = dx * dx + dy * dy;
                    if (d < best || (d == best && e->pos < bestPos)) {
                        best = d;
                        bestPos = e->pos;
                    }
                }
        };
        // The rounding of a cell's edges and of the point's place in it.
        const double slack = 1e-12 * (std::fabs(x) + std::fabs(y) + std::fabs(m_x0) + std::fabs(m_y0) +
                                      static_cast<double>(m_gx + m_gy) * m_cell);
        for (int64_t r = firstRing; r <= maxRing; ++r) {
            // Points in ring r and beyond lie outside the cells of the rings
            // before, more than r - 1 cells away; the cells' rounding is far
            // below the slack left.
            double reach = static_cast<double>(r - 1) * m_cell * (1 - 1e-9);
            if (r > firstRing) {
                const double left = x - (m_x0 + static_cast<double>(qx - r + 1) * m_cell);
                const double right = m_x0 + static_cast<double>(qx + r) * m_cell - x;
                const double below = y - (m_y0 + static_cast<double>(qy - r + 1) * m_cell);
                const double above = m_y0 + static_cast<double>(qy + r) * m_cell - y;
                reach = std::max(reach, std::min({left, right, below, above}) * (1 - 1e-9) - slack);
            }
            if (bestPos != kNone && reach > 0 && best < reach * reach)
                break;
            // The ring's rows, then its columns between them, as far as
            // they lie inside the grid.
            const int64_t lx = std::max<int64_t>(qx - r, 0), hx = std::min<int64_t>(qx + r, m_gx - 1);
            if (lx <= hx) {
                if (qy - r >= 0 && qy - r < m_gy)
                    visit(lx, qy - r, hx - lx + 1, 1);
                if (r > 0 && qy + r >= 0 && qy + r < m_gy)
                    visit(lx, qy + r, hx - lx + 1, 1);
            }
            const int64_t ly = std::max<int64_t>(qy - r + 1, 0), hy = std::min<int64_t>(qy + r - 1, m_gy - 1);
            if (ly <= hy) {
                if (qx - r >= 0 && qx - r < m_gx)
                    visit(qx - r, ly, hy - ly + 1, m_gx);
                if (r > 0 && qx + r >= 0 && qx + r < m_gx)
                    visit(qx + r, ly, hy - ly + 1, m_gx);
            }
        }
    }

    static constexpr size_t kNone = std::numeric_limits<size_t>::max();

private:
    size_t index(const std::array<double, 2> &p) const
    {
        return static_cast<size_t>(cellOf(p[1], m_y0, m_cell, m_gy) * m_gx + cellOf(p[0], m_x0, m_cell, m_gx));
    }

    struct Entry {
        double x, y;
        size_t pos;
    };

    struct Cell {
        uint32_t begin = 0, end = 0; // its entries, those live before the end
    };

    const CornerNearest &m_owner;
    size_t m_corner;
    double m_x0 = 0, m_y0 = 0, m_cell = 1;
    int64_t m_gx = 1, m_gy = 1;
    std::vector<Cell> m_cells;
    std::vector<Entry> m_entries;
};

CornerNearest::CornerNearest(const std::vector<NestEntry> &entries, const int *list, size_t count)
    : m_entries(entries), m_list(list), m_count(count), m_alive(count), m_removed(count, 0)
{
}

CornerNearest::~CornerNearest() = default;

std::array<double, 2> CornerNearest::point(size_t k, size_t pos) const
{
    const Corner c = cornerOf(m_entries[static_cast<size_t>(m_list[pos])], static_cast<int>(k));
    return {c.x, c.y};
}

void CornerNearest::build() { rebuild(); }

void CornerNearest::rebuild()
{
    m_remaining.clear();
    for (size_t i = 0; i < m_count; ++i)
        if (!m_removed[i])
            m_remaining.push_back(i);
    m_builtWith = m_alive;
    for (auto &g : m_grids)
        g.reset();
    if (m_alive <= kSmall)
        return;
    for (size_t k = 0; k < 4; ++k)
        m_grids[k] = std::make_unique<Grid>(*this, k, m_remaining);
}

size_t CornerNearest::nearest(const std::array<std::array<double, 2>, 4> &query, int corners)
{
    double best = 9.99999999e107;
    size_t bestPos = Grid::kNone;
    if (!m_grids[0]) {
        for (size_t pos : m_remaining) {
            if (m_removed[pos])
                continue;
            double d = std::numeric_limits<double>::infinity();
            for (int k = 0; k < corners; ++k) {
                const auto p = point(static_cast<size_t>(k), pos);
                const double dx = p[0] - query[static_cast<size_t>(k)][0];
                const double dy = p[1] - query[static_cast<size_t>(k)][1];
                d = std::min(d, dx * dx + dy * dy);
            }
            if (d < best) {
                best = d;
                bestPos = pos;
            }
        }
        if (bestPos == Grid::kNone) // every distance beyond the initial best
            for (size_t pos : m_remaining)
                if (!m_removed[pos])
                    return pos;
        return bestPos;
    }
    // Each corner's grid is searched with the best found so far, which only
    // a nearer entry or an equal one of lower position replaces.
    for (int k = 0; k < corners; ++k)
        m_grids[static_cast<size_t>(k)]->nearest(query[static_cast<size_t>(k)][0], query[static_cast<size_t>(k)][1], best,
                                                 bestPos);
    return bestPos;
}

void CornerNearest::remove(size_t pos)
{
    if (m_removed[pos])
        return;
    m_removed[pos] = 1;
    --m_alive;
    if (m_grids[0])
        for (auto &g : m_grids)
            g->remove(pos);
    if (m_alive > 0 && (m_alive <= kSmall ? m_grids[0] != nullptr : m_alive * 4 < m_builtWith))
        rebuild();
}

namespace {

// Greedy nearest-neighbour order of one list: the first pick is nearest (by
// lower-left corner) to `start`, each next one nearest to the previous pick by
// the closest of the four matching box corners; ties go to the earlier entry.
// The same order for a short list, by plain scans: what CornerNearest does
// below kSmall entries, without building it.
std::vector<int> orderShortList(const std::vector<NestEntry> &cs, const int *list, size_t n, Corner start)
{
    std::array<bool, kSmall> taken{};
    std::vector<int> picks;
    picks.reserve(n);
    Corner query[4] = {start, start, start, start};
    int corners = 1;
    for (size_t round = 0; round < n; ++round) {
        double best = 9.99999999e107;
        size_t bestPos = n;
        for (size_t pos = 0; pos < n; ++pos) {
            if (taken[pos])
                continue;
            const NestEntry &c = cs[static_cast<size_t>(list[pos])];
            double d = std::numeric_limits<double>::infinity();
            for (int k = 0; k < corners; ++k) {
                const Corner p = cornerOf(c, k);
                const double dx = p.x - query[k].x;
                const double dy = p.y - query[k].y;
                d = std::min(d, dx * dx + dy * dy);
            }
            if (d < best) {
                best = d;
                bestPos = pos;
            }
        }
        if (bestPos == n) // every distance beyond the initial best
            for (bestPos = 0; taken[bestPos];)
                ++bestPos;
        taken[bestPos] = true;
        picks.push_back(list[bestPos]);
        const NestEntry &prev = cs[static_cast<size_t>(list[bestPos])];
        for (int k = 0; k < 4; ++k)
            query[k] = cornerOf(prev, k);
        corners = 4;
    }
    return picks;
}

std::vector<int> orderList(const std::vector<NestEntry> &cs, const int *list, size_t n, Corner start)
{
    if (n <= kSmall)
        return orderShortList(cs, list, n, start);
    std::vector<int> picks;
    picks.reserve(n);
    CornerNearest nearest(cs, list, n);
    nearest.build();
    size_t pos = nearest.nearest({{{start.x, start.y}}}, 1);
    for (;;) {
        picks.push_back(list[pos]);
        nearest.remove(pos);
        if (nearest.empty())
            break;
        const NestEntry &prev = cs[static_cast<size_t>(list[pos])];
        std::array<std::array<double, 2>, 4> q;
        for (int k = 0; k < 4; ++k) {
            const Corner p = cornerOf(prev, k);
            q[static_cast<size_t>(k)] = {p.x, p.y};
        }
        pos = nearest.nearest(q, 4);
    }
    return picks;
}

} // namespace

uint64_t orderKey(double value)
{
    constexpr uint64_t kSign = uint64_t(1) << 63;
    const auto bits = std::bit_cast<uint64_t>(value + 0.0);
    return (bits & kSign) ? ~bits : bits | kSign;
}

// A radix sort of the positions, a byte of the keys at a time.
std::vector<uint32_t> stableOrder(const std::vector<uint64_t> &key)
{
    const size_t n = key.size();
    std::vector<uint32_t> order(n), orderOut(n);
    std::iota(order.begin(), order.end(), 0u);
    if (n < 2)
        return order;
    std::array<std::array<uint32_t, 256>, 8> count{};
    for (const uint64_t k : key)
        for (size_t b = 0; b < 8; ++b)
            ++count[b][(k >> (8 * b)) & 0xff];
    for (size_t b = 0; b < 8; ++b) {
        std::array<uint32_t, 256> &c = count[b];
        if (c[key[0] >> (8 * b) & 0xff] == n)
            continue; // one digit for all
        uint32_t sum = 0;
        for (uint32_t &k : c) {
            const uint32_t here = k;
            k = sum;
            sum += here;
        }
        for (const uint32_t i : order)
            orderOut[c[(key[i] >> (8 * b)) & 0xff]++] = i;
        order.swap(orderOut);
    }
    return order;
}

std::vector<NestStep> nestAndOrder(std::vector<NestEntry> cs, const OutlineFn &outline, const QuickHoldsFn &quick)
{
    std::vector<NestStep> steps;
    const size_t n = cs.size();
    if (n == 0)
        return steps;

    // Smallest box first; equal areas keep their order. The entries are put
    // in that order where they stand.
    std::vector<uint32_t> order;
    {
        auto area = [&](size_t i) { return (cs[i].maxX - cs[i].minX) * (cs[i].maxY - cs[i].minY); };
        std::vector<uint64_t> key(n);
        bool unordered = false;
        for (size_t i = 0; i < n; ++i) {
            const double a = area(i);
            unordered = unordered || std::isnan(a);
            key[i] = orderKey(a);
        }
        if (!unordered) {
            order = stableOrder(key);
        } else {
            // An area that is not a number: the comparisons decide alone.
            key = {};
            order.resize(n);
            std::iota(order.begin(), order.end(), 0u);
            std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return area(a) < area(b); });
        }
    }
    {
        std::vector<bool> placed(n, false);
        for (size_t k = 0; k < n; ++k) {
            if (placed[k])
                continue;
            // The cycle through k: position j takes the entry of order[j].
            const NestEntry first = cs[k];
            size_t j = k;
            while (order[j] != k) {
                cs[j] = cs[order[j]];
                placed[j] = true;
                j = order[j];
            }
            cs[j] = first;
            placed[j] = true;
        }
    }

    Corner startCorner{cs[0].minX, cs[0].minY};
    for (const NestEntry &c : cs) {
        startCorner.x = std::min(startCorner.x, c.minX);
        startCorner.y = std::min(startCorner.y, c.minY);
    }

    QuickHoldsFn quickSorted;
    if (quick)
        quickSorted = [&](size_t f, double x, double y) { return quick(order[f], x, y); };
    const std::vector<int> parent =
        findParents(cs, [&](size_t f) -> const std::vector<Node> & { return outline(order[f]); }, quickSorted);
    // Children by parent, each list from the latest child to the first: each
    // child went to the front of its parent's list.
    std::vector<uint32_t> childStart(n + 1, 0);
    std::vector<int> topLevel;
    for (size_t i = 0; i < n; ++i) {
        if (parent[i] < 0)
            topLevel.push_back(static_cast<int>(i));
        else
            ++childStart[static_cast<size_t>(parent[i]) + 1];
    }
    for (size_t i = 0; i < n; ++i)
        childStart[i + 1] += childStart[i];
    std::vector<int> children(childStart[n]);
    {
        std::vector<uint32_t> fill(childStart.begin(), childStart.end() - 1);
        for (size_t i = n; i-- > 0;)
            if (parent[i] >= 0)
                children[fill[static_cast<size_t>(parent[i])]++] = static_cast<int>(i);
    }

    // Each list in pick order, in place.
    const std::vector<int> top = orderList(cs, topLevel.data(), topLevel.size(), startCorner);
    topLevel = {};
    {
        std::vector<int> pending(top.begin(), top.end());
        while (!pending.empty()) {
            const auto c = static_cast<size_t>(pending.back());
            pending.pop_back();
            int *kids = children.data() + childStart[c];
            const size_t count = childStart[c + 1] - childStart[c];
            const std::vector<int> picks = orderList(cs, kids, count, {cs[c].minX, cs[c].minY});
            std::copy(picks.begin(), picks.end(), kids);
            pending.insert(pending.end(), picks.begin(), picks.end());
        }
    }

    // Children before parents, depth first in pick order.
    steps.reserve(n);
    struct Frame {
        int contour;
        uint32_t next;
    };
    std::vector<Frame> stack;
    for (int t : top) {
        stack.push_back({t, childStart[static_cast<size_t>(t)]});
        while (!stack.empty()) {
            Frame &f = stack.back();
            if (f.next < childStart[static_cast<size_t>(f.contour) + 1]) {
                const int child = children[f.next++];
                stack.push_back({child, childStart[static_cast<size_t>(child)]});
                continue;
            }
            const int c = f.contour;
            stack.pop_back();
            steps.push_back({order[static_cast<size_t>(c)], stack.size() % 2 == 1});
        }
    }
    return steps;
}

} // namespace vx
