// Puts the contours of a drawing into cutting order: join the pieces, drop
// collinear points, orient, then nest and order them so that the wire cuts
// holes before their outlines and moves to the nearest next contour.
#pragma once

#include "order/contour_index.h"
#include "foundation/point_list.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace vx {

inline constexpr double kJoinTolerance = 1e-4;
inline constexpr double kSimplifyTolerance = static_cast<double>(0.0001f);

// Cuts the list into contours between nodes of different contour numbers,
// in list order; each contour gets a number of its own, from 1.
std::vector<Contour> splitContours(const PointList &list);

// Joins contours whose ends meet, each with the earliest later partner.
void joinContours(std::vector<Contour> &contours);

// Sorts by box area, nests each contour in the smallest one around it, orders
// every level by nearest corners and concatenates children before parents.
// Holes (odd depth) are reversed when `reverseHoles` is set.
PointList orderAndEmit(std::vector<Contour> contours, bool reverseHoles);

// The whole reorganisation of a drawing read from a file.
PointList cuttingOrder(const PointList &list);

class ContourBuilder;

// The pieces of a drawing in file order, each of one node at least, as the
// cutting order reads them: their ends for the join, all their nodes once,
// in either direction, for the simplification, and the nodes it kept again,
// by their index in the piece, for the output.
class PieceSource {
public:
    virtual ~PieceSource() = default;
    virtual size_t pieceCount() const = 0;
    // The most nodes a piece has.
    virtual size_t longestPiece() const = 0;
    virtual void ends(size_t piece, Node &head, Node &tail) = 0;
    // Hands every node of the piece to the builder, last to first when
    // `reversed`, with its index in the piece.
    virtual void walk(size_t piece, bool reversed, ContourBuilder &builder) = 0;
    // For a piece that is a contour by itself: records the nodes the walk
    // would keep, and what it would find, without walking; false when the
    // source cannot tell.
    virtual bool walkAlone(size_t, bool, ContourBuilder &) { return false; }
    // For a piece walked alone: whether its contour holds (x, y), when known
    // without its nodes: 1 or 0, else -1.
    virtual int holdsAlone(size_t, double, double) { return -1; }
    virtual void nodes(size_t piece, const uint32_t *index, size_t count, Node *out) = 0;
};

// The pieces of a working list: runs of one contour number.
class ListPieces final : public PieceSource {
public:
    explicit ListPieces(const PointList &list);
    size_t pieceCount() const override { return m_starts.size() - 1; }
    size_t longestPiece() const override { return m_longest; }
    void ends(size_t piece, Node &head, Node &tail) override;
    void walk(size_t piece, bool reversed, ContourBuilder &builder) override;
    void nodes(size_t piece, const uint32_t *index, size_t count, Node *out) override;

private:
    const PointList &m_list;
    std::vector<size_t> m_starts;
    size_t m_longest = 0;
};

// A contour after the join, simplification and orientation, with what the
// output needs; its nodes stay in the pieces. Its box and first node go to
// the nesting.
struct PlannedContour {
    uint32_t nodeBegin, nodeCount; // in CutPlan::index, as simplified
    uint32_t runBegin, runCount;   // in CutPlan::runs
    uint32_t start;                // closed: the node it starts from
    int32_t number;
    uint16_t flags;

    enum : uint16_t {
        kClosed = 1,
        kReversed = 2,     // runs last to first once oriented
        kNearPairs = 4,    // two nodes in a row repeat each other (1e-6)
        kNearEnds = 8,     // the last node repeats the first
        kNearOnward = 16,  // ... and the second too, or the last but one the first
        kZeroX = 32,       // holds an X or a Y of zero, whose sign the bounds may take
        kZeroY = 64,
        kAreaNegative = 128, // the orientation's two answers, read once every
        kLastRight = 256,    // contour is known
        kAlone = 512,        // a piece walked alone (PieceSource::walkAlone)
    };
    bool has(uint16_t f) const { return (flags & f) != 0; }
};

// Nodes of a contour that come from one piece.
struct PieceRun {
    uint32_t firstNode; // counted from the contour's first node
    uint32_t piece;
};

