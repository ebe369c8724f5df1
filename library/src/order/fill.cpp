#include "order/fill.h"

#include "foundation/vx_array.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

namespace vx {

namespace {
constexpr double kRepeat = 1e-6;
constexpr double kUsable = 1e30;

bool repeats(const Node &a, const Node &b)
{
    return a.contour == b.contour && std::fabs(a.x - b.x) < kRepeat && std::fabs(a.y - b.y) < kRepeat;
}

void setBounds(const Bounds &b, float *xMin, float *xMax, float *yMin, float *yMax)
{
    if (xMin)
        *xMin = 0.0f;
    if (yMin)
        *yMin = 0.0f;
    if (xMax)
        *xMax = static_cast<float>(b.maxX - b.minX);
    if (yMax)
        *yMax = static_cast<float>(b.maxY - b.minY);
}
} // namespace

void dropUnusable(PointList &list)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const Node &n) { return !(std::fabs(n.x) <= kUsable && std::fabs(n.y) <= kUsable); }),
               list.end());
}

Bounds removeRepeats(PointList &list)
{
    Bounds b;
    if (list.empty())
        return b;
    b.minX = b.maxX = list[0].x;
    b.minY = b.maxY = list[0].y;
    size_t kept = 1;
    for (size_t i = 1; i < list.size(); ++i) {
        const Node &n = list[i];
        b.minX = std::min(b.minX, n.x);
        b.maxX = std::max(b.maxX, n.x);
        b.minY = std::min(b.minY, n.y);
        b.maxY = std::max(b.maxY, n.y);
        if (!repeats(list[kept - 1], n))
            list[kept++] = n;
    }
    list.resize(kept);
    return b;
}

void addPenUpPartners(PointList &list)
{
    PointList out;
    out.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const Node &n = list[i];
        out.push_back(n);
        const bool alone = (i == 0 || list[i - 1].contour != n.contour) &&
                           (i + 1 == list.size() || list[i + 1].contour != n.contour);
        if (alone) {
            Node partner = n;
            partner.contour = -n.contour;
            out.push_back(partner);
        }
    }
    list.swap(out);
}

void contourTag(int64_t k, uint16_t out[2])
{
    k %= 53 * 52;
    const int m = static_cast<int>(k / 52);
    const int r = static_cast<int>(k % 52);
    const char first = m == 0 ? ' ' : static_cast<char>(m <= 26 ? m + 64 : m + 70);
    const char second = static_cast<char>(r < 26 ? 'A' + r : 'a' + (r - 26));
    setChars(out, first, second);
}

namespace {

// Calls emit(node, contourIndex, penUp) for each record, in order.
template <typename Emit> void walkRecords(const PointList &list, Emit &&emit)
{
    int64_t k = -1;
    int32_t previous = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        const Node &n = list[i];
        if (i + 1 < list.size() && repeats(n, list[i + 1]))
            continue;
        const int32_t number = n.contour < 0 ? -n.contour : n.contour;
        if (k < 0 || number != previous)
            ++k;
        previous = number;
        emit(n, k, n.contour < 0);
    }
}

int64_t recordCount(const PointList &list)
{
    int64_t count = 0;
    for (size_t i = 0; i < list.size(); ++i)
        if (!(i + 1 < list.size() && repeats(list[i], list[i + 1])))
            ++count;
    return count;
}

} // namespace

int fillContourArray(VxArray **points, const PointList &list, const Bounds &b, float *xMin, float *xMax,
                     float *yMin, float *yMax)
{
    const int64_t count = recordCount(list);
    const int resized = resizeArray(points, sizeof(ContourPoint), count);
    if (resized < 0)
        return resized;
    ContourPoint *out = elements<ContourPoint>(points);
    size_t w = 0;
    walkRecords(list, [&](const Node &n, int64_t k, bool penUp) {
        ContourPoint &p = out[w++];
        p.X = static_cast<float>(n.x - b.minX);
        p.Y = static_cast<float>(n.y - b.minY);
        setChars(p.Pen, 'P', penUp ? 'U' : 'D');
        contourTag(k, p.Tag);
    });
    unlockArray(points);
    setBounds(b, xMin, xMax, yMin, yMax);
    return static_cast<int>(count);
}

int fillSequenceArray(VxArray **points, const PointList &list, const Bounds &b, float *xMin, float *xMax,
                      float *yMin, float *yMax)
{
    const int64_t count = recordCount(list);
    const int resized = resizeArray(points, sizeof(SequencePoint), count);
    if (resized < 0)
        return resized;
    SequencePoint *out = elements<SequencePoint>(points);
    size_t w = 0;
    walkRecords(list, [&](const Node &n, int64_t k, bool) {
        SequencePoint &p = out[w++];
        p.X = static_cast<float>(n.x - b.minX);
        p.Y = static_cast<float>(n.y - b.minY);
        p.Mark = 0;
        p.Sequence = static_cast<int16_t>(k);
    });
    unlockArray(points);
    setBounds(b, xMin, xMax, yMin, yMax);
    return static_cast<int>(count);
}

