// The pieces of a DXF drawing as the cutting order reads them: samples made
// when they are walked, and along circular arcs the simplification's answers
// known ahead where the geometry leaves no doubt, so that only the nodes it
// keeps are sampled.
#include "readers/dxf_pieces.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vx::dxf {

namespace {

constexpr double kUsable = 1e30;   // larger coordinates are dropped
constexpr double kSafeReach = 1e29; // bounds below this are usable whatever the rounding
constexpr int kSteps = kCurvePoints - 1;

bool usable(const Sample &s) { return std::fabs(s.x) <= kUsable && std::fabs(s.y) <= kUsable; }

// Largest distance from the chord over k steps of a circle of radius 1,
// sampled every `delta`, to the samples strictly between its ends.
double unitSagitta(double delta, uint32_t k)
{
    if (k % 2 == 0) {
        const double s = std::sin(k * delta / 4);
        return 2 * s * s;
    }
    return 2 * std::sin((k + 1) * delta / 4) * std::sin((k - 1) * delta / 4);
}

// The same for the steps of every circle, once.
struct CircleSagittas {
    double of[kCurvePoints + 1];
    CircleSagittas()
    {
        for (uint32_t k = 0; k <= kCurvePoints; ++k)
            of[k] = unitSagitta(2 * std::numbers::pi / kSteps, k);
    }
};

const CircleSagittas &circleSagittas()
{
    static const CircleSagittas table;
    return table;
}

} // namespace

DrawingSource::DrawingSource(const DrawingPieces &drawing)
    : m_shapes(drawing.shapes), m_body(drawing.body), m_data(drawing.shapes.data.data()), m_cos(unitCircleCos()),
      m_sin(unitCircleSin()), m_reach(drawing.shapes.shapes.size(), -1), m_uses(drawing.shapes.shapes.size(), 0),
      m_cacheAt(drawing.shapes.segments.size(), 0), m_cacheBudget(drawing.fileBytes / 4 / sizeof(Sample)),
      m_safe(drawing.body.pieces.size(), 0)
{
    const size_t n = m_body.pieces.size();
    std::vector<char> live(n, 0);
    m_pieces = 0;
    for (size_t p = 0; p < n; ++p) {
        uint32_t &uses = m_uses[m_body.pieces[p].shape];
        uses = std::min<uint32_t>(uses + 1, 2);
        setPiece(p);
        // A piece whose every coordinate is bounded far below the limit
        // needs no look at its samples.
        const bool safe = this->safe();
        m_safe[p] = safe;
        if (safe || firstUsable(false) < m_shape->samples) {
            live[p] = 1;
            ++m_pieces;
            m_longest = std::max<size_t>(m_longest, m_shape->samples);
        }
    }
    if (m_pieces < n) {
        m_live.reserve(m_pieces);
        for (size_t p = 0; p < n; ++p)
            if (live[p])
                m_live.push_back(static_cast<uint32_t>(p));
    }
}

double DrawingSource::shapeReach(uint32_t shape)
{
    double &reach = m_reach[shape];
    if (reach < 0) {
        const Shape &s = m_shapes.shapes[shape];
        reach = 0;
        for (uint32_t k = 0; k < s.segments; ++k) {
            const double r = segmentReach(m_shapes, m_shapes.segments[s.firstSegment + k]);
            reach = r > reach || std::isnan(r) ? r : reach;
        }
        if (std::isnan(reach))
            reach = std::numeric_limits<double>::infinity();
    }
    return reach;
}

void DrawingSource::changePiece(size_t top)
{
    m_top = top;
    const Piece &piece = m_body.pieces[top];
    m_shape = &m_shapes.shapes[piece.shape];
    m_segments = m_shapes.segments.data() + m_shape->firstSegment;
    m_mirrored = m_shape->mirrored;
    m_cursor = 0;
    // The pieces of one insert follow each other, in the file and mostly in
    // the cutting order too: their chain is built once.
    if (piece.transform == m_chainOf)
        return;
    m_chainOf = piece.transform;
    m_placing = false;
    m_chain.clear();
    for (int32_t t = piece.transform; t >= 0; t = m_body.transforms[static_cast<size_t>(t)].parent)
        m_chain.push_back(&m_body.transforms[static_cast<size_t>(t)]);
    m_depth = m_chain.size();
    if (m_depth > 0)
        m_inner = *m_chain[0];
}

