// DecalSequence and SeqOffset: offset contours around the contours of an
// array, in one pass or in passes that step inwards like a pocketing tool.
#include "order/contour_index.h"
#include "order/cutting_order.h"
#include "foundation/export_guard.h"
#include "order/fill.h"
#include "tools/offset_raw.h"
#include "foundation/vx_array.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace vx {

namespace {

constexpr double kCloseFactor = 0.96;        // a loop nearer its source than 0.96 × offset² is a leftover
constexpr size_t kMaxPoints = size_t{1} << 24; // more offset points than this is not a usable result
constexpr size_t kWorkBudget = 5'000'000;     // raw offset points over all passes before giving up
constexpr double kResolution = 1e-12;         // smallest offset relative to the coordinates
constexpr int kMaxPasses = 1'000;             // a step this small against the shape is no usable request

struct Source {
    Contour c;
    std::vector<Node> vertices; // what is offset: c without runs shorter than the tolerance
    double side = 0; // offset × doubleArea: loops of a closed source lie inside when negative
    std::unique_ptr<SegmentIndex> segments;
    std::unique_ptr<ContourLocator> locator;
    double margin = 0;   // slack of the box filter
    double rounding = 0; // error of a distance computed among the source's coordinates
    bool active = true;
};

bool keepMarked(const ContourPoint &p) { return (p.Pen[1] & 0xFF) == 'C'; }
bool keepMarked(const SequencePoint &p) { return (p.Mark & kKeep) != 0; }
bool sameContour(const ContourPoint &a, const ContourPoint &b) { return (a.Tag[1] & 0xFF) == (b.Tag[1] & 0xFF); }
bool sameContour(const SequencePoint &a, const SequencePoint &b) { return a.Sequence == b.Sequence; }

// Contours at each change of the second Tag character (of Sequence); points
// that are not finite cannot be offset and are left out.
template <typename Rec> std::vector<Contour> splitRecords(const Rec *p, int32_t n)
{
    std::vector<Contour> out;
    for (int32_t i = 0; i < n; ++i) {
        if (i == 0 || !sameContour(p[i - 1], p[i]))
            out.emplace_back();
        if (std::isfinite(p[i].X) && std::isfinite(p[i].Y))
            out.back().pts.push_back(
                Node{p[i].X, p[i].Y, static_cast<int32_t>(out.size()), keepMarked(p[i]) ? kKeep : 0});
    }
    std::erase_if(out, [](const Contour &c) { return c.pts.empty(); });
    return out;
}

struct Box {
    double x0, y0, x1, y1;
};

Box boxOf(const std::vector<Node> &pts)
{
    Box b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const Node &p : pts) {
        b.x0 = std::min(b.x0, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x);
        b.y1 = std::max(b.y1, p.y);
    }
    return b;
}

bool inside(const Box &inner, const Box &outer, double margin)
{
    return inner.x0 >= outer.x0 - margin && inner.y0 >= outer.y0 - margin && inner.x1 <= outer.x1 + margin &&
           inner.y1 <= outer.y1 + margin;
}

// The square of the distance below which a raw point is too near the
// source: the offset, less the depth of the arcs' chords (a point may lie
// that far inside the circle of a vertex and still be outside its polygon),
// and never more lenient than 0.96 × offset². `rounding` covers the
// rounding of distances computed among coordinates of that size.
double allowedSquare(double d, double sagitta, double rounding)
{
    const double reach = std::fabs(d) * (1 - 1e-9) - 1.01 * sagitta - rounding;
    return std::max(kCloseFactor * d * d, reach > 0 ? reach * reach : 0.0);
}

// A piece of a raw offset is kept when it neither crosses the source nor
// comes nearer to it than allowed, and runs with the source on the side
// opposite to the offset (a reversed stretch of a swallowtail may lie just
// outside the band; it runs the wrong way). A piece with no point between its
// ends is judged by its middle as well.
bool pieceAtOffset(const std::vector<Node> &piece, const Source &src, double allowed, double d)
{
    size_t longest = 1;
    for (size_t i = 2; i < piece.size(); ++i)
        if (std::hypot(piece[i].x - piece[i - 1].x, piece[i].y - piece[i - 1].y) >
            std::hypot(piece[longest].x - piece[longest - 1].x, piece[longest].y - piece[longest - 1].y))
            longest = i;
    if (piece.size() >= 2 && (piece[longest].x != piece[longest - 1].x || piece[longest].y != piece[longest - 1].y)) {
        const Node &a = piece[longest - 1], &b = piece[longest];
        const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        const Node q = src.segments->nearest(mx, my);
        if (((b.x - a.x) * (q.y - my) - (b.y - a.y) * (q.x - mx) < 0) == (d > 0))
            return false;
    }
    for (const Node &p : piece)
        if (src.segments->anyWithin(p.x, p.y, allowed))
            return false;
    if (piece.size() == 2 &&
        src.segments->anyWithin((piece[0].x + piece[1].x) / 2, (piece[0].y + piece[1].y) / 2, allowed))
        return false;
    for (size_t i = 1; i < piece.size(); ++i)
        if (src.segments->anyCrossing(piece[i - 1], piece[i]))
            return false;
    return true;
}