// Indexes kept in fixed blocks, 16 bits wide when every piece is short
// enough: growing never copies what it holds, so that the memory taken is
// its size, not twice its size.
class IndexArray {
public:
    static constexpr size_t kBlock = size_t(1) << 15;
    void setWide(bool wide) { m_wide = wide; }
    size_t size() const { return m_size; }
    void push_back(uint32_t v)
    {
        const size_t at = m_size++ % kBlock;
        if (at == 0)
            grow();
        if (m_wide)
            reinterpret_cast<uint32_t *>(m_last)[at] = v;
        else
            reinterpret_cast<uint16_t *>(m_last)[at] = static_cast<uint16_t>(v);
    }
    void append(const uint32_t *v, size_t count)
    {
        while (count > 0) {
            const size_t at = m_size % kBlock;
            if (at == 0)
                grow();
            const size_t take = std::min(count, kBlock - at);
            if (m_wide)
                std::copy_n(v, take, reinterpret_cast<uint32_t *>(m_last) + at);
            else
                for (size_t k = 0; k < take; ++k)
                    reinterpret_cast<uint16_t *>(m_last)[at + k] = static_cast<uint16_t>(v[k]);
            m_size += take;
            v += take;
            count -= take;
        }
    }
    // Copies the values from i on, as far as their block goes and at most
    // `want`; returns how many.
    size_t copy(size_t i, size_t want, uint32_t *out) const
    {
        const size_t got = std::min(want, kBlock - i % kBlock);
        const uint8_t *block = m_blocks[i / kBlock].get();
        if (m_wide)
            std::copy_n(reinterpret_cast<const uint32_t *>(block) + i % kBlock, got, out);
        else
            std::copy_n(reinterpret_cast<const uint16_t *>(block) + i % kBlock, got, out);
        return got;
    }

private:
    [[gnu::noinline]] void grow()
    {
        m_blocks.emplace_back(new uint8_t[kBlock * (m_wide ? 4 : 2)]);
        m_last = m_blocks.back().get();
    }

    std::vector<std::unique_ptr<uint8_t[]>> m_blocks;
    uint8_t *m_last = nullptr;
    size_t m_size = 0;
    bool m_wide = true;
};

struct CutPlan {
    std::vector<PlannedContour> contours; // in the order they were joined
    IndexArray index;                     // per node kept: its index in its piece
    std::vector<PieceRun> runs;
    struct Step {
        uint32_t contour;
        bool reversed; // as output: its orientation, turned again for a hole
    };
    std::vector<Step> order; // output order
    // The box of every node, each extreme the first met of its value in
    // contour order (an extreme of zero takes the sign of the first zero met
    // in output order: see kZeroX).
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Join, simplification, orientation, nesting and order of a drawing's pieces.
CutPlan planCuttingOrder(PieceSource &source);

// Calls visit(node) for the nodes of a planned contour as they are output:
// rotated to its start and closed again, in the given direction.
class PlanReader {
public:
    PlanReader(const CutPlan &plan, PieceSource &source) : m_plan(plan), m_source(source) {}

    // Calls chunk(nodes, count, backwards) for runs of the output order:
    // the nodes are to be read last to first when `backwards`.
    template <typename Chunk> void chunks(const PlannedContour &c, bool reversed, Chunk &&chunk)
    {
        // A contour that fits the buffer is decoded once for its ranges.
        const bool whole = c.nodeCount <= kChunk;
        if (whole && c.nodeCount > 0)
            decode(c, 0, c.nodeCount);
        auto range = [&](uint32_t from, uint32_t to) {
            if (whole) {
                if (from < to)
                    chunk(static_cast<const Node *>(m_buffer + from), to - from, reversed);
                return;
            }
            while (from < to) {
                const uint32_t n = std::min<uint32_t>(to - from, kChunk);
                decode(c, reversed ? to - n : from, n);
                chunk(static_cast<const Node *>(m_buffer), n, reversed);
                if (reversed)
                    to -= n;
                else
                    from += n;
            }
        };
        if (!c.has(PlannedContour::kClosed)) {
            range(0, c.nodeCount);
        } else if (!reversed) {
            range(c.start, c.nodeCount);
            range(0, c.start);
            range(c.start, c.start + 1);
        } else {
            range(c.start, c.start + 1);
            range(0, c.start);
            range(c.start, c.nodeCount);
        }
    }
    // Calls visit(node) for each node in output order, with its contour's
    // number.
    template <typename Visit> void visit(const PlannedContour &c, bool reversed, Visit &&visit)
    {
        chunks(c, reversed, [&](const Node *nodes, uint32_t n, bool backwards) {
            for (uint32_t i = 0; i < n; ++i) {
                Node node = nodes[backwards ? n - 1 - i : i];
                node.contour = c.number;
                visit(node);
            }
        });
    }
    // Nodes [from, from + count) as simplified, into the buffer.
    void decode(const PlannedContour &c, uint32_t from, uint32_t count);

private:
    static constexpr uint32_t kChunk = 1024;
    const CutPlan &m_plan;
    PieceSource &m_source;
    Node m_buffer[kChunk];
    uint32_t m_index[kChunk];
};

// Receives the nodes of one joined contour piece after piece, simplifies
// them and records the nodes kept.
class ContourBuilder {
public:
    ContourBuilder(CutPlan &plan, int32_t number);
    void beginPiece(uint32_t piece) { m_piece = piece; }
    void add(Node n, uint32_t index)
    {
        n.contour = m_number;
        if (const Simplifier::Kept *k = m_simplifier.add(n, ref(index)))
            keep(*k);
    }
    // Shortcuts for sources that know their geometry (see Simplifier).
    bool freshChord() const { return m_simplifier.freshChord(); }
    void addHolding(Node n, uint32_t index)
    {
        n.contour = m_number;
        m_simplifier.addHolding(n, ref(index));
    }
    void jump(Node kept, uint32_t keptIndex)
    {
        kept.contour = m_number;
        keep(*m_simplifier.jump(kept, ref(keptIndex)));
    }
    void resume(Node next, uint32_t nextIndex)
    {
        next.contour = m_number;
        m_simplifier.resume(next, ref(nextIndex));
    }
    // The contour as planned, and its box and first node for the nesting
    // (of an open contour, the first as walked; the last is lastX, lastY).
    // What a walk finds, for a contour whose nodes kept are known.
    struct Known {
        double minX, minY, maxX, maxY;
        double firstX, firstY, secondX, secondY, beforeLastX, beforeLastY, lastX, lastY;
        uint32_t best;
        double bestX, bestY;
        bool areaNegative, nearPairs, zeroX, zeroY;
    };
    // Records a node kept, from its index alone.
    void keepIndex(uint32_t index)
    {
        const uint32_t i = m_c.nodeCount++;
        if (m_piece != m_runPiece) {
            m_plan.runs.push_back({i, m_piece});
            ++m_c.runCount;
            m_runPiece = m_piece;
        }
        m_plan.index.push_back(index);
    }
    // The same for several nodes of the piece at hand.
    void keepIndexes(const uint32_t *index, uint32_t count)
    {
        if (count == 0)
            return;
        if (m_piece != m_runPiece) {
            m_plan.runs.push_back({m_c.nodeCount, m_piece});
            ++m_c.runCount;
            m_runPiece = m_piece;
        }
        m_c.nodeCount += count;
        m_plan.index.append(index, count);
    }
    void setKnown(const Known &k);