void DrawingSource::knowPlacing()
{
    if (m_placing)
        return;
    m_placing = true;
    m_similar = true;
    m_scale = 1;
    m_growth = 1;
    m_offset = 0;
    for (const Transform *t : m_chain) {
        // Magnitudes after placing stay below growth · before + offset.
        const double a = std::fabs(t->sx) + std::fabs(t->sy);
        m_growth *= a;
        m_offset = a * (m_offset + std::fabs(t->bx) + std::fabs(t->by)) + std::fabs(t->x) + std::fabs(t->y);
        m_scale *= std::fabs(t->sx);
        if (!(std::fabs(t->sx) == std::fabs(t->sy)))
            m_similar = false;
    }
}

Sample DrawingSource::curveSampleFirst(const Segment &g, uint32_t i)
{
    // An arc inserted more than once is sampled once, within a budget.
    const size_t segment = static_cast<size_t>(&g - m_shapes.segments.data());
    uint32_t &at = m_cacheAt[segment];
    if (at == 0) {
        at = ~uint32_t(0);
        if (g.kind != Curve::Spline && m_uses[m_body.pieces[m_top].shape] > 1 && g.count <= m_cacheBudget &&
            m_cached.size() + g.count < std::numeric_limits<uint32_t>::max()) {
            m_cacheBudget -= g.count;
            at = static_cast<uint32_t>(m_cached.size() + 1);
            for (uint32_t k = 0; k < g.count; ++k)
                m_cached.push_back(sampleOf(m_shapes, g, k, m_scratch));
        }
    }
    if (at != ~uint32_t(0))
        return m_cached[at - 1 + i];
    return sampleOf(m_shapes, g, i, m_scratch);
}

Node DrawingSource::sampleAt(uint32_t i)
{
    const Segment &g = segmentOf(i);
    return sample(g, i - g.start);
}

const Segment &DrawingSource::segmentOf(uint32_t i)
{
    const Segment *g = m_segments + m_cursor;
    if (i >= g->start && i - g->start < g->count)
        return *g;
    if (m_cursor + 1 < m_shape->segments && i >= g[1].start && i - g[1].start < g[1].count)
        return m_segments[++m_cursor];
    const Segment *end = m_segments + m_shape->segments;
    g = std::upper_bound(m_segments, end, i, [](uint32_t v, const Segment &s) { return v < s.start; }) - 1;
    m_cursor = static_cast<uint32_t>(g - m_segments);
    return *g;
}

uint32_t DrawingSource::firstUsable(bool fromEnd)
{
    const uint32_t n = m_shape->samples;
    for (uint32_t k = 0; k < n; ++k) {
        const uint32_t i = fromEnd ? n - 1 - k : k;
        const Node node = sampleAt(i);
        if (usable({node.x, node.y}))
            return i;
    }
    return n;
}

void DrawingSource::ends(size_t piece, Node &head, Node &tail)
{
    setPiece(topOf(piece));
    if (m_safe[m_top]) {
        head = sampleAt(0);
        // A circle closes on its first sample exactly.
        const bool circle = m_shape->segments == 1 && m_segments[0].kind == Curve::Circle;
        tail = circle ? head : sampleAt(m_shape->samples - 1);
        return;
    }
    head = sampleAt(firstUsable(false));
    tail = sampleAt(firstUsable(true));
}

