// Selection layers, automatic selections, reversal of runs and point cursors.
#include "core/selection.h"

#include "core/characteristics.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;
// An exact 30° (or 330°) corner between float coordinates computes a few
// millionths of a degree off; the inclusive bounds must still take it.
constexpr double kAngleSlack = 1e-4;

bool carries(const PointProfil &p, int16_t mask)
{
    return (p.Flags & mask) == mask;
}

} // namespace

void SelectionState::resetCursors()
{
    PointCourantE = PointCourantS = 1;
    PointPrecedentE = PointPrecedentS = 1;
}

int16_t layerBit(int optionIndex)
{
    switch (optionIndex) {
    case 1:
        return kReference;
    case 2:
        return kSync;
    default:
        return kSelected;
    }
}

int layerIndex(int16_t bit)
{
    return bit == kReference ? 1 : bit == kSync ? 2 : 0;
}

SideExtent selectionExtent(const ProfilePoints &points, int16_t mask)
{
    SideExtent e;
    points.forEachRun([&](int32_t, std::span<const PointProfil> run) {
        for (const PointProfil &p : run) {
            if (!carries(p, mask))
                continue;
            if (!e.has) {
                e.has = true;
                e.XMin = e.XMax = p.X;
                e.YMin = e.YMax = p.Y;
            }
            if (p.X < e.XMin)
                e.XMin = p.X;
            if (p.X > e.XMax)
                e.XMax = p.X;
            if (p.Y < e.YMin)
                e.YMin = p.Y;
            if (p.Y > e.YMax)
                e.YMax = p.Y;
            ++e.count;
        }
    });
    return e;
}

SelectionExtent selectionExtent(const Profils &doc, int16_t mask)
{
    return {selectionExtent(doc.PointsE, mask), selectionExtent(doc.PointsS, mask)};
}

int32_t countWith(const ProfilePoints &points, int16_t bit)
{
    int32_t n = 0;
    points.forEachRun([&](int32_t, std::span<const PointProfil> run) {
        for (const PointProfil &p : run)
            n += p.has(bit) ? 1 : 0;
    });
    return n;
}

double segmentDirection(float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    double a;
    if (dx == 0) {
        a = dy >= 0 ? kPi / 2 : -kPi / 2;
    } else {
        a = std::atan(static_cast<double>(dy) / dx);
        if (dx < 0)
            a += dy >= 0 ? kPi : -kPi;
    }
    if (a < 0)
        a += kTwoPi;
    return a;
}

int32_t selectCorners(ProfilePoints &points, int16_t bit)
{
    const int32_t n = points.count();
    if (n < 3)
        return 0;
    std::vector<int32_t> corners;
    PointProfil a = points[1], b = points[2];
    double a1 = segmentDirection(a.X, a.Y, b.X, b.Y) * 180 / kPi;
    for (int32_t i = 1; i <= n - 2; ++i) {
        const PointProfil c = points[i + 2];
        const double a2 = segmentDirection(b.X, b.Y, c.X, c.Y) * 180 / kPi;
        const double d = std::fabs(a2 - a1);
        if (d >= 30 - kAngleSlack && d <= 330 + kAngleSlack && !b.has(bit))
            corners.push_back(i + 1);
        b = c;
        a1 = a2;
    }
    for (int32_t i : corners)
        setBit(points.edit(i), bit);
    return static_cast<int32_t>(corners.size());
}

ProfilePoints *cornerTarget(Profils &doc, int index)
{
    return index == 0 ? &doc.PointsS : index == 1 ? &doc.PointsE : nullptr;
}

bool selectExtremes(Profils &doc, int index, int16_t bit)
{
    if (index < 0 || index > 3)
        return false;
    computeCharacteristics(doc);
    const Side side = index % 2 == 0 ? Saumon : Emplanture;
    ProfilePoints &points = doc.points(side);
    if (points.empty())
        return false;
    const SideMeasures &m = doc.C.side(side);
    const bool alongX = index < 2;
    setBit(points.edit(alongX ? m.IndXMin : m.IndYMin), bit);
    setBit(points.edit(alongX ? m.IndXMax : m.IndYMax), bit);
    return true;
}