namespace {

struct ContourRecords;

// Walks a planned drawing as its list of nodes would be output.
class PlannedOutput {
public:
    PlannedOutput(const CutPlan &plan, PieceSource &source) : m_plan(plan), m_reader(plan, source) {}

    // The bounds over every node. Only an extreme of zero depends on the
    // order of the nodes: it keeps the sign of the first zero met.
    Bounds bounds()
    {
        Bounds b{m_plan.minX, m_plan.maxX, m_plan.minY, m_plan.maxY};
        if (b.minX == 0 || b.maxX == 0) {
            const double zero = firstZero(PlannedContour::kZeroX, [](const Node &n) { return n.x; });
            b.minX = b.minX == 0 ? zero : b.minX;
            b.maxX = b.maxX == 0 ? zero : b.maxX;
        }
        if (b.minY == 0 || b.maxY == 0) {
            const double zero = firstZero(PlannedContour::kZeroY, [](const Node &n) { return n.y; });
            b.minY = b.minY == 0 ? zero : b.minY;
            b.maxY = b.maxY == 0 ? zero : b.maxY;
        }
        return b;
    }

    // Records of one contour: its nodes less those that repeat the one kept
    // before, and a pen-up partner when one node is left.
    int64_t records(const PlannedContour &c, bool reversed, bool penUps)
    {
        int64_t kept = 0;
        if (!c.has(PlannedContour::kNearPairs) && !c.has(PlannedContour::kNearOnward)) {
            // Only the node after the joint of a closed contour may repeat.
            kept = c.nodeCount;
            if (c.has(PlannedContour::kClosed) && !c.has(PlannedContour::kNearEnds))
                ++kept;
        } else {
            visitKept(c, reversed, [&](const Node &) { ++kept; });
        }
        return kept + (penUps && kept == 1 ? 1 : 0);
    }

    template <typename Visit> void visitKept(const PlannedContour &c, bool reversed, Visit &&visit)
    {
        Node last{};
        bool any = false;
        m_reader.visit(c, reversed, [&](const Node &n) {
            if (any && repeats(last, n))
                return;
            visit(n);
            last = n;
            any = true;
        });
    }

    // Writes the records of one contour from `out` on, never at `end` or
    // beyond; the end of what was written, or null when it did not fit.
    template <typename Records>
    typename Records::Record *write(const PlannedContour &c, bool reversed, const Bounds &b, const Records &records,
                                    typename Records::Record *out, typename Records::Record *end)
    {
        typename Records::Record *o = out;
        double lastX = 0, lastY = 0;
        bool any = false;
        bool fits = true;
        // Then only the first node of a chunk may repeat the one before it.
        const bool apart = !c.has(PlannedContour::kNearPairs) && !c.has(PlannedContour::kNearOnward);
        m_reader.chunks(c, reversed, [&](const Node *nodes, uint32_t n, bool backwards) {
            // Local copies, so that writing the records leaves them in registers.
            typename Records::Record *p = o;
            double lx = lastX, ly = lastY;
            bool seen = any;
            const double minX = b.minX, minY = b.minY;
            // The direction is settled once for the chunk.
            const Node *first = backwards ? nodes + n - 1 : nodes;
            const ptrdiff_t step = backwards ? -1 : 1;
            if (apart && n > 0) {
                const uint32_t skip =
                    seen && std::fabs(lx - first->x) < kRepeat && std::fabs(ly - first->y) < kRepeat ? 1 : 0;
                if (n - skip > static_cast<size_t>(end - p)) {
                    fits = false;
                    return;
                }
                uint32_t i = skip;
#if defined(__SSE2__)
                if constexpr (std::is_same_v<Records, ContourRecords>) {
                    // Whole records at once: both coordinates converted
                    // together, to the same floats as one by one, then the
                    // contour's pen and name.
                    ContourPoint model{};
                    records.write(model, 0, 0, false);
                    const __m128 tail = _mm_loadu_ps(&model.X);
                    const __m128d low = _mm_set_pd(minY, minX);
                    for (; i < n; ++i) {
                        const Node &node = first[step * static_cast<ptrdiff_t>(i)];
                        const __m128 xy = _mm_cvtpd_ps(_mm_sub_pd(_mm_set_pd(node.y, node.x), low));
                        _mm_storeu_ps(&(p++)->X, _mm_movelh_ps(xy, _mm_movehl_ps(tail, tail)));
                    }
                }
#endif
                for (; i < n; ++i) {
                    const Node &node = first[step * static_cast<ptrdiff_t>(i)];
                    records.write(*p++, static_cast<float>(node.x - minX), static_cast<float>(node.y - minY), false);
                }
                const Node &last = first[step * static_cast<ptrdiff_t>(n - 1)];
                if (skip < n) {
                    lastX = last.x;
                    lastY = last.y;
                    any = true;
                }
                o = p;
                return;
            }
            for (uint32_t i = 0; i < n; ++i) {
                const Node &node = first[step * static_cast<ptrdiff_t>(i)];
                if (seen && std::fabs(lx - node.x) < kRepeat && std::fabs(ly - node.y) < kRepeat)
                    continue;
                if (p == end) {
                    fits = false;
                    break;
                }
                records.write(*p++, static_cast<float>(node.x - minX), static_cast<float>(node.y - minY), false);
                lx = node.x;
                ly = node.y;
                seen = true;
            }
            o = p;
            lastX = lx;
            lastY = ly;
            any = seen;
        });
        if (Records::kPenUps && fits && o - out == 1) {
            if (o == end)
                return nullptr;
            records.write(*o++, static_cast<float>(lastX - b.minX), static_cast<float>(lastY - b.minY), true);
        }
        return fits ? o : nullptr;
    }

private:
    template <typename Coordinate> double firstZero(uint16_t flag, Coordinate &&coordinate)
    {
        for (const CutPlan::Step &step : m_plan.order) {
            const PlannedContour &c = m_plan.contours[step.contour];
            if (!c.has(flag))
                continue;
            double zero = 0;
            bool found = false;
            m_reader.visit(c, step.reversed, [&](const Node &n) {
                if (!found && coordinate(n) == 0) {
                    zero = coordinate(n);
                    found = true;
                }
            });
            return zero;
        }
        return 0;
    }