void DrawingSource::nodes(size_t piece, const uint32_t *index, size_t count, Node *out)
{
    setPiece(topOf(piece));
    if (m_shape->segments == 1) {
        placeRun(m_segments[0], index, count, out);
        return;
    }
    for (size_t k = 0; k < count;) {
        const Segment &g = segmentOf(index[k]);
        size_t e = k + 1;
        while (e < count && index[e] - g.start < g.count)
            ++e;
        placeRun(g, index + k, e - k, out + k);
        k = e;
    }
}

#if defined(__SSE2__)
namespace {

// placeWith for two samples at once, for a piece placed by one insert at
// most: the same operations in the same order, so the same bits.
class PairPlacer {
public:
    PairPlacer(bool mirrored, size_t depth, const Transform &inner)
        : m_flipIn(_mm_set1_pd(mirrored ? -0.0 : 0.0)), m_placed(depth > 0)
    {
        m_sx = _mm_set1_pd(inner.sx), m_sy = _mm_set1_pd(inner.sy);
        m_bx = _mm_set1_pd(inner.bx), m_by = _mm_set1_pd(inner.by);
        m_cos = _mm_set1_pd(inner.cosR), m_sin = _mm_set1_pd(inner.sinR);
        m_x = _mm_set1_pd(inner.x), m_y = _mm_set1_pd(inner.y);
        m_flipOut = _mm_set1_pd(inner.mirrored ? -0.0 : 0.0);
    }
    // Samples (x[0], y[0]) and (x[1], y[1]) into out[0] and out[1].
    void place(__m128d x, __m128d y, Node *out) const
    {
        x = _mm_xor_pd(x, m_flipIn);
        if (m_placed) {
            const __m128d x1 = _mm_mul_pd(m_sx, _mm_sub_pd(x, m_bx));
            const __m128d y1 = _mm_mul_pd(m_sy, _mm_sub_pd(y, m_by));
            const __m128d qx = _mm_sub_pd(_mm_add_pd(m_x, _mm_mul_pd(x1, m_cos)), _mm_mul_pd(y1, m_sin));
            const __m128d qy = _mm_add_pd(_mm_add_pd(m_y, _mm_mul_pd(x1, m_sin)), _mm_mul_pd(y1, m_cos));
            x = _mm_xor_pd(qx, m_flipOut);
            y = qy;
        }
        out[0] = Node{_mm_cvtsd_f64(x), _mm_cvtsd_f64(y), 0, 0};
        out[1] = Node{_mm_cvtsd_f64(_mm_unpackhi_pd(x, x)), _mm_cvtsd_f64(_mm_unpackhi_pd(y, y)), 0, 0};
    }

private:
    __m128d m_flipIn, m_sx, m_sy, m_bx, m_by, m_cos, m_sin, m_x, m_y, m_flipOut;
    bool m_placed;
};

} // namespace
#endif

