#include "cutting_order.h"

#include "contour_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace vx {

namespace {

bool near(const Node &a, const Node &b)
{
    return std::fabs(a.x - b.x) < kJoinTolerance && std::fabs(a.y - b.y) < kJoinTolerance;
}

// Contour ends by cell in a flat table, each cell's ends in piece order, so
// that a join reads only the ends near it. The cells are ten times the
// tolerance: an end's partners are almost always in its own cell.
class EndIndex {
public:
    // ends[2i] is the head of piece i, ends[2i+1] its tail.
    explicit EndIndex(const std::vector<Node> &ends) : m_ends(ends)
    {
        size_t capacity = 16;
        while (capacity < 2 * ends.size())
            capacity *= 2;
        m_slots.assign(capacity, Slot{});
        m_mask = capacity - 1;
        std::vector<uint32_t> slotOf(ends.size());
        for (size_t e = 0; e < ends.size(); ++e) {
            const size_t s = slotFor(cellOf(ends[e].x), cellOf(ends[e].y), true);
            ++m_slots[s].end;
            slotOf[e] = static_cast<uint32_t>(s);
        }
        uint32_t offset = 0;
        for (Slot &s : m_slots) {
            if (!s.used)
                continue;
            const uint32_t count = s.end;
            s.begin = s.cursor = s.end = offset;
            offset += count;
        }
        m_refs.resize(ends.size());
        for (size_t e = 0; e < ends.size(); ++e)
            m_refs[m_slots[slotOf[e]].end++] = static_cast<uint32_t>(e);
    }

    // The smallest piece number above `after` and below `best` that is alive
    // and has an end near p, or `best`.
    template <typename Alive> int32_t nearest(const Node &p, int32_t after, int32_t best, Alive &&alive)
    {
        // The box is wider than the tolerance so that rounding cannot leave
        // a partner's cell out; `near` decides.
        const int64_t x0 = cellOf(p.x - kMargin), x1 = cellOf(p.x + kMargin);
        const int64_t y0 = cellOf(p.y - kMargin), y1 = cellOf(p.y + kMargin);
        for (int64_t cx = x0; cx <= x1; ++cx)
            for (int64_t cy = y0; cy <= y1; ++cy) {
                const size_t s = slotFor(cx, cy, false);
                if (s == kNone)
                    continue;
                Slot &slot = m_slots[s];
                // Ends of earlier or absorbed pieces never match again.
                while (slot.cursor < slot.end) {
                    const auto piece = static_cast<int32_t>(m_refs[slot.cursor] / 2);
                    if (piece > after && alive(piece))
                        break;
                    ++slot.cursor;
                }
                for (uint32_t k = slot.cursor; k < slot.end; ++k) {
                    const auto piece = static_cast<int32_t>(m_refs[k] / 2);
                    if (piece >= best)
                        break;
                    if (alive(piece) && near(p, m_ends[m_refs[k]])) {
                        best = piece;
                        break;
                    }
                }
            }
        return best;
    }

private:
    static constexpr double kCell = 1e-3;
    static constexpr double kMargin = 2 * kJoinTolerance;
    static constexpr size_t kNone = ~size_t(0);

    struct Slot {
        int64_t cx = 0, cy = 0;
        uint32_t begin = 0, end = 0, cursor = 0;
        bool used = false;
    };

    // Cells are clamped far out; a coordinate that is not a number (it never
    // meets anything) goes to cell 0.
    static int64_t cellOf(double v)
    {
        const double c = std::floor(v / kCell);
        return c >= -1e15 ? (c <= 1e15 ? static_cast<int64_t>(c) : int64_t(1e15)) : (c < 0 ? int64_t(-1e15) : 0);
    }

    size_t slotFor(int64_t cx, int64_t cy, bool create)
    {
        uint64_t h = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full;
        h ^= h >> 29;
        for (size_t s = h & m_mask;; s = (s + 1) & m_mask) {
            Slot &slot = m_slots[s];
            if (!slot.used) {
                if (!create)
                    return kNone;
                slot.used = true;
                slot.cx = cx;
                slot.cy = cy;
                return s;
            }
            if (slot.cx == cx && slot.cy == cy)
                return s;
        }
    }