    const CutPlan &m_plan;
    PlanReader m_reader;
};

// Record writers: the contour's name is made once per contour.
struct ContourRecords {
    using Record = ContourPoint;
    static constexpr bool kPenUps = true;
    uint16_t tag[2];
    void contour(int64_t k) { contourTag(k, tag); }
    void write(ContourPoint &p, float x, float y, bool penUp) const
    {
        p.X = x;
        p.Y = y;
        setChars(p.Pen, 'P', penUp ? 'U' : 'D');
        p.Tag[0] = tag[0];
        p.Tag[1] = tag[1];
    }
};

struct SequenceRecords {
    using Record = SequencePoint;
    static constexpr bool kPenUps = false;
    int16_t sequence = 0;
    void contour(int64_t k) { sequence = static_cast<int16_t>(k); }
    void write(SequencePoint &p, float x, float y, bool) const
    {
        p.X = x;
        p.Y = y;
        p.Mark = 0;
        p.Sequence = sequence;
    }
};

template <typename Records>
int fillPlanned(VxArray **points, const CutPlan &plan, PieceSource &source, float *xMin, float *xMax, float *yMin,
                float *yMax)
{
    using Record = typename Records::Record;
    PlannedOutput output(plan, source);
    const Bounds b = output.bounds();
    // Counted in output order, the records give each contour its place; the
    // contours are then written in the order they were joined, which is the
    // order their pieces lie in memory.
    const size_t steps = plan.order.size();
    std::vector<uint32_t> stepOf(plan.contours.size(), ~uint32_t(0));
    std::vector<int64_t> first(steps + 1);
    int64_t count = 0;
    for (size_t i = 0; i < steps; ++i) {
        const CutPlan::Step &step = plan.order[i];
        stepOf[step.contour] = static_cast<uint32_t>(i);
        first[i] = count;
        count += output.records(plan.contours[step.contour], step.reversed, Records::kPenUps);
    }
    first[steps] = count;
    // Every field of every record is written below and the records have no
    // padding: the new data need not be zeroed first.
    static_assert(sizeof(ContourPoint) == 16 && sizeof(SequencePoint) == 12);
    const int resized = resizeArray(points, sizeof(Record), count, NewData::Unset);
    if (resized < 0)
        return resized;
    Record *out = elements<Record>(points);
    Records records;
    bool agree = true;
    for (size_t c = 0; c < stepOf.size() && agree; ++c) {
        const uint32_t i = stepOf[c];
        if (i == ~uint32_t(0))
            continue;
        records.contour(i);
        Record *const end = out + first[i + 1];
        agree = output.write(plan.contours[c], plan.order[i].reversed, b, records, out + first[i], end) == end;
    }
    if (!agree) // the count and the records disagree: never expected
        std::fill_n(reinterpret_cast<unsigned char *>(out), static_cast<size_t>(count) * sizeof(Record), 0);
    unlockArray(points);
    if (!agree)
        return VX_ERR_MEMORY;
    setBounds(b, xMin, xMax, yMin, yMax);
    return static_cast<int>(count);
}

} // namespace

int fillContourArray(VxArray **points, const CutPlan &plan, PieceSource &source, float *xMin, float *xMax,
                     float *yMin, float *yMax)
{
    return fillPlanned<ContourRecords>(points, plan, source, xMin, xMax, yMin, yMax);
}

int fillSequenceArray(VxArray **points, const CutPlan &plan, PieceSource &source, float *xMin, float *xMax,
                      float *yMin, float *yMax)
{
    return fillPlanned<SequenceRecords>(points, plan, source, xMin, xMax, yMin, yMax);
}

} // namespace vx