void DrawingSource::placeRun(const Segment &g, const uint32_t *index, size_t count, Node *out)
{
    // The placing read once for the run: most pieces have one insert or none.
    const uint32_t base = g.start;
    const double *d = m_data + g.data;
    const bool mirrored = m_mirrored;
    const size_t depth = m_depth;
    const Transform inner = m_inner;
    const Transform *const *chain = m_chain.data();
    auto place = [&](Sample s) { return placeWith(s, mirrored, depth, inner, chain); };
#if defined(__SSE2__)
    if (depth <= 1 && count >= 2 && (g.kind == Curve::Points || g.kind == Curve::Circle)) {
        const PairPlacer pair(mirrored, depth, inner);
        size_t k = 0;
        if (g.kind == Curve::Points) {
            for (; k + 1 < count; k += 2) {
                const size_t i0 = index[k] - base, i1 = index[k + 1] - base;
                pair.place(_mm_set_pd(d[2 * i1], d[2 * i0]), _mm_set_pd(d[2 * i1 + 1], d[2 * i0 + 1]), out + k);
            }
        } else {
            const double *cs = m_cos, *sn = m_sin;
            const __m128d cx = _mm_set1_pd(d[0]), cy = _mm_set1_pd(d[1]), r = _mm_set1_pd(d[2]);
            auto angle = [&](size_t k) {
                const uint32_t i = index[k] - base;
                return i == kCurvePoints - 1 ? 0 : i;
            };
            for (; k + 1 < count; k += 2) {
                const uint32_t i0 = angle(k), i1 = angle(k + 1);
                const __m128d x = _mm_add_pd(cx, _mm_mul_pd(r, _mm_set_pd(cs[i1], cs[i0])));
                const __m128d y = _mm_add_pd(cy, _mm_mul_pd(r, _mm_set_pd(sn[i1], sn[i0])));
                pair.place(x, y, out + k);
            }
        }
        if (k < count) // the odd one left
            placeRun(g, index + k, 1, out + k);
        return;
    }
#endif
    if (g.kind == Curve::Points) {
        for (size_t k = 0; k < count; ++k) {
            const size_t i = index[k] - base;
            out[k] = place({d[2 * i], d[2 * i + 1]});
        }
    } else if (g.kind == Curve::Circle) {
        const double *cs = m_cos, *sn = m_sin;
        for (size_t k = 0; k < count; ++k) {
            uint32_t i = index[k] - base;
            i = i == kCurvePoints - 1 ? 0 : i;
            out[k] = place({d[0] + d[2] * cs[i], d[1] + d[2] * sn[i]});
        }
    } else {
        for (size_t k = 0; k < count; ++k)
            out[k] = place(curveSample(g, index[k] - base));
    }
}

void DrawingSource::walk(size_t piece, bool reversed, ContourBuilder &builder)
{
    setPiece(topOf(piece));
    const uint32_t n = m_shape->segments;
    for (uint32_t k = 0; k < n; ++k) {
        m_cursor = reversed ? n - 1 - k : k;
        walkSegment(m_segments[m_cursor], reversed, builder);
    }
}

bool DrawingSource::safe()
{
    knowPlacing();
    return placedReach(shapeReach(m_body.pieces[m_top].shape)) <= kSafeReach;
}

bool DrawingSource::arcSteps(const Segment &g, ArcSteps &steps)
{
    knowPlacing();
    if (!m_similar || !(g.kind == Curve::Circle || g.kind == Curve::Arc || g.kind == Curve::Bulge))
        return false;
    const double *d = m_shapes.data.data() + g.data;
    double r = 0, start = 0, sweep = 0, reach = 0;
    if (g.kind == Curve::Bulge) {
        r = d[6];
        start = d[7];
        sweep = d[8];
        reach = std::fabs(d[0]) + std::fabs(d[1]) + std::fabs(d[2]) + std::fabs(d[3]) + std::fabs(d[4]) +
                std::fabs(d[5]) + r;
    } else {
        r = std::fabs(d[2]);
        start = g.kind == Curve::Arc ? d[3] : 0;
        sweep = g.kind == Curve::Arc ? d[4] : 2 * std::numbers::pi;
        reach = std::fabs(d[0]) + std::fabs(d[1]) + r;
    }
    const double radius = r * m_scale;
    const double bound = placedReach(reach);
    if (!(bound <= kSafeReach) || !(radius > 0))
        return false;
    const double delta = std::fabs(sweep) / kSteps;
    if (!(delta > 0 && delta <= std::numbers::pi / 8))
        return false;
    // Every sample lies within `margin` of the ideal circle, and every
    // distance the simplification computes within it of the exact one: the
    // rounding of the sampling, the placing and the test, with room to spare.
    const double margin = 1e-11 * (1 + bound) + 1e-14 * radius * (1 + std::fabs(start) + std::fabs(sweep));
    const double reachOk = std::sqrt(kSimplifyTolerance);
    // Chords of two steps or more are too long for the short-chord rule.
    if (!(2 * radius * std::sin(delta) - margin > reachOk * (1 + 1e-9)))
        return false;
    // A chord over k steps holds while its sagitta stays below the
    // tolerance; the sagitta grows with k up to a quarter turn.
    const uint32_t most = std::min<uint32_t>(g.count - 1, static_cast<uint32_t>(std::numbers::pi / 2 / delta));
    const double *table = g.kind == Curve::Circle ? circleSagittas().of : nullptr;
    auto sagitta = [&](uint32_t k) { return radius * (table ? table[k] : arcSagitta(delta, k)); };
    auto holds = [&](uint32_t k) { return k <= 1 || sagitta(k) + margin < reachOk; };
    // Start from the small-angle estimate k²·δ²·r/8 = tolerance.
    const double estimate = std::sqrt(8 * reachOk / radius) / delta;
    uint32_t k = estimate >= most ? most : std::max<uint32_t>(1, static_cast<uint32_t>(estimate));
    while (k > 1 && !holds(k))
        --k;
    while (k < most && holds(k + 1))
        ++k;
    steps.holds = k;
    steps.margin = margin;
    steps.reach = bound;
    // The chord one step longer is known to fail only while the simplifier
    // tests every node between, not a hull of them.
    steps.failsNext = k < most && k < Simplifier::kHullFrom && sagitta(k + 1) - margin > reachOk;
    return true;
}