int32_t selectAll(ProfilePoints &points, int16_t bit)
{
    int32_t n = 0;
    points.forEachEdit([&](int32_t, PointProfil &p) {
        if (!p.has(bit)) {
            setBit(p, bit);
            ++n;
        }
    });
    return n;
}

int32_t clearSelection(ProfilePoints &points, int16_t bit)
{
    int32_t n = 0;
    points.forEachEdit([&](int32_t, PointProfil &p) {
        if (p.has(bit)) {
            clearBit(p, bit);
            ++n;
        }
    });
    return n;
}

int32_t reverseSelectedRuns(ProfilePoints &points)
{
    // Runs are found first; a run reaching the last point is closed there, as
    // an unselected point after the end would close it.
    std::vector<std::pair<int32_t, int32_t>> runs;
    int32_t start = 0;
    points.forEach([&](int32_t i, const PointProfil &p) {
        if (p.has(kSelected)) {
            if (start == 0)
                start = i;
        } else if (start != 0) {
            runs.emplace_back(start, i - 1);
            start = 0;
        }
    });
    if (start != 0)
        runs.emplace_back(start, points.count());
    int32_t reversed = 0;
    std::vector<PointProfil> run;
    for (auto [first, last] : runs) {
        if (last == first)
            continue;
        run.clear();
        for (int32_t i = first; i <= last; ++i)
            run.push_back(points[i]);
        for (int32_t i = first; i <= last; ++i)
            points.set(i, run[static_cast<size_t>(last - i)]);
        ++reversed;
    }
    return reversed;
}

int32_t selectRange(ProfilePoints &points, int32_t from, int32_t to, int16_t bit)
{
    int32_t lo = std::max(std::min(from, to), 1);
    int32_t hi = std::min(std::max(from, to), points.count());
    int32_t n = 0;
    for (int32_t i = lo; i <= hi; ++i) {
        if (!points[i].has(bit)) {
            setBit(points.edit(i), bit);
            ++n;
        }
    }
    return n;
}

bool toggleListPoint(ProfilePoints &points, int32_t current, int label, int16_t bit)
{
    if (label < 0)
        return false;
    const int64_t i = static_cast<int64_t>(current) + label % 5 - 2;
    if (i < 1 || i > points.count())
        return false;
    toggleBit(points.edit(static_cast<int32_t>(i)), bit);
    return true;
}

namespace {

// Ranges of both bars for a profile of `count` points, values clamped.
void fitRanges(CursorBars &b, int32_t count)
{
    b.unitsMin = 1;
    if (count <= 1000) {
        b.thousandsMax = 0;
        b.thousandsVisible = false;
        b.unitsMax = std::max(count, 1);
    } else {
        b.thousandsVisible = true;
        b.thousandsMax = count % 1000 == 0 ? count / 1000 - 1 : count / 1000;
        b.thousands = std::clamp(b.thousands, 0, b.thousandsMax);
        if (b.thousands == b.thousandsMax)
            b.unitsMax = count % 1000 == 0 ? 1000 : count % 1000;
        else
            b.unitsMax = 1000;
    }
    b.thousands = std::clamp(b.thousands, 0, b.thousandsMax);
    b.units = std::clamp(b.units, b.unitsMin, b.unitsMax);
}

} // namespace

CursorBars setupCursor(int32_t count)
{
    CursorBars b;
    b.thousands = 0;
    b.units = 1;
    fitRanges(b, count);
    return b;
}

int32_t cursorChanged(CursorBars &bars, int32_t count)
{
    fitRanges(bars, count);
    return bars.index();
}

void showCursorIndex(CursorBars &bars, int32_t count, int32_t index)
{
    index = std::clamp(index, 1, std::max(count, 1));
    if (count <= 1000) {
        bars.thousands = 0;
        bars.units = index;
    } else {
        bars.thousands = (index - 1) / 1000;
        bars.units = index - bars.thousands * 1000;
    }
    fitRanges(bars, count);
}

} // namespace orv
