// The pieces of a DXF drawing handed to the cutting order without a working
// list: each sample is made from its curve when it is needed.
#pragma once

#include "order/cutting_order.h"
#include "readers/dxf_reader.h"

#include <array>
#include <memory>
#include <vector>

namespace vx::dxf {

class DrawingSource final : public PieceSource {
public:
    // Pieces without a usable coordinate are left out, as they would be
    // from the working list.
    explicit DrawingSource(const DrawingPieces &drawing);

    size_t pieceCount() const override { return m_pieces; }
    size_t longestPiece() const override { return m_longest; }
    void ends(size_t piece, Node &head, Node &tail) override;
    void walk(size_t piece, bool reversed, ContourBuilder &builder) override;
    bool walkAlone(size_t piece, bool reversed, ContourBuilder &builder) override;
    int holdsAlone(size_t piece, double x, double y) override;
    void nodes(size_t piece, const uint32_t *index, size_t count, Node *out) override;

private:
    // How far the simplification's chords along an arc are known to reach.
    struct ArcSteps {
        uint32_t holds = 1;     // a chord over up to this many steps holds
        bool failsNext = false; // and one over a step more fails
        double margin = 0;      // how far samples and distances may stray
        double reach = 0;       // a bound on every coordinate met
    };

    void setPiece(size_t top)
    {
        if (top != m_top)
            changePiece(top);
    }
    void changePiece(size_t top);
    // What the piece's inserts do to sizes, once needed.
    void knowPlacing();
    // A bound on every coordinate of the piece as placed, and on every value
    // met on the way.
    double placedReach(double reach) const { return m_growth * reach + m_offset; }
    double shapeReach(uint32_t shape);
    // Every sample of the piece at hand is usable, known without sampling.
    bool safe();
    // Sample i of a segment in its entity's coordinates, then as placed.
    Sample local(const Segment &g, uint32_t i)
    {
        const double *d = m_data + g.data;
        if (g.kind == Curve::Points)
            return {d[2 * size_t(i)], d[2 * size_t(i) + 1]};
        if (g.kind == Curve::Circle) {
            // The last point closes the circle exactly.
            const uint32_t k = i == kCurvePoints - 1 ? 0 : i;
            return {d[0] + d[2] * m_cos[k], d[1] + d[2] * m_sin[k]};
        }
        return curveSample(g, i);
    }
    // The piece's own mirror, then its inserts from the innermost out; the
    // innermost is passed by value so that a loop can keep it in registers.
    static Node placeWith(Sample s, bool mirrored, size_t depth, const Transform &inner,
                          const Transform *const *chain)
    {
        if (mirrored)
            s.x = -s.x;
        if (depth > 0) {
            s = inner.apply(s);
            for (size_t k = 1; k < depth; ++k)
                s = chain[k]->apply(s);
        }
        return Node{s.x, s.y, 0, 0};
    }
    Node place(Sample s) const { return placeWith(s, m_mirrored, m_depth, m_inner, m_chain.data()); }
    Node sample(const Segment &g, uint32_t i) { return place(local(g, i)); }
    // The samples of one segment at the given piece indexes, as placed.
    void placeRun(const Segment &g, const uint32_t *index, size_t count, Node *out);
    // Arcs shared by several pieces are read from their samples made once.
    Sample curveSample(const Segment &g, uint32_t i)
    {
        const uint32_t at = m_cacheAt[static_cast<size_t>(&g - m_shapes.segments.data())];
        if (at != 0 && at != ~uint32_t(0))
            return m_cached[at - 1 + i];
        return curveSampleFirst(g, i);
    }
    // The first sample asked of an arc, or one of an arc not shared.
    Sample curveSampleFirst(const Segment &g, uint32_t i);
    Node sampleAt(uint32_t i);
    const Segment &segmentOf(uint32_t i);
    // The first (or last) sample of the piece that is usable, or its count.
    uint32_t firstUsable(bool fromEnd);
    bool arcSteps(const Segment &g, ArcSteps &steps);
    // The nodes a lone circle keeps for a given chord reach and direction,
    // with the cos and sin of their angles: the same for every circle.
    struct KeptCircle {
        uint32_t n = 0;
        uint32_t index[kCurvePoints];
        alignas(16) double cos[kCurvePoints + 1];
        alignas(16) double sin[kCurvePoints + 1];
        double turn = 0; // the sines of the angles between kept nodes, summed
    };
    const KeptCircle &keptCircle(uint32_t holds, bool reversed);
    // The piece's placing as one affine map, closely enough to tell where
    // its samples lie within their margin: (x, y) goes to m·(x, y) + o.
    struct Affine {
        double m00, m01, m10, m11, o0, o1;
    };
    Affine affinePlacing() const;
    void walkSegment(const Segment &g, bool reversed, ContourBuilder &builder);

    const Shapes &m_shapes;
    const Body &m_body;
    const double *m_data;
    const double *m_cos;
    const double *m_sin;
    // The pieces with a usable sample, when some have none.
    std::vector<uint32_t> m_live;
    size_t m_pieces = 0;
    size_t m_longest = 0;
    size_t topOf(size_t piece) const { return m_live.empty() ? piece : m_live[piece]; }
    std::vector<double> m_reach; // per shape, once known (negative before)

    // Samples of arcs that several pieces share, made once: offsets into
    // m_cached by segment, within a budget.
    std::vector<uint32_t> m_uses;    // pieces per shape, up to 2
    std::vector<uint32_t> m_cacheAt; // per segment: 0 none yet, ~0 never, else offset + 1
    std::vector<Sample> m_cached;
    size_t m_cacheBudget;
    std::vector<char> m_safe; // per piece: every sample usable, known without sampling
    std::unique_ptr<KeptCircle> m_keptCircles[2 * kCurvePoints];
    // The ring of the lone circle last asked about (holdsAlone).
    // unitSagitta of arcs, which the inserts of one block ask again and
    // again: a small table by step and count.
    double arcSagitta(double delta, uint32_t k);
    struct SagittaSlot {
        double delta = -1;
        uint32_t k = 0;
        double value = 0;
    };
    std::array<SagittaSlot, 256> m_sagittas{};
    struct Ring {
        size_t piece = ~size_t(0);
        bool known = false;
        double cx = 0, cy = 0, inside = 0, outside = 0;
    } m_ring;

    // The piece at hand.
    size_t m_top = ~size_t(0);
    const Shape *m_shape = nullptr;
    const Segment *m_segments = nullptr;
    uint32_t m_cursor = 0;
    bool m_mirrored = false;
    int32_t m_chainOf = -2;                 // the insert the chain is of
    std::vector<const Transform *> m_chain; // innermost insert first
    size_t m_depth = 0;
    Transform m_inner{};                    // a copy of the first
    bool m_placing = false;                 // the four below are known
    bool m_similar = true;                  // every insert scales X and Y alike
    double m_scale = 1;                     // the scale of all of them
    double m_growth = 1, m_offset = 0;
    std::vector<double> m_scratch;
};

} // namespace vx::dxf