double DrawingSource::arcSagitta(double delta, uint32_t k)
{
    const uint64_t h = std::bit_cast<uint64_t>(delta) * 0x9E3779B97F4A7C15ull + k * 0xC2B2AE3D27D4EB4Full;
    SagittaSlot &slot = m_sagittas[(h >> 56) % m_sagittas.size()];
    if (!(slot.delta == delta && slot.k == k))
        slot = {delta, k, unitSagitta(delta, k)};
    return slot.value;
}

void DrawingSource::walkSegment(const Segment &g, bool reversed, ContourBuilder &builder)
{
    const uint32_t count = g.count;
    auto at = [&](uint32_t q) { return reversed ? count - 1 - q : q; };
    ArcSteps steps;
    if (!arcSteps(g, steps)) {
        for (uint32_t q = 0; q < count; ++q) {
            const uint32_t i = at(q);
            const Node n = sample(g, i);
            if (usable({n.x, n.y}))
                builder.add(n, g.start + i);
        }
        return;
    }
    // Every sample is usable here. From a fresh chord at position a (its
    // anchor) the chords up to a + holds hold, and when the next one is known
    // to fail, a + holds is kept without looking at the nodes between.
    uint32_t q = 0;
    while (q < count) {
        builder.add(sample(g, at(q)), g.start + at(q));
        ++q;
        if (q < 2 || !builder.freshChord())
            continue;
        uint32_t a = q - 2;
        if (steps.failsNext && a + steps.holds + 1 < count) {
            do {
                a += steps.holds;
                builder.jump(sample(g, at(a)), g.start + at(a));
            } while (a + steps.holds + 1 < count);
            builder.resume(sample(g, at(a + 1)), g.start + at(a + 1));
        }
        const uint32_t last = std::min(a + steps.holds, count - 1);
        if (last + 1 < count && !steps.failsNext) {
            // Known to hold up to there; the next chord is tested.
            for (uint32_t r = a + 2; r <= last; ++r)
                builder.addHolding(sample(g, at(r)), g.start + at(r));
            q = last + 1;
        } else if (last + 1 == count) {
            for (uint32_t r = a + 2; r <= last; ++r)
                builder.addHolding(sample(g, at(r)), g.start + at(r));
            q = count;
        } else {
            q = a + 2;
        }
    }
}

