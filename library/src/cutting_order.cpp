#include "cutting_order.h"

#include "contour_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <numeric>
#include <unordered_map>

namespace vx {

namespace {

bool near(const Node &a, const Node &b)
{
    return std::fabs(a.x - b.x) < kJoinTolerance && std::fabs(a.y - b.y) < kJoinTolerance;
}

// Contour ends by cell, so that a join looks only at nearby ends. The cells
// are larger than the tolerance: a match lies in the same or a neighbouring cell.
class EndGrid {
public:
    struct Ref {
        int32_t entry;
        bool tail;
    };
    static constexpr double kCell = 1e-3;

    void add(const Node &p, int32_t entry, bool tail) { m_cells[key(cellOf(p.x), cellOf(p.y))].push_back({entry, tail}); }

    // Calls `visit` for every end registered near `p`; `visit` returns false
    // for references that can never match again, which are dropped.
    template <typename Visit> void scan(const Node &p, Visit &&visit)
    {
        const int64_t cx = cellOf(p.x), cy = cellOf(p.y);
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                auto it = m_cells.find(key(cx + dx, cy + dy));
                if (it == m_cells.end())
                    continue;
                auto &refs = it->second;
                refs.erase(std::remove_if(refs.begin(), refs.end(), [&](const Ref &r) { return !visit(r); }),
                           refs.end());
            }
    }

private:
    static int64_t cellOf(double v) { return static_cast<int64_t>(std::clamp(std::floor(v / kCell), -1e15, 1e15)); }
    static uint64_t key(int64_t x, int64_t y)
    {
        return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ (static_cast<uint64_t>(y) + 0x632BE59BD9B4E019ull);
    }
    // Distinct cells may share a key; every candidate is checked by distance.
    std::unordered_map<uint64_t, std::vector<Ref>> m_cells;
};

// A joined contour as a chain of original pieces, so that joining in front
// costs no copy.
struct Chain {
    std::deque<int32_t> pieces;
    bool alive = true;
};

} // namespace

std::vector<Contour> splitContours(const PointList &list)
{
    std::vector<Contour> contours;
    size_t start = 0;
    for (size_t i = 1; i <= list.size(); ++i) {
        if (i < list.size() && list[i].contour == list[i - 1].contour)
            continue;
        Contour c;
        c.pts.assign(list.begin() + static_cast<ptrdiff_t>(start), list.begin() + static_cast<ptrdiff_t>(i));
        const auto number = static_cast<int32_t>(contours.size() + 1);
        for (Node &n : c.pts)
            n.contour = number;
        contours.push_back(std::move(c));
        start = i;
    }
    return contours;
}

void joinContours(std::vector<Contour> &contours)
{
    const auto n = static_cast<int32_t>(contours.size());
    std::vector<Chain> chains(static_cast<size_t>(n));
    EndGrid grid;
    for (int32_t i = 0; i < n; ++i) {
        chains[static_cast<size_t>(i)].pieces.push_back(i);
        if (contours[static_cast<size_t>(i)].pts.empty())
            continue;
        grid.add(contours[static_cast<size_t>(i)].pts.front(), i, false);
        grid.add(contours[static_cast<size_t>(i)].pts.back(), i, true);
    }
    auto headOf = [&](const Chain &c) -> const Node & { return contours[static_cast<size_t>(c.pieces.front())].pts.front(); };
    auto tailOf = [&](const Chain &c) -> const Node & { return contours[static_cast<size_t>(c.pieces.back())].pts.back(); };

    for (int32_t i = 0; i < n; ++i) {
        Chain &a = chains[static_cast<size_t>(i)];
        if (!a.alive || contours[static_cast<size_t>(i)].pts.empty())
            continue;
        for (;;) {
            // The earliest later contour with an end on one of A's ends.
            int32_t partner = -1;
            for (const Node *end : {&headOf(a), &tailOf(a)}) {
                const Node p = *end;
                grid.scan(p, [&](const EndGrid::Ref &r) {
                    if (r.entry <= i || !chains[static_cast<size_t>(r.entry)].alive)
                        return false;
                    const Contour &b = contours[static_cast<size_t>(r.entry)];
                    if ((partner < 0 || r.entry < partner) && near(p, r.tail ? b.pts.back() : b.pts.front()))
                        partner = r.entry;
                    return true;
                });
            }
            if (partner < 0)
                break;
            Contour &b = contours[static_cast<size_t>(partner)];
            if (!near(tailOf(a), b.pts.front()) && !near(headOf(a), b.pts.back()))
                b.reverse();
            if (near(tailOf(a), b.pts.front()))
                a.pieces.push_back(partner);
            else
                a.pieces.push_front(partner);
            chains[static_cast<size_t>(partner)].alive = false;
        }
    }

    std::vector<Contour> joined;
    joined.reserve(contours.size());
    for (int32_t i = 0; i < n; ++i) {
        const Chain &c = chains[static_cast<size_t>(i)];
        if (!c.alive)
            continue;
        if (c.pieces.size() == 1) {
            joined.push_back(std::move(contours[static_cast<size_t>(i)]));
            continue;
        }
        Contour merged;
        size_t total = 0;
        for (int32_t p : c.pieces)
            total += contours[static_cast<size_t>(p)].pts.size();
        merged.pts.reserve(total);
        const int32_t number = contours[static_cast<size_t>(i)].pts.front().contour;
        for (int32_t p : c.pieces)
            for (Node node : contours[static_cast<size_t>(p)].pts) {
                node.contour = number;
                merged.pts.push_back(node);
            }
        joined.push_back(std::move(merged));
    }
    contours.swap(joined);
}