// A loop made of such pieces is kept when it stays in its source's box
// widened by the offset, lies on the offset's side of a closed source, and
// reaches the offset distance somewhere: a sliver made only of crossings on
// arc chords, a little inside the offset all round, is a leftover.
bool loopInPlace(const std::vector<Node> &loop, const Source &src, double d)
{
    const Box b = boxOf(loop);
    const double reach = std::fabs(d) + src.margin;
    if (b.x0 < src.c.minX - reach || b.y0 < src.c.minY - reach || b.x1 > src.c.maxX + reach ||
        b.y1 > src.c.maxY + reach)
        return false;
    if (src.locator && src.side != 0 && src.locator->contains(loop[0].x, loop[0].y) != (src.side < 0))
        return false;
    const double full = std::fabs(d) * (1 - 1e-6) - src.rounding;
    if (full <= 0)
        return true;
    for (const Node &p : loop)
        if (!src.segments->anyWithin(p.x, p.y, full * full))
            return true;
    return false;
}

struct OffsetRun {
    double tol = 0;     // the tolerance as a distance, 0 when unusable
    double offset = 0;
    int32_t overlap = -1;
};

// All valid loops of every pass; a negative code when the result grows out
// of all measure.
int offsetPasses(std::vector<Source> &sources, const OffsetRun &run, std::vector<std::vector<Node>> &produced)
{
    // Passes after the first keep only loops inside the sources' box, and past
    // half its largest side no loop fits there: passes that would yield for
    // ever (rings around islands, open contours) stop.
    Box all{sources[0].c.minX, sources[0].c.minY, sources[0].c.maxX, sources[0].c.maxY};
    for (const Source &s : sources)
        all = {std::min(all.x0, s.c.minX), std::min(all.y0, s.c.minY), std::max(all.x1, s.c.maxX),
               std::max(all.y1, s.c.maxY)};
    const double fitLimit = 0.5 * std::max(all.x1 - all.x0, all.y1 - all.y0);
    const double step = (100.0 - run.overlap) * run.offset / 50.0;
    size_t points = 0, work = 0;
    double d = run.offset;
    for (int pass = 0;; ++pass) {
        bool any = false;
        for (Source &s : sources) {
            if (!s.active)
                continue;
            double sagitta = 0;
            const std::vector<Node> raw = rawOffset(s.vertices, s.c.closed, d, &sagitta);
            work += raw.size() + s.c.pts.size();
            if (work > kWorkBudget)
                return VX_ERR_MEMORY;
            const double allowed = allowedSquare(d, sagitta, s.rounding);
            auto atOffset = [&](const std::vector<Node> &piece) { return pieceAtOffset(piece, s, allowed, d); };
            // A raw segment within the band of one source segment is inside
            // the band all along: no loop can use it.
            std::vector<char> dropped(raw.size() > 1 ? raw.size() - 1 : 0);
            for (size_t i = 0; i < dropped.size(); ++i)
                dropped[i] = s.segments->holdsBoth(raw[i], raw[i + 1], allowed);
            bool yielded = false;
            for (std::vector<Node> &loop : cutLoops(raw, s.c.closed, atOffset, dropped, d > 0 ? 1 : -1)) {
                if (loop.empty() || !loopInPlace(loop, s, d) || (pass > 0 && !inside(boxOf(loop), all, s.margin)))
                    continue;
                points += loop.size();
                produced.push_back(std::move(loop));
                yielded = true;
            }
            // Deeper passes cannot bring back what this one lost.
            s.active = yielded;
            any = any || yielded;
        }
        if (points > kMaxPoints)
            return VX_ERR_MEMORY;
        if (!any || run.overlap < 0 || run.overlap >= 100)
            break;
        d += step;
        if (!(std::fabs(d) <= fitLimit))
            break;
        if (pass + 1 >= kMaxPasses)
            return VX_ERR_MEMORY;
    }
    return 1;
}

// The loops simplified, oriented by the sign of P and put in cutting order.
PointList orderLoops(std::vector<std::vector<Node>> &produced, const OffsetRun &run, double p)
{
    std::vector<Contour> loops;
    loops.reserve(produced.size());
    for (std::vector<Node> &pts : produced) {
        Contour c;
        c.pts = std::move(pts);
        simplify(c.pts, run.tol * run.tol);
        c.update();
        if (run.offset * c.doubleArea * p < 0)
            c.reverse();
        const auto number = static_cast<int32_t>(loops.size() + 1);
        for (Node &n : c.pts)
            n.contour = number;
        loops.push_back(std::move(c));
    }
    return orderAndEmit(std::move(loops), false);
}

