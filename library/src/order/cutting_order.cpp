#include "order/cutting_order.h"

#include "order/contour_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <numeric>

namespace vx {

namespace {

struct End {
    double x, y;
};

bool near(const End &a, const End &b)
{
    return std::fabs(a.x - b.x) < kJoinTolerance && std::fabs(a.y - b.y) < kJoinTolerance;
}

// Contour ends by cell, each cell's ends in piece order, so that a join
// reads only the ends near it. The cells are forty times the tolerance: an
// end's partners are almost always in its own cell. Cells are numbered in
// the order they are first met, so that the pieces of one part of the
// drawing find their cells, and the ends in them, side by side in memory.
class EndIndex {
public:
    // ends[2i] is the head of piece i, ends[2i+1] its tail.
    explicit EndIndex(const std::vector<End> &ends)
    {
        m_capacity = ends.size() + ends.size() / 2 + 16;
        m_slots.assign(m_capacity, Slot{});
        m_cellOfEnd.resize(ends.size());
        // An end mostly shares its cell with the end before it (a piece that
        // goes on from the last, both ends of a circle): the table is asked
        // only when the cell changes.
        int64_t lastX = 0, lastY = 0;
        uint32_t last = 0;
        for (size_t e = 0; e < ends.size(); ++e) {
            const int64_t cx = cellOf(ends[e].x), cy = cellOf(ends[e].y);
            if (last == 0 || cx != lastX || cy != lastY) {
                uint32_t &cell = m_slots[slotFor(cx, cy, true)].cell;
                if (cell == 0) {
                    m_cells.push_back({0, 0});
                    cell = static_cast<uint32_t>(m_cells.size());
                }
                last = cell;
                lastX = cx;
                lastY = cy;
            }
            ++m_cells[last - 1].end;
            m_cellOfEnd[e] = last - 1;
        }
        uint32_t offset = 0;
        for (Cell &c : m_cells) {
            const uint32_t count = c.end;
            c.cursor = c.end = offset;
            offset += count;
        }
        m_refs.resize(ends.size());
        for (size_t e = 0; e < ends.size(); ++e)
            m_refs[m_cells[m_cellOfEnd[e]].end++] = {ends[e], static_cast<uint32_t>(e / 2)};
    }

    // The smallest piece number above `after` and below `best` that is alive
    // and has an end near end e (p), or `best`.
    template <typename Alive> int32_t nearest(size_t e, const End &p, int32_t after, int32_t best, Alive &&alive)
    {
        // The box is wider than the tolerance so that rounding cannot leave
        // a partner's cell out; `near` decides. Mostly it is the end's own.
        const int64_t x0 = cellOf(p.x - kMargin), x1 = cellOf(p.x + kMargin);
        const int64_t y0 = cellOf(p.y - kMargin), y1 = cellOf(p.y + kMargin);
        const bool own = x0 == x1 && y0 == y1;
        for (int64_t cx = x0; cx <= x1; ++cx)
            for (int64_t cy = y0; cy <= y1; ++cy) {
                size_t at = m_cellOfEnd[e];
                if (!own) {
                    const size_t s = slotFor(cx, cy, false);
                    if (s == kNone)
                        continue;
                    at = m_slots[s].cell - 1;
                }
                Cell &cell = m_cells[at];
                // Ends of earlier or absorbed pieces never match again.
                while (cell.cursor < cell.end) {
                    const auto piece = static_cast<int32_t>(m_refs[cell.cursor].piece);
                    if (piece > after && alive(piece))
                        break;
                    ++cell.cursor;
                }
                for (uint32_t k = cell.cursor; k < cell.end; ++k) {
                    const auto piece = static_cast<int32_t>(m_refs[k].piece);
                    if (piece >= best)
                        break;
                    if (alive(piece) && near(p, m_refs[k].at)) {
                        best = piece;
                        break;
                    }
                }
            }
        return best;
    }

private:
    static constexpr double kCell = 4e-3;
    static constexpr double kMargin = 2 * kJoinTolerance;
    static constexpr size_t kNone = ~size_t(0);

    // A cell by a 32-bit mix of its coordinates (0 marks a free slot): cells
    // that mix alike only share a list, which `near` sorts out.
    struct Slot {
        uint32_t key = 0;
        uint32_t cell = 0; // its number from 1
    };
    struct Cell {
        uint32_t cursor, end; // its ends in m_refs, those before the cursor done
    };
    struct Ref {
        End at;
        uint32_t piece;
    };

    // Cells are clamped far out; a coordinate that is not a number (it never
    // meets anything) goes to cell 0. Only the order of the cells matters,
    // which a product keeps as well as the quotient, at less cost.
    static int64_t cellOf(double v)
    {
        const double c = std::floor(v * (1 / kCell));
        return c >= -1e15 ? (c <= 1e15 ? static_cast<int64_t>(c) : int64_t(1e15)) : (c < 0 ? int64_t(-1e15) : 0);
    }