const DrawingSource::KeptCircle &DrawingSource::keptCircle(uint32_t holds, bool reversed)
{
    std::unique_ptr<KeptCircle> &slot = m_keptCircles[2 * size_t(holds) + (reversed ? 1 : 0)];
    if (!slot) {
        slot = std::make_unique<KeptCircle>();
        KeptCircle &t = *slot;
        constexpr uint32_t count = kCurvePoints;
        uint32_t kept[kCurvePoints];
        uint32_t n = 0;
        kept[n++] = 0;
        for (uint32_t a = 0; a + holds + 1 < count;)
            kept[n++] = a += holds;
        kept[n++] = count - 1;
        t.n = n;
        t.turn = 0;
        for (uint32_t j = 1; j < n; ++j)
            t.turn += m_sin[kept[j] - kept[j - 1]];
        for (uint32_t j = 0; j < n; ++j) {
            t.index[j] = reversed ? count - 1 - kept[j] : kept[j];
            const uint32_t k = t.index[j] == count - 1 ? 0 : t.index[j];
            t.cos[j] = m_cos[k];
            t.sin[j] = m_sin[k];
        }
        t.cos[n] = t.cos[n - 1];
        t.sin[n] = t.sin[n - 1];
    }
    return *slot;
}

bool DrawingSource::walkAlone(size_t piece, bool reversed, ContourBuilder &builder)
{
    // A circle that is a contour by itself: from its fresh start the walk
    // keeps the first sample, one every `holds` steps while the chord past
    // is known to fail, and the last. Only the nodes that may hold an
    // extreme, a zero or an end are sampled.
    setPiece(topOf(piece));
    if (m_shape->segments != 1 || m_segments[0].kind != Curve::Circle || m_segments[0].count != kCurvePoints)
        return false;
    const Segment &g = m_segments[0];
    ArcSteps steps;
    if (!arcSteps(g, steps) || !steps.failsNext)
        return false;
    const KeptCircle &t = keptCircle(steps.holds, reversed);
    const uint32_t n = t.n;

    // Where the nodes lie, closely enough to tell which can be extremes:
    // every sample lies within `margin` of it.
    const Affine f = affinePlacing();
    const double *d = m_data + g.data;
    const double cx = f.m00 * d[0] + f.m01 * d[1] + f.o0, cy = f.m10 * d[0] + f.m11 * d[1] + f.o1;
    const double ux = d[2] * f.m00, uy = d[2] * f.m10, vx = d[2] * f.m01, vy = d[2] * f.m11;
    // Two nodes at a time; the tables repeat their last node to an even count.
    alignas(16) double xs[kCurvePoints + 1], ys[kCurvePoints + 1];
    double lowX, highX, lowY, highY;
#if defined(__SSE2__)
    {
        const __m128d vcx = _mm_set1_pd(cx), vcy = _mm_set1_pd(cy), vux = _mm_set1_pd(ux), vuy = _mm_set1_pd(uy),
                      vvx = _mm_set1_pd(vx), vvy = _mm_set1_pd(vy);
        __m128d lx = _mm_set1_pd(INFINITY), hx = _mm_set1_pd(-INFINITY), ly = lx, hy = hx;
        for (uint32_t j = 0; j < n; j += 2) {
            const __m128d c = _mm_load_pd(t.cos + j), sn = _mm_load_pd(t.sin + j);
            const __m128d x = _mm_add_pd(_mm_add_pd(vcx, _mm_mul_pd(vux, c)), _mm_mul_pd(vvx, sn));
            const __m128d y = _mm_add_pd(_mm_add_pd(vcy, _mm_mul_pd(vuy, c)), _mm_mul_pd(vvy, sn));
            _mm_store_pd(xs + j, x);
            _mm_store_pd(ys + j, y);
            lx = _mm_min_pd(lx, x), hx = _mm_max_pd(hx, x);
            ly = _mm_min_pd(ly, y), hy = _mm_max_pd(hy, y);
        }
        auto low = [](__m128d v) { return _mm_cvtsd_f64(_mm_min_sd(v, _mm_unpackhi_pd(v, v))); };
        auto high = [](__m128d v) { return _mm_cvtsd_f64(_mm_max_sd(v, _mm_unpackhi_pd(v, v))); };
        lowX = low(lx), highX = high(hx), lowY = low(ly), highY = high(hy);
    }
#else
    lowX = INFINITY, highX = -INFINITY, lowY = INFINITY, highY = -INFINITY;
    for (uint32_t j = 0; j < n; ++j) {
        xs[j] = cx + ux * t.cos[j] + vx * t.sin[j];
        ys[j] = cy + uy * t.cos[j] + vy * t.sin[j];
        lowX = std::min(lowX, xs[j]), highX = std::max(highX, xs[j]);
        lowY = std::min(lowY, ys[j]), highY = std::max(highY, ys[j]);
    }
#endif
    // The polygon's area, whose sign orients it, must stand clear of what
    // the rounding of its sum may reach.
    const double det = ux * vy - uy * vx;
    const double noise = 1e-13 * (1 + steps.reach);
    if (!(std::fabs(det) * t.turn > 4 * n * (8e-16 * steps.reach * steps.reach + 4 * steps.reach * noise)))
        return false;

    const double w = 4 * steps.margin;
    Sample exact[kCurvePoints]; // only those sampled are read
    bool known[kCurvePoints] = {};
    auto at = [&](uint32_t j) -> const Sample & {
        if (!known[j]) {
            const Node p = sample(g, t.index[j]);
            exact[j] = {p.x, p.y};
            known[j] = true;
        }
        return exact[j];
    };
    ContourBuilder::Known k{};
    k.minX = at(0).x, k.maxX = at(0).x, k.minY = at(0).y, k.maxY = at(0).y;
    k.best = 0, k.bestX = at(0).x, k.bestY = at(0).y;
    k.zeroX = at(0).x == 0, k.zeroY = at(0).y == 0;
    const double belowX = lowX + w, aboveX = highX - w, belowY = lowY + w, aboveY = highY - w;
    auto extremes = [&](uint32_t j) {
        if (xs[j] <= belowX)
            k.minX = std::min(k.minX, at(j).x);
        if (xs[j] >= aboveX) {
            const Sample &p = at(j);
            k.maxX = std::max(k.maxX, p.x);
            if (p.x > k.bestX || (p.x == k.bestX && p.y < k.bestY))
                k.best = j, k.bestX = p.x, k.bestY = p.y;
        }
        if (ys[j] <= belowY)
            k.minY = std::min(k.minY, at(j).y);
        if (ys[j] >= aboveY)
            k.maxY = std::max(k.maxY, at(j).y);
    };
#if defined(__SSE2__)
    {
        // Most pairs hold no candidate: one test tells.
        const __m128d bx = _mm_set1_pd(belowX), ax = _mm_set1_pd(aboveX), by = _mm_set1_pd(belowY),
                      ay = _mm_set1_pd(aboveY);
        for (uint32_t j = 0; j < n; j += 2) {
            const __m128d x = _mm_load_pd(xs + j), y = _mm_load_pd(ys + j);
            const __m128d any = _mm_or_pd(_mm_or_pd(_mm_cmple_pd(x, bx), _mm_cmpge_pd(x, ax)),
                                          _mm_or_pd(_mm_cmple_pd(y, by), _mm_cmpge_pd(y, ay)));
            const int mask = _mm_movemask_pd(any);
            if ((mask & 1) && j > 0)
                extremes(j);
            if ((mask & 2) && j + 1 < n)
                extremes(j + 1);
        }
    }
#else
    for (uint32_t j = 1; j < n; ++j)
        extremes(j);
#endif
    // A zero needs a node near an axis, which most circles are far from.
    if (!(lowX > w || highX < -w))
        for (uint32_t j = 1; j < n; ++j)
            if (std::fabs(xs[j]) <= w && at(j).x == 0)
                k.zeroX = true;
    if (!(lowY > w || highY < -w))
        for (uint32_t j = 1; j < n; ++j)
            if (std::fabs(ys[j]) <= w && at(j).y == 0)
                k.zeroY = true;
    k.firstX = at(0).x, k.firstY = at(0).y;
    k.secondX = at(1).x, k.secondY = at(1).y;
    k.beforeLastX = at(n - 2).x, k.beforeLastY = at(n - 2).y;
    k.lastX = at(n - 1).x, k.lastY = at(n - 1).y;
    // Counter-clockwise as the table runs when the placing keeps turns.
    k.areaNegative = (det > 0) == reversed;
    // Neighbours are a step apart at least, far beyond a repeat.
    k.nearPairs = false;
    builder.keepIndexes(t.index, n);
    builder.setKnown(k);
    return true;
}