void writeRecord(ContourPoint &out, const Node &n, int64_t counter)
{
    out.X = static_cast<float>(n.x);
    out.Y = static_cast<float>(n.y);
    setChars(out.Pen, 'P', n.contour < 0 ? 'U' : n.keep == kKeep ? 'C' : 'D');
    contourTag(counter, out.Tag);
}

void writeRecord(SequencePoint &out, const Node &n, int64_t counter)
{
    out.X = static_cast<float>(n.x);
    out.Y = static_cast<float>(n.y);
    out.Mark = static_cast<int16_t>(n.keep == kKeep ? kKeep : 0);
    out.Sequence = static_cast<int16_t>(counter);
}

template <typename Rec> int32_t offsetContours(VxArray **points, const float *tolerance, const float *offset,
                                               const int32_t *overlap)
{
    ArrayLock lock(points, sizeof(Rec));
    if (!lock.ok())
        return lock.result();
    OffsetRun run;
    run.offset = offset ? *offset : 0.0f;
    const int32_t n = (*points)->count;
    if (n < 2 || run.offset == 0)
        return 1;
    if (!std::isfinite(run.offset))
        return VX_NOTHING;
    const double t = tolerance ? *tolerance : 0.0f;
    run.tol = t > 0 && std::isfinite(t) ? t : 0;
    run.overlap = overlap ? *overlap : -1;

    std::vector<Source> sources;
    for (Contour &c : splitRecords(elements<Rec>(points), n)) {
        Source s;
        s.c = std::move(c);
        simplify(s.c.pts, run.tol * run.tol);
        s.c.update();
        sources.push_back(std::move(s));
    }
    lock.release();
    if (sources.empty())
        return VX_NOTHING;
    // An offset lost in the rounding of the coordinates offsets nothing.
    double scale = 0;
    for (const Source &s : sources)
        scale = std::max({scale, std::fabs(s.c.minX), std::fabs(s.c.maxX), std::fabs(s.c.minY), std::fabs(s.c.maxY)});
    if (std::fabs(run.offset) <= scale * kResolution)
        return VX_NOTHING;

    const bool stepping = run.overlap >= 0 && run.overlap <= 99;
    for (size_t i = 0; stepping && i < sources.size(); ++i) {
        const double side = run.offset * sources[i].c.doubleArea;
        if (i == 0 ? side > 0 : side < 0)
            sources[i].c.reverse();
    }
    const double p = run.offset * sources[0].c.doubleArea;
    for (Source &s : sources) {
        s.side = run.offset * s.c.doubleArea;
        s.vertices = distinctVertices(s.c.pts, s.c.closed, run.tol);
        std::vector<Node> outline = s.vertices;
        if (s.c.closed && outline.size() > 1)
            outline.push_back(outline.front());
        s.segments = std::make_unique<SegmentIndex>(outline);
        if (s.c.closed && s.c.pts.size() > 2)
            s.locator = std::make_unique<ContourLocator>(s.c.pts);
        const double scale = std::max({std::fabs(s.c.minX), std::fabs(s.c.maxX), std::fabs(s.c.minY),
                                       std::fabs(s.c.maxY), std::fabs(run.offset)});
        s.margin = run.tol + 1e-9 * scale;
        s.rounding = 1e-13 * scale;
    }

    std::vector<std::vector<Node>> produced;
    const int passes = offsetPasses(sources, run, produced);
    if (passes < 0)
        return passes;
    if (produced.empty())
        return VX_NOTHING; // the caller's contours stay as they were
    PointList list = orderLoops(produced, run, p);
    // Loops beyond the range of the records' floats cannot be written.
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    for (const Node &n : list)
        if (!(std::fabs(n.x) <= kFloatMax && std::fabs(n.y) <= kFloatMax))
            return VX_NOTHING;
    if constexpr (std::is_same_v<Rec, ContourPoint>)
        addPenUpPartners(list);

    const int resized = resizeArray(points, sizeof(Rec), static_cast<int64_t>(list.size()));
    if (resized < 0)
        return resized;
    Rec *out = elements<Rec>(points);
    int64_t counter = 1;
    for (size_t k = 0; k < list.size(); ++k) {
        if (k > 0 && std::abs(list[k].contour) != std::abs(list[k - 1].contour))
            ++counter;
        writeRecord(out[k], list[k], counter);
    }
    unlockArray(points);
    return static_cast<int32_t>(counter);
}

} // namespace

} // namespace vx

extern "C" {

int32_t DecalSequence(VxArray **points, float *tolerance, float *offset, int32_t *overlap)
{
    return vx::guarded([&] { return vx::offsetContours<ContourPoint>(points, tolerance, offset, overlap); });
}

int32_t SeqOffset(VxArray **points, float *tolerance, float *offset, int32_t *overlap)
{
    return vx::guarded([&] { return vx::offsetContours<SequencePoint>(points, tolerance, offset, overlap); });
}

} // extern "C"