    const std::vector<Node> &m_ends;
    std::vector<Slot> m_slots;
    std::vector<uint32_t> m_refs; // end numbers (2 * piece, + 1 for a tail), by cell
    size_t m_mask = 0;
};

// Pieces joined into chains. A chain is named by its first piece in file
// order (its owner) and lists its pieces through `next`; `reversed` marks a
// piece that runs backwards in its chain.
struct Chains {
    std::vector<int32_t> first, last, next;
    std::vector<char> alive, reversed;
};

// Each piece in file order takes, again and again, the earliest later piece
// with an end on one of its chain's ends (tail on head: after it; head on
// tail: before it; otherwise the partner is turned round first).
Chains joinEnds(const std::vector<Node> &ends)
{
    const auto n = static_cast<int32_t>(ends.size() / 2);
    Chains c;
    c.first.resize(static_cast<size_t>(n));
    std::iota(c.first.begin(), c.first.end(), 0);
    c.last = c.first;
    c.next.assign(static_cast<size_t>(n), -1);
    c.alive.assign(static_cast<size_t>(n), 1);
    c.reversed.assign(static_cast<size_t>(n), 0);
    EndIndex index(ends);
    auto alive = [&](int32_t p) { return c.alive[static_cast<size_t>(p)] != 0; };
    auto headOf = [&](int32_t p) -> const Node & {
        return ends[2 * static_cast<size_t>(p) + (c.reversed[static_cast<size_t>(p)] ? 1 : 0)];
    };
    auto tailOf = [&](int32_t p) -> const Node & {
        return ends[2 * static_cast<size_t>(p) + (c.reversed[static_cast<size_t>(p)] ? 0 : 1)];
    };
    for (int32_t i = 0; i < n; ++i) {
        if (!alive(i))
            continue;
        const auto ui = static_cast<size_t>(i);
        for (;;) {
            const Node head = headOf(c.first[ui]);
            const Node tail = tailOf(c.last[ui]);
            int32_t partner = index.nearest(head, i, n, alive);
            partner = index.nearest(tail, i, partner, alive);
            if (partner == n)
                break;
            const auto b = static_cast<size_t>(partner);
            if (!near(tail, headOf(partner)) && !near(head, tailOf(partner)))
                c.reversed[b] = 1;
            if (near(tail, headOf(partner))) {
                c.next[static_cast<size_t>(c.last[ui])] = partner;
                c.last[ui] = partner;
            } else {
                c.next[b] = c.first[ui];
                c.first[ui] = partner;
            }
            c.alive[b] = 0;
        }
    }
    return c;
}

// Calls visit(node) for every node of the chain owned by `owner`, in order;
// `at(p)` gives piece p's nodes as a begin and an end pointer.
template <typename Pieces, typename Visit> void walkChain(const Chains &c, int32_t owner, Pieces &&at, Visit &&visit)
{
    for (int32_t p = c.first[static_cast<size_t>(owner)]; p >= 0; p = c.next[static_cast<size_t>(p)]) {
        const auto [begin, end] = at(p);
        if (c.reversed[static_cast<size_t>(p)]) {
            for (const Node *q = end; q != begin;)
                visit(*--q);
        } else {
            for (const Node *q = begin; q != end; ++q)
                visit(*q);
        }
    }
}

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
    std::vector<Node> ends;
    ends.reserve(2 * contours.size());
    for (const Contour &c : contours) {
        ends.push_back(c.pts.front());
        ends.push_back(c.pts.back());
    }
    const Chains chains = joinEnds(ends);
    auto at = [&](int32_t p) {
        const std::vector<Node> &pts = contours[static_cast<size_t>(p)].pts;
        return std::pair<const Node *, const Node *>(pts.data(), pts.data() + pts.size());
    };
    std::vector<Contour> joined;
    joined.reserve(contours.size());
    for (size_t i = 0; i < contours.size(); ++i) {
        if (!chains.alive[i])
            continue;
        if (chains.next[i] < 0 && chains.first[i] == static_cast<int32_t>(i)) {
            joined.push_back(std::move(contours[i]));
            continue;
        }
        Contour merged;
        const int32_t number = contours[i].pts.front().contour;
        walkChain(chains, static_cast<int32_t>(i), at, [&](Node node) {
            node.contour = number;
            merged.pts.push_back(node);
        });
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
    size_t pos = nearest.nearest({{{start.x, start.y}}}, 1);
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
    // The pieces are read in place and each joined contour is simplified as
    // it is walked: only the simplified contours are ever copied.
    std::vector<size_t> starts;
    std::vector<Node> ends;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0 && list[i].contour == list[i - 1].contour)
            continue;
        if (i > 0)
            ends.push_back(list[i - 1]);
        starts.push_back(i);
        ends.push_back(list[i]);
    }
    if (!list.empty())
        ends.push_back(list.back());
    starts.push_back(list.size());
    const Chains chains = joinEnds(ends);
    auto at = [&](int32_t p) {
        const Node *base = list.data();
        return std::pair<const Node *, const Node *>(base + starts[static_cast<size_t>(p)],
                                                     base + starts[static_cast<size_t>(p) + 1]);
    };

    const size_t pieces = starts.size() - 1;
    std::vector<Contour> contours;
    contours.reserve(static_cast<size_t>(std::count(chains.alive.begin(), chains.alive.end(), 1)));
    for (size_t i = 0; i < pieces; ++i) {
        if (!chains.alive[i])
            continue;
        Contour c;
        Simplifier simplifier(kSimplifyTolerance, c.pts);
        const auto number = static_cast<int32_t>(i + 1);
        walkChain(chains, static_cast<int32_t>(i), at, [&](Node node) {
            node.contour = number;
            simplifier.add(node);
        });
        simplifier.finish();
        contours.push_back(std::move(c));
    }

    const bool multi = contours.size() > 1;
    for (Contour &c : contours) {
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