    size_t slotFor(int64_t cx, int64_t cy, bool create)
    {
        uint64_t mix = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full;
        mix ^= mix >> 29;
        const auto h = static_cast<uint32_t>(mix >> 32) | 1u;
        for (size_t s = static_cast<size_t>((uint64_t(h) * m_capacity) >> 32);; s = s + 1 == m_capacity ? 0 : s + 1) {
            Slot &slot = m_slots[s];
            if (slot.key == h)
                return s;
            if (slot.key == 0) {
                if (!create)
                    return kNone;
                slot.key = h;
                return s;
            }
        }
    }

    std::vector<Slot> m_slots;
    std::vector<Cell> m_cells;
    std::vector<uint32_t> m_cellOfEnd;
    std::vector<Ref> m_refs; // ends by cell, each cell's in piece order
    size_t m_capacity = 0;
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
Chains joinEnds(const std::vector<End> &ends)
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
    auto headEnd = [&](int32_t p) { return 2 * static_cast<size_t>(p) + (c.reversed[static_cast<size_t>(p)] ? 1 : 0); };
    auto tailEnd = [&](int32_t p) { return 2 * static_cast<size_t>(p) + (c.reversed[static_cast<size_t>(p)] ? 0 : 1); };
    auto headOf = [&](int32_t p) -> const End & { return ends[headEnd(p)]; };
    auto tailOf = [&](int32_t p) -> const End & { return ends[tailEnd(p)]; };
    for (int32_t i = 0; i < n; ++i) {
        if (!alive(i))
            continue;
        const auto ui = static_cast<size_t>(i);
        // While the chain grows at its tail its head stays, and so does the
        // head's earliest partner as long as it lives: pieces only leave.
        int32_t headOwner = -1, headPartner = n;
        for (;;) {
            const End head = headOf(c.first[ui]);
            const End tail = tailOf(c.last[ui]);
            if (c.first[ui] != headOwner || (headPartner < n && !alive(headPartner))) {
                headOwner = c.first[ui];
                headPartner = index.nearest(headEnd(headOwner), head, i, n, alive);
            }
            int32_t partner = headPartner;
            // A closed chain (a circle) would find the same partner again.
            if (!(tail.x == head.x && tail.y == head.y))
                partner = index.nearest(tailEnd(c.last[ui]), tail, i, partner, alive);
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
    std::vector<End> ends;
    ends.reserve(2 * contours.size());
    for (const Contour &c : contours) {
        ends.push_back({c.pts.front().x, c.pts.front().y});
        ends.push_back({c.pts.back().x, c.pts.back().y});
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

PointList orderAndEmit(std::vector<Contour> contours, bool reverseHoles)
{
    PointList out;
    if (contours.empty())
        return out;
    std::vector<NestEntry> entries;
    entries.reserve(contours.size());
    size_t total = 0;
    for (const Contour &c : contours) {
        const bool any = !c.pts.empty();
        entries.push_back({c.minX, c.minY, c.maxX, c.maxY, any ? c.pts[0].x : 0, any ? c.pts[0].y : 0, any});
        total += c.pts.size();
    }
    const std::vector<NestStep> steps =
        nestAndOrder(std::move(entries), [&](size_t i) -> const std::vector<Node> & { return contours[i].pts; });
    out.reserve(total);
    for (const NestStep &step : steps) {
        Contour &contour = contours[step.contour];
        if (reverseHoles && step.hole)
            contour.reverse();
        out.insert(out.end(), contour.pts.begin(), contour.pts.end());
    }
    return out;
}

namespace {

constexpr double kRepeat = 1e-6; // nodes closer in X and Y repeat each other

[[noreturn]] void tooLarge() { throw std::bad_alloc(); }

} // namespace

ListPieces::ListPieces(const PointList &list) : m_list(list)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (i == 0 || list[i].contour != list[i - 1].contour)
            m_starts.push_back(i);
    m_starts.push_back(list.size());
    for (size_t p = 0; p + 1 < m_starts.size(); ++p)
        m_longest = std::max(m_longest, m_starts[p + 1] - m_starts[p]);
    if (m_longest >= std::numeric_limits<uint32_t>::max())
        tooLarge();
}

void ListPieces::ends(size_t p, Node &head, Node &tail)
{
    head = m_list[m_starts[p]];
    tail = m_list[m_starts[p + 1] - 1];
}

void ListPieces::walk(size_t p, bool reversed, ContourBuilder &builder)
{
    const Node *base = m_list.data() + m_starts[p];
    const auto count = static_cast<uint32_t>(m_starts[p + 1] - m_starts[p]);
    if (reversed) {
        for (uint32_t i = count; i-- > 0;)
            builder.add(base[i], i);
    } else {
        for (uint32_t i = 0; i < count; ++i)
            builder.add(base[i], i);
    }
}

void ListPieces::nodes(size_t p, const uint32_t *index, size_t count, Node *out)
{
    const Node *base = m_list.data() + m_starts[p];
    for (size_t k = 0; k < count; ++k)
        out[k] = base[index[k]];
}

PointList cuttingOrder(const PointList &list)
{
    ListPieces source(list);
    const CutPlan plan = planCuttingOrder(source);
    PointList out;
    out.reserve(plan.index.size() + plan.contours.size());
    PlanReader reader(plan, source);
    for (const CutPlan::Step &step : plan.order)
        reader.visit(plan.contours[step.contour], step.reversed, [&](const Node &n) { out.push_back(n); });
    return out;
}

ContourBuilder::ContourBuilder(CutPlan &plan, int32_t number)
    : m_plan(plan), m_simplifier(kSimplifyTolerance), m_number(number)
{
    m_c.nodeBegin = static_cast<uint32_t>(plan.index.size());
    m_c.runBegin = static_cast<uint32_t>(plan.runs.size());
    m_c.number = number;
}

void ContourBuilder::setKnown(const Known &k)
{
    m_minX = k.minX;
    m_minY = k.minY;
    m_maxX = k.maxX;
    m_maxY = k.maxY;
    m_firstX = k.firstX;
    m_firstY = k.firstY;
    m_secondX = k.secondX;
    m_secondY = k.secondY;
    m_beforeLastX = k.beforeLastX;
    m_beforeLastY = k.beforeLastY;
    m_lastX = k.lastX;
    m_lastY = k.lastY;
    m_best = k.best;
    m_bestX = k.bestX;
    m_bestY = k.bestY;
    // Only the sign of the area is read.
    m_area = k.areaNegative ? -1 : 1;
    m_c.flags |= PlannedContour::kAlone;
    if (k.nearPairs)
        m_c.flags |= PlannedContour::kNearPairs;
    if (k.zeroX)
        m_c.flags |= PlannedContour::kZeroX;
    if (k.zeroY)
        m_c.flags |= PlannedContour::kZeroY;
}

PlannedContour ContourBuilder::finish(NestEntry &geometry)
{
    if (const Simplifier::Kept *k = m_simplifier.finish())
        keep(*k);
    if (m_plan.index.size() >= std::numeric_limits<uint32_t>::max())
        tooLarge();
    auto repeat = [](double ax, double ay, double bx, double by) {
        return std::fabs(ax - bx) < kRepeat && std::fabs(ay - by) < kRepeat;
    };
    PlannedContour c = m_c;
    const bool closed = !(std::fabs(m_firstX - m_lastX) > 0.001 || std::fabs(m_firstY - m_lastY) > 0.001);
    double area = m_area;
    if (!closed)
        area += m_lastX * m_firstY - m_firstX * m_lastY;
    if (area < 0)
        c.flags |= PlannedContour::kAreaNegative;
    if (m_lastX > m_firstX)
        c.flags |= PlannedContour::kLastRight;
    geometry = {m_minX, m_minY, m_maxX, m_maxY, m_firstX, m_firstY, true};
    if (closed) {
        // Output from its node of largest X, closed again by a copy of it.
        c.flags |= PlannedContour::kClosed;
        c.start = m_best;
        geometry.firstX = m_bestX;
        geometry.firstY = m_bestY;
        if (repeat(m_lastX, m_lastY, m_firstX, m_firstY)) {
            c.flags |= PlannedContour::kNearEnds;
            if (c.nodeCount <= 2 || repeat(m_lastX, m_lastY, m_secondX, m_secondY) ||
                repeat(m_beforeLastX, m_beforeLastY, m_firstX, m_firstY))
                c.flags |= PlannedContour::kNearOnward;
        }
    }
    return c;
}

void PlanReader::decode(const PlannedContour &c, uint32_t from, uint32_t count)
{
    const PieceRun *runs = m_plan.runs.data() + c.runBegin;
    const PieceRun *r =
        std::upper_bound(runs, runs + c.runCount, from, [](uint32_t i, const PieceRun &run) { return i < run.firstNode; }) - 1;
    for (uint32_t i = from; i < from + count;) {
        const uint32_t runEnd = r + 1 < runs + c.runCount ? r[1].firstNode : c.nodeCount;
        const size_t take = m_plan.index.copy(size_t(c.nodeBegin) + i, std::min(runEnd, from + count) - i, m_index);
        m_source.nodes(r->piece, m_index, take, m_buffer + (i - from));
        i += static_cast<uint32_t>(take);
        if (i == runEnd)
            ++r;
    }
}

CutPlan planCuttingOrder(PieceSource &source)
{
    CutPlan plan;
    const size_t pieces = source.pieceCount();
    if (pieces >= size_t(std::numeric_limits<int32_t>::max()))
        tooLarge();
    Chains chains;
    {
        std::vector<End> ends(2 * pieces);
        for (size_t p = 0; p < pieces; ++p) {
            Node head, tail;
            source.ends(p, head, tail);
            ends[2 * p] = {head.x, head.y};
            ends[2 * p + 1] = {tail.x, tail.y};
        }
        chains = joinEnds(ends);
    }

    // Each joined contour is simplified as its pieces are walked: only the
    // nodes kept are recorded, as indexes into their pieces. Each piece
    // gives one run at most; the chains left are the contours.
    const auto contours = static_cast<size_t>(std::count(chains.alive.begin(), chains.alive.end(), 1));
    plan.contours.reserve(contours);
    plan.runs.reserve(pieces);
    plan.index.setWide(source.longestPiece() > std::numeric_limits<uint16_t>::max());
    std::vector<NestEntry> entries;
    entries.reserve(contours);
    std::vector<std::array<double, 2>> lasts;
    lasts.reserve(contours);
    for (size_t i = 0; i < pieces; ++i) {
        if (!chains.alive[i])
            continue;
        ContourBuilder builder(plan, static_cast<int32_t>(i + 1));
        const int32_t only = chains.next[static_cast<size_t>(chains.first[i])] < 0 ? chains.first[i] : -1;
        if (only >= 0) {
            const auto p = static_cast<size_t>(only);
            builder.beginPiece(static_cast<uint32_t>(p));
            if (!source.walkAlone(p, chains.reversed[p] != 0, builder))
                source.walk(p, chains.reversed[p] != 0, builder);
        } else {
            for (int32_t p = chains.first[i]; p >= 0; p = chains.next[static_cast<size_t>(p)]) {
                builder.beginPiece(static_cast<uint32_t>(p));
                source.walk(static_cast<size_t>(p), chains.reversed[static_cast<size_t>(p)] != 0, builder);
            }
        }
        entries.emplace_back();
        plan.contours.push_back(builder.finish(entries.back()));
        lasts.push_back({builder.lastX(), builder.lastY()});
        const NestEntry &e = entries.back();
        const bool first = entries.size() == 1;
        plan.minX = first ? e.minX : std::min(plan.minX, e.minX);
        plan.maxX = first ? e.maxX : std::max(plan.maxX, e.maxX);
        plan.minY = first ? e.minY : std::min(plan.minY, e.minY);
        plan.maxY = first ? e.maxY : std::max(plan.maxY, e.maxY);
    }
    chains = Chains{};

    // Closed contours run counter-clockwise; an open one alone runs from its
    // end of larger X, among others by the sign of its area.
    const bool multi = plan.contours.size() > 1;
    for (size_t k = 0; k < plan.contours.size(); ++k) {
        PlannedContour &c = plan.contours[k];
        const bool closed = c.has(PlannedContour::kClosed);
        const bool reversed = (closed || multi) ? c.has(PlannedContour::kAreaNegative) : c.has(PlannedContour::kLastRight);
        if (reversed) {
            c.flags |= PlannedContour::kReversed;
            if (!closed) {
                entries[k].firstX = lasts[k][0];
                entries[k].firstY = lasts[k][1];
            }
        }
    }
    lasts = {};

    PlanReader reader(plan, source);
    std::vector<Node> outline;
    auto outlineOf = [&](size_t i) -> const std::vector<Node> & {
        const PlannedContour &c = plan.contours[i];
        // Its nodes, and the first again when closed.
        outline.resize(size_t(c.nodeCount) + (c.has(PlannedContour::kClosed) ? 1 : 0));
        size_t w = 0;
        reader.visit(c, c.has(PlannedContour::kReversed), [&](const Node &n) {
            if (w < outline.size())
                outline[w++] = n;
        });
        outline.resize(w);
        return outline;
    };
    auto quick = [&](size_t i, double x, double y) {
        const PlannedContour &c = plan.contours[i];
        return c.has(PlannedContour::kAlone) ? source.holdsAlone(plan.runs[c.runBegin].piece, x, y) : -1;
    };
    const std::vector<NestStep> steps = nestAndOrder(std::move(entries), outlineOf, quick);
    plan.order.reserve(steps.size());
    for (const NestStep &step : steps)
        plan.order.push_back({step.contour, plan.contours[step.contour].has(PlannedContour::kReversed) != step.hole});
    return plan;
}

} // namespace vx