    PlannedContour finish(NestEntry &geometry);
    double lastX() const { return m_lastX; }
    double lastY() const { return m_lastY; }

private:
    uint64_t ref(uint32_t index) const { return (uint64_t(m_piece) << 32) | index; }
    // Records a node kept, with the box, the area and the start node as the
    // whole contour would give them, node by node.
    void keep(const Simplifier::Kept &k)
    {
        const auto piece = static_cast<uint32_t>(k.ref >> 32);
        const uint32_t i = m_c.nodeCount++;
        if (piece != m_runPiece) {
            m_plan.runs.push_back({i, piece});
            ++m_c.runCount;
            m_runPiece = piece;
        }
        m_plan.index.push_back(static_cast<uint32_t>(k.ref));
        const double x = k.node.x, y = k.node.y;
        if (i == 0) {
            m_minX = m_maxX = m_firstX = m_bestX = x;
            m_minY = m_maxY = m_firstY = m_bestY = y;
        } else {
            m_minX = std::min(m_minX, x);
            m_maxX = std::max(m_maxX, x);
            m_minY = std::min(m_minY, y);
            m_maxY = std::max(m_maxY, y);
            m_area += m_lastX * y - m_lastY * x;
            if (std::fabs(m_lastX - x) < 1e-6 && std::fabs(m_lastY - y) < 1e-6)
                m_c.flags |= PlannedContour::kNearPairs;
            // Of several nodes of largest X, the one of smallest Y, the first found.
            if (x > m_bestX || (x == m_bestX && y < m_bestY)) {
                m_best = i;
                m_bestX = x;
                m_bestY = y;
            }
            if (i == 1) {
                m_secondX = x;
                m_secondY = y;
            }
        }
        if (x == 0)
            m_c.flags |= PlannedContour::kZeroX;
        if (y == 0)
            m_c.flags |= PlannedContour::kZeroY;
        m_beforeLastX = m_lastX;
        m_beforeLastY = m_lastY;
        m_lastX = x;
        m_lastY = y;
    }

    CutPlan &m_plan;
    Simplifier m_simplifier;
    PlannedContour m_c{};
    int32_t m_number;
    uint32_t m_piece = 0;
    uint32_t m_runPiece = ~uint32_t(0);
    uint32_t m_best = 0;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
    double m_area = 0;
    double m_firstX = 0, m_firstY = 0, m_secondX = 0, m_secondY = 0;
    double m_lastX = 0, m_lastY = 0, m_beforeLastX = 0, m_beforeLastY = 0;
    double m_bestX = 0, m_bestY = 0;
};

} // namespace vx