DrawingSource::Affine DrawingSource::affinePlacing() const
{
    Affine f{m_mirrored ? -1.0 : 1.0, 0, 0, 1, 0, 0};
    for (const Transform *t : m_chain) {
        const double a00 = t->sx * t->cosR, a01 = -t->sy * t->sinR, a10 = t->sx * t->sinR, a11 = t->sy * t->cosR;
        const double n00 = a00 * f.m00 + a01 * f.m10, n01 = a00 * f.m01 + a01 * f.m11;
        const double n10 = a10 * f.m00 + a11 * f.m10, n11 = a10 * f.m01 + a11 * f.m11;
        const double q0 = a00 * (f.o0 - t->bx) + a01 * (f.o1 - t->by) + t->x;
        const double q1 = a10 * (f.o0 - t->bx) + a11 * (f.o1 - t->by) + t->y;
        const double flip = t->mirrored ? -1 : 1;
        f = {flip * n00, flip * n01, n10, n11, flip * q0, q1};
    }
    return f;
}

int DrawingSource::holdsAlone(size_t piece, double x, double y)
{
    // The contour of a lone circle lies between the circle and its chords,
    // each a sagitta of `holds` steps inside at most; a point well inside or
    // outside that ring is far from every edge, so the ray test can only
    // agree.
    // The nesting asks about one contour many times in a row: its ring is
    // worked out once.
    if (piece != m_ring.piece) {
        m_ring.piece = piece;
        m_ring.known = false;
        setPiece(topOf(piece));
        const Segment &g = m_segments[0];
        ArcSteps steps;
        if (m_shape->segments != 1 || g.kind != Curve::Circle || !arcSteps(g, steps))
            return -1;
        const Affine f = affinePlacing();
        const double *d = m_data + g.data;
        m_ring.cx = f.m00 * d[0] + f.m01 * d[1] + f.o0;
        m_ring.cy = f.m10 * d[0] + f.m11 * d[1] + f.o1;
        const double r = std::fabs(d[2]) * m_scale;
        // The sagitta of a chord over `holds` steps, at most that of an even
        // count, whose middle is a sample.
        const double s = r * circleSagittas().of[steps.holds + steps.holds % 2];
        m_ring.inside = r - s - 4 * steps.margin;
        m_ring.outside = r + 4 * steps.margin;
        m_ring.known = true;
    }
    if (!m_ring.known)
        return -1;
    const double dist = std::hypot(x - m_ring.cx, y - m_ring.cy);
    if (dist < m_ring.inside)
        return 1;
    if (dist > m_ring.outside)
        return 0;
    return -1;
}

void appendSamples(const DrawingPieces &drawing, PointList &list)
{
    std::vector<double> scratch;
    std::vector<const Transform *> chain;
    for (const Piece &piece : drawing.body.pieces) {
        chain.clear();
        for (int32_t t = piece.transform; t >= 0; t = drawing.body.transforms[static_cast<size_t>(t)].parent)
            chain.push_back(&drawing.body.transforms[static_cast<size_t>(t)]);
        const Shape &shape = drawing.shapes.shapes[piece.shape];
        for (uint32_t k = 0; k < shape.segments; ++k) {
            const Segment &g = drawing.shapes.segments[shape.firstSegment + k];
            for (uint32_t i = 0; i < g.count; ++i) {
                Sample s = sampleOf(drawing.shapes, g, i, scratch);
                if (shape.mirrored)
                    s.x = -s.x;
                for (const Transform *t : chain)
                    s = t->apply(s);
                list.push_back(Node{s.x, s.y, piece.contour, 0});
            }
        }
    }
}

} // namespace vx::dxf