namespace {

struct Corner {
    double x, y;
};

Corner cornerOf(const Contour &c, int k)
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

// Greedy nearest-neighbour order of one list: the first pick is nearest (by
// lower-left corner) to `start`, each next one nearest to the previous pick by
// the closest of the four matching box corners; ties go to the earlier entry.
std::vector<int> orderList(const std::vector<Contour> &cs, const std::vector<int> &list, Corner start)
{
    std::vector<int> picks;
    picks.reserve(list.size());
    if (list.empty())
        return picks;
    CornerNearest nearest(list.size());
    for (size_t pos = 0; pos < list.size(); ++pos) {
        const Contour &c = cs[static_cast<size_t>(list[pos])];
        for (int k = 0; k < 4; ++k) {
            const Corner p = cornerOf(c, k);
            nearest.setPoint(k, pos, p.x, p.y);
        }
    }
    nearest.build();
    size_t pos = nearest.nearest({{start.x, start.y}}, 1);
    for (;;) {
        picks.push_back(list[pos]);
        nearest.remove(pos);
        if (nearest.empty())
            break;
        const Contour &prev = cs[static_cast<size_t>(list[pos])];
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

PointList orderAndEmit(std::vector<Contour> contours, bool reverseHoles)
{
    PointList out;
    if (contours.empty())
        return out;
    const size_t n = contours.size();

    // Smallest box first; equal areas keep their order.
    std::vector<double> area(n);
    for (size_t i = 0; i < n; ++i)
        area[i] = contours[i].boxArea();
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return area[static_cast<size_t>(a)] < area[static_cast<size_t>(b)]; });
    std::vector<Contour> cs;
    cs.reserve(n);
    for (int i : order)
        cs.push_back(std::move(contours[static_cast<size_t>(i)]));

    Corner startCorner{cs[0].minX, cs[0].minY};
    for (const Contour &c : cs) {
        startCorner.x = std::min(startCorner.x, c.minX);
        startCorner.y = std::min(startCorner.y, c.minY);
    }

    // Each contour's parent is the first later (so the smallest) one whose box
    // holds its box and whose outline holds its first node.
    std::vector<int> parent = findParents(cs);
    std::vector<std::vector<int>> children(n);
    std::vector<int> topLevel;
    for (size_t i = 0; i < n; ++i) {
        if (parent[i] < 0)
            topLevel.push_back(static_cast<int>(i));
    }
    // Each child went to the front of its parent's list, so the list runs
    // from the latest child to the first.
    for (size_t i = n; i-- > 0;)
        if (parent[i] >= 0)
            children[static_cast<size_t>(parent[i])].push_back(static_cast<int>(i));

    std::vector<std::vector<int>> ordered(n);
    std::vector<int> top = orderList(cs, topLevel, startCorner);
    {
        std::vector<int> pending(top.begin(), top.end());
        while (!pending.empty()) {
            const int c = pending.back();
            pending.pop_back();
            const Contour &pc = cs[static_cast<size_t>(c)];
            ordered[static_cast<size_t>(c)] = orderList(cs, children[static_cast<size_t>(c)], {pc.minX, pc.minY});
            for (int child : ordered[static_cast<size_t>(c)])
                pending.push_back(child);
        }
    }

    size_t total = 0;
    for (const Contour &c : cs)
        total += c.pts.size();
    out.reserve(total);
    // Children before parents, depth first in pick order.
    struct Frame {
        int contour;
        size_t next;
    };
    std::vector<Frame> stack;
    for (int t : top) {
        stack.push_back({t, 0});
        while (!stack.empty()) {
            Frame &f = stack.back();
            const auto &kids = ordered[static_cast<size_t>(f.contour)];
            if (f.next < kids.size()) {
                const int child = kids[f.next++];
                stack.push_back({child, 0});
                continue;
            }
            const int c = f.contour;
            stack.pop_back();
            Contour &contour = cs[static_cast<size_t>(c)];
            if (reverseHoles && stack.size() % 2 == 1)
                contour.reverse();
            out.insert(out.end(), contour.pts.begin(), contour.pts.end());
        }
    }
    return out;
}

PointList cuttingOrder(const PointList &list)
{
    std::vector<Contour> contours = splitContours(list);
    joinContours(contours);
    const bool multi = contours.size() > 1;
    for (Contour &c : contours) {
        simplify(c.pts, kSimplifyTolerance);
        c.update();
        if (c.pts.empty())
            continue;
        if (c.closed) {
            // Start at the node of largest X, the lowest of those.
            size_t best = 0;
            for (size_t i = 1; i < c.pts.size(); ++i) {
                const Node &p = c.pts[i];
                const Node &b = c.pts[best];
                if (p.x > b.x || (p.x == b.x && p.y < b.y))
                    best = i;
            }
            std::rotate(c.pts.begin(), c.pts.begin() + static_cast<ptrdiff_t>(best), c.pts.end());
            c.pts.push_back(c.pts.front());
            if (c.doubleArea < 0)
                c.reverse();
        } else if (!multi) {
            if (c.pts.back().x > c.pts.front().x)
                c.reverse();
        } else if (c.doubleArea < 0) {
            c.reverse();
        }
    }
    return orderAndEmit(std::move(contours), true);
}

} // namespace vx
