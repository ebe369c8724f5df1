#include "fill.h"

#include "vx_array.h"

#include <algorithm>
#include <cmath>

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

} // namespace vx
