#include "contour_index.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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

std::vector<int> findParents(const std::vector<Contour> &cs)
{
    const size_t n = cs.size();
    std::vector<int> parent(n, -1);
    if (n < 2)
        return parent;

    double x0 = cs[0].minX, y0 = cs[0].minY, x1 = cs[0].maxX, y1 = cs[0].maxY;
    for (const Contour &c : cs) {
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
    // Contours by the cells their box covers; very large boxes are checked
    // for every query instead.
    std::vector<std::vector<uint32_t>> cells(static_cast<size_t>(g * g));
    std::vector<uint32_t> large;
    for (size_t i = 0; i < n; ++i) {
        const Contour &c = cs[i];
        const int64_t ax = cellOf(c.minX, x0, cw, g), bx = cellOf(c.maxX, x0, cw, g);
        const int64_t ay = cellOf(c.minY, y0, ch, g), by = cellOf(c.maxY, y0, ch, g);
        if ((bx - ax + 1) * (by - ay + 1) > static_cast<int64_t>(kSmall)) {
            large.push_back(static_cast<uint32_t>(i));
            continue;
        }
        for (int64_t x = ax; x <= bx; ++x)
            for (int64_t y = ay; y <= by; ++y)
                cells[static_cast<size_t>(y * g + x)].push_back(static_cast<uint32_t>(i));
    }

    std::vector<std::unique_ptr<ContourLocator>> locators(n);
    std::vector<uint32_t> candidates;
    for (size_t e = 0; e < n; ++e) {
        const Contour &inner = cs[e];
        if (inner.pts.empty())
            continue;
        const Node &p = inner.pts.front();
        const auto &cell = cells[static_cast<size_t>(cellOf(p.y, y0, ch, g) * g + cellOf(p.x, x0, cw, g))];
        candidates.clear();
        for (const std::vector<uint32_t> *list : {&cell, static_cast<const std::vector<uint32_t> *>(&large)})
            for (uint32_t f : *list)
                if (f > e && cs[f].boxContains(inner))
                    candidates.push_back(f);
        std::sort(candidates.begin(), candidates.end());
        for (uint32_t f : candidates) {
            auto &loc = locators[f];
            if (!loc)
                loc = std::make_unique<ContourLocator>(cs[f].pts);
            if (loc->contains(p.x, p.y)) {
                parent[e] = static_cast<int>(f);
                break;
            }
        }
    }
    return parent;
}

// Uniform grid over one corner's points, searched ring by ring.
class CornerNearest::Grid {
public:
    Grid(const std::vector<std::array<double, 2>> &pts, const std::vector<size_t> &alive) : m_pts(pts)
    {
        double x0 = pts[alive[0]][0], y0 = pts[alive[0]][1], x1 = x0, y1 = y0;
        for (size_t i : alive) {
            x0 = std::min(x0, pts[i][0]);
            x1 = std::max(x1, pts[i][0]);
            y0 = std::min(y0, pts[i][1]);
            y1 = std::max(y1, pts[i][1]);
        }
        const double side = std::sqrt(static_cast<double>(alive.size()));
        m_cell = std::max(x1 - x0, y1 - y0) / side;
        if (!(m_cell > 0))
            m_cell = 1;
        m_x0 = x0;
        m_y0 = y0;
        m_gx = std::min<int64_t>(static_cast<int64_t>((x1 - x0) / m_cell) + 1, static_cast<int64_t>(side) + 2);
        m_gy = std::min<int64_t>(static_cast<int64_t>((y1 - y0) / m_cell) + 1, static_cast<int64_t>(side) + 2);
        m_cells.resize(static_cast<size_t>(m_gx * m_gy));
        for (size_t i : alive)
            m_cells[index(pts[i][0], pts[i][1])].push_back(i);
    }

    void remove(size_t pos)
    {
        auto &cell = m_cells[index(m_pts[pos][0], m_pts[pos][1])];
        auto it = std::find(cell.begin(), cell.end(), pos);
        if (it != cell.end()) {
            *it = cell.back();
            cell.pop_back();
        }
    }

    // Smallest squared distance to (x, y) and the lowest position holding it.
    void nearest(double x, double y, double &best, size_t &bestPos) const
    {
        const auto qx = static_cast<int64_t>(std::clamp(std::floor((x - m_x0) / m_cell), -1e12, 1e12));
        const auto qy = static_cast<int64_t>(std::clamp(std::floor((y - m_y0) / m_cell), -1e12, 1e12));
        const int64_t maxRing = std::max({qx, m_gx - 1 - qx, qy, m_gy - 1 - qy, -qx, -qy, qx - (m_gx - 1), qy - (m_gy - 1)});
        const int64_t firstRing = std::max<int64_t>({0, -qx, qx - (m_gx - 1), -qy, qy - (m_gy - 1)});
        auto visit = [&](int64_t cx, int64_t cy) {
            if (cx < 0 || cy < 0 || cx >= m_gx || cy >= m_gy)
                return;
            for (size_t pos : m_cells[static_cast<size_t>(cy * m_gx + cx)]) {
                const double dx = m_pts[pos][0] - x, dy = m_pts[pos][1] - y;
                const double d = dx * dx + dy * dy;
                if (d < best || (d == best && pos < bestPos)) {
                    best = d;
                    bestPos = pos;
                }
            }
        };
        for (int64_t r = firstRing; r <= maxRing; ++r) {
            // Points beyond ring r lie at least r cells away; one ring more is
            // searched so that rounding cannot hide an equal distance.
            const double reach = static_cast<double>(r - 2) * m_cell;
            if (bestPos != kNone && r >= 2 && best < reach * reach)
                break;
            const int64_t lx = std::max<int64_t>(qx - r, 0), hx = std::min<int64_t>(qx + r, m_gx - 1);
            for (int64_t cx = lx; cx <= hx; ++cx) {
                visit(cx, qy - r);
                if (r > 0)
                    visit(cx, qy + r);
            }
            const int64_t ly = std::max<int64_t>(qy - r + 1, 0), hy = std::min<int64_t>(qy + r - 1, m_gy - 1);
            for (int64_t cy = ly; cy <= hy; ++cy) {
                visit(qx - r, cy);
                if (r > 0)
                    visit(qx + r, cy);
            }
        }
    }

    static constexpr size_t kNone = std::numeric_limits<size_t>::max();

private:
    size_t index(double x, double y) const
    {
        return static_cast<size_t>(cellOf(y, m_y0, m_cell, m_gy) * m_gx + cellOf(x, m_x0, m_cell, m_gx));
    }

    const std::vector<std::array<double, 2>> &m_pts;
    double m_x0 = 0, m_y0 = 0, m_cell = 1;
    int64_t m_gx = 1, m_gy = 1;
    std::vector<std::vector<size_t>> m_cells;
};

CornerNearest::CornerNearest(size_t count) : m_count(count), m_alive(count), m_removed(count, 0)
{
    for (auto &p : m_points)
        p.resize(count);
}

CornerNearest::~CornerNearest() = default;

void CornerNearest::setPoint(int corner, size_t pos, double x, double y)
{
    m_points[static_cast<size_t>(corner)][pos] = {x, y};
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
        m_grids[k] = std::make_unique<Grid>(m_points[k], m_remaining);
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
                const auto &p = m_points[static_cast<size_t>(k)][pos];
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
    for (int k = 0; k < corners; ++k) {
        double d = std::numeric_limits<double>::infinity();
        size_t pos = Grid::kNone;
        m_grids[static_cast<size_t>(k)]->nearest(query[static_cast<size_t>(k)][0], query[static_cast<size_t>(k)][1], d, pos);
        if (pos != Grid::kNone && (d < best || (d == best && pos < bestPos))) {
            best = d;
            bestPos = pos;
        }
    }
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

} // namespace vx
