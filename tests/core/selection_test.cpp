// Selection: extent, corners, extremes, reversal of runs, ranges, point-list
// clicks and the point cursors.
#include "core/selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace orv;

namespace {

ProfilePoints numbered(int32_t n, int16_t flags = 0)
{
    std::vector<PointProfil> v;
    for (int32_t i = 1; i <= n; ++i)
        v.push_back({static_cast<float>(i), 0, flags});
    return ProfilePoints(v);
}

std::vector<int> order(const ProfilePoints &p)
{
    std::vector<int> v;
    p.forEach([&](int32_t, const PointProfil &q) { v.push_back(static_cast<int>(q.X)); });
    return v;
}

std::vector<int32_t> withBit(const ProfilePoints &p, int16_t bit)
{
    std::vector<int32_t> v;
    p.forEach([&](int32_t i, const PointProfil &q) {
        if (q.has(bit))
            v.push_back(i);
    });
    return v;
}

// Three points whose segments point at the two given directions (degrees).
ProfilePoints turn(double fromDeg, double toDeg)
{
    const double r1 = fromDeg * std::numbers::pi / 180, r2 = toDeg * std::numbers::pi / 180;
    const float x1 = static_cast<float>(10 * std::cos(r1)), y1 = static_cast<float>(10 * std::sin(r1));
    return ProfilePoints({{0, 0, 0},
                          {x1, y1, 0},
                          {x1 + static_cast<float>(10 * std::cos(r2)), y1 + static_cast<float>(10 * std::sin(r2)), 0}});
}

} // namespace

TEST(SelectionExtent, CoversOnlyPointsCarryingEveryBitOfTheMask)
{
    Profils d;
    d.PointsE = ProfilePoints({{5, 5, 0}, {1, 2, 1}, {4, -1, 3}, {-9, 9, 2}, {3, 7, 1}});
    d.PointsS = ProfilePoints({{1, 1, 2}});
    SelectionExtent e = selectionExtent(d, kSelected);
    EXPECT_TRUE(e.E.has);
    EXPECT_EQ(e.NbSelE(), 3);
    EXPECT_EQ(e.E.XMin, 1);
    EXPECT_EQ(e.E.XMax, 4);
    EXPECT_EQ(e.E.YMin, -1);
    EXPECT_EQ(e.E.YMax, 7);
    EXPECT_FALSE(e.S.has);
    EXPECT_EQ(e.NbSelS(), 0);
    EXPECT_EQ(e.S.width(), 0);

    EXPECT_EQ(selectionExtent(d, kSelected | kReference).E.count, 1);
    EXPECT_EQ(selectionExtent(ProfilePoints(), kSelected), SideExtent{});
}

TEST(SegmentDirection, CoversTheFullTurnAndGivesNinetyDegreesToAZeroSegment)
{
    const double pi = 3.14159265358979;
    EXPECT_DOUBLE_EQ(segmentDirection(0, 0, 1, 0), 0);
    EXPECT_DOUBLE_EQ(segmentDirection(0, 0, 0, 1), pi / 2);
    EXPECT_DOUBLE_EQ(segmentDirection(0, 0, -1, 0), pi);
    EXPECT_DOUBLE_EQ(segmentDirection(0, 0, 0, -1), 6.28318530717958 - pi / 2);
    EXPECT_DOUBLE_EQ(segmentDirection(0, 0, -1, -1), 6.28318530717958 + std::atan(1.0) - pi);
    EXPECT_DOUBLE_EQ(segmentDirection(3, 3, 3, 3), pi / 2);
}

TEST(CornerSelection, SelectsTurnsFromThirtyToThreeHundredThirtyDegreesInclusive)
{
    struct Case {
        double from, to;
        bool selected;
    } cases[] = {
        {0, 0, false},   {0, 90, true},  {0, 180, true},  {350, 10, false}, {0, 330, true},
        {0, 30, true},   {0, 29.9, false}, {0, 330.1, false}, {45, 75, true},
    };
    for (const Case &c : cases) {
        ProfilePoints p = turn(c.from, c.to);
        EXPECT_EQ(selectCorners(p, kSelected), c.selected ? 1 : 0) << c.from << " -> " << c.to;
        EXPECT_EQ(p[2].has(kSelected), c.selected);
        EXPECT_FALSE(p[1].has(kSelected));
        EXPECT_FALSE(p[3].has(kSelected));
    }
}

TEST(CornerSelection, RepeatedPointsCountAsPointingAtNinetyDegrees)
{
    // Right, then a zero-length segment (90°), then up (90°).
    ProfilePoints p({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    selectCorners(p, kSync);
    EXPECT_EQ(withBit(p, kSync), (std::vector<int32_t>{2}));
}

TEST(CornerSelection, SetsOnlyTheActiveBitAndIgnoresShortProfiles)
{
    ProfilePoints square({{0, 0, kReference}, {10, 0, kReference}, {10, 10, 0}, {0, 10, 0}});
    EXPECT_EQ(selectCorners(square, kSync), 2);
    EXPECT_EQ(square[2].Flags, kReference | kSync);
    EXPECT_EQ(square[3].Flags, kSync);
    ProfilePoints two({{0, 0, 0}, {1, 1, 0}});
    ProfilePoints none;
    EXPECT_EQ(selectCorners(two, kSelected), 0);
    EXPECT_EQ(selectCorners(none, kSelected), 0);
}

TEST(ExtremeSelection, IndexChoosesProfileAndAxis)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {10, -5, 0}});
    d.PointsS = d.PointsE;
    EXPECT_TRUE(selectExtremes(d, 1, kSelected));
    EXPECT_EQ(withBit(d.PointsE, kSelected), (std::vector<int32_t>{1, 3}));
    EXPECT_TRUE(withBit(d.PointsS, kSelected).empty());
    EXPECT_TRUE(selectExtremes(d, 2, kReference));
    EXPECT_EQ(withBit(d.PointsS, kReference), (std::vector<int32_t>{2, 4}));
    EXPECT_TRUE(selectExtremes(d, 0, kSelected));
    EXPECT_EQ(withBit(d.PointsS, kSelected), (std::vector<int32_t>{1, 3}));
    EXPECT_TRUE(selectExtremes(d, 3, kSync));
    EXPECT_EQ(withBit(d.PointsE, kSync), (std::vector<int32_t>{2, 4}));

    const Profils before = d;
    EXPECT_FALSE(selectExtremes(d, 4, kSelected));
    EXPECT_FALSE(selectExtremes(d, -1, kSelected));
    EXPECT_EQ(d.PointsE, before.PointsE);
}

TEST(ExtremeSelection, SkipsAnEmptyProfile)
{
    Profils d;
    d.PointsE = numbered(3);
    EXPECT_FALSE(selectExtremes(d, 0, kSelected));
    EXPECT_TRUE(d.PointsS.empty());
    EXPECT_TRUE(selectExtremes(d, 1, kSelected));
}

TEST(SelectAll, SetsAndClearsOnlyTheActiveBit)
{
    ProfilePoints p({{0, 0, 0}, {1, 0, kReference}, {2, 0, kSelected | kSync}});
    EXPECT_EQ(selectAll(p, kSelected), 2);
    EXPECT_EQ(p[2].Flags, kSelected | kReference);
    EXPECT_EQ(clearSelection(p, kSelected), 3);
    EXPECT_EQ(p[2].Flags, kReference);
    EXPECT_EQ(p[3].Flags, kSync);
    ProfilePoints none;
    EXPECT_EQ(selectAll(none, kSelected), 0);
    EXPECT_EQ(clearSelection(none, kSelected), 0);
}

TEST(ReverseRuns, ReversesEachSelectedRunInPlace)
{
    ProfilePoints p = numbered(10);
    for (int32_t i = 3; i <= 6; ++i)
        p.edit(i).Flags = kSelected;
    EXPECT_EQ(reverseSelectedRuns(p), 1);
    EXPECT_EQ(order(p), (std::vector<int>{1, 2, 6, 5, 4, 3, 7, 8, 9, 10}));
    EXPECT_TRUE(p[3].has(kSelected));
}

TEST(ReverseRuns, ARunEndingAtTheLastPointIsReversedAndLonePointsStay)
{
    ProfilePoints p = numbered(8);
    p.edit(2).Flags = kSelected;
    for (int32_t i = 6; i <= 8; ++i)
        p.edit(i).Flags = kSelected;
    p.edit(4).Flags = kReference | kSync;
    p.edit(5).Flags = kReference;
    EXPECT_EQ(reverseSelectedRuns(p), 1);
    EXPECT_EQ(order(p), (std::vector<int>{1, 2, 3, 4, 5, 8, 7, 6}));

    ProfilePoints all = numbered(3, kSelected);
    reverseSelectedRuns(all);
    EXPECT_EQ(order(all), (std::vector<int>{3, 2, 1}));
    ProfilePoints none;
    EXPECT_EQ(reverseSelectedRuns(none), 0);
}

TEST(SelectRange, SelectsFromThePreviousToTheNewCurrentPointInEitherDirection)
{
    ProfilePoints p = numbered(20);
    EXPECT_EQ(selectRange(p, 12, 7, kSelected), 6);
    EXPECT_EQ(withBit(p, kSelected), (std::vector<int32_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(selectRange(p, 15, 15, kReference), 1);
    EXPECT_EQ(withBit(p, kReference), (std::vector<int32_t>{15}));
    EXPECT_EQ(selectRange(p, 18, 40, kSync), 3);
    ProfilePoints none;
    EXPECT_EQ(selectRange(none, 1, 1, kSelected), 0);
}

TEST(PointListClick, TogglesThePointAtItsOffsetWithinItsOwnProfile)
{
    ProfilePoints p = numbered(5);
    EXPECT_TRUE(toggleListPoint(p, 3, 0, kSelected)); // current - 2
    EXPECT_TRUE(toggleListPoint(p, 3, 9, kSelected)); // Y column, current + 2
    EXPECT_EQ(withBit(p, kSelected), (std::vector<int32_t>{1, 5}));
    EXPECT_TRUE(toggleListPoint(p, 3, 5, kSelected)); // the same line as label 0
    EXPECT_EQ(withBit(p, kSelected), (std::vector<int32_t>{5}));
    EXPECT_FALSE(toggleListPoint(p, 1, 1, kSelected));
    EXPECT_FALSE(toggleListPoint(p, 5, 4, kSelected));
    EXPECT_FALSE(toggleListPoint(p, 4, -1, kSelected));
    ProfilePoints none;
    EXPECT_FALSE(toggleListPoint(none, 1, 2, kSelected));
}

TEST(PointCursors, SmallProfilesUseTheUnitsBarAlone)
{
    CursorBars b = setupCursor(1000);
    EXPECT_FALSE(b.thousandsVisible);
    EXPECT_EQ(b.unitsMax, 1000);
    EXPECT_EQ(b.thousandsMax, 0);
    EXPECT_EQ(b.index(), 1);
    b.units = 1000;
    EXPECT_EQ(cursorChanged(b, 1000), 1000);

    CursorBars empty = setupCursor(0);
    EXPECT_EQ(empty.unitsMax, 1);
    EXPECT_EQ(cursorChanged(empty, 0), 1);
}

TEST(PointCursors, TheTopThousandLimitsTheUnitsToTheRemainder)
{
    CursorBars b = setupCursor(2345);
    EXPECT_TRUE(b.thousandsVisible);
    EXPECT_EQ(b.thousandsMax, 2);
    EXPECT_EQ(b.unitsMax, 1000);
    b.units = 800;
    b.thousands = 1;
    EXPECT_EQ(cursorChanged(b, 2345), 1800);
    b.thousands = 2;
    EXPECT_EQ(cursorChanged(b, 2345), 2345);
    EXPECT_EQ(b.unitsMax, 345);
    b.thousands = 0;
    EXPECT_EQ(cursorChanged(b, 2345), 345);
    EXPECT_EQ(b.unitsMax, 1000);
}

TEST(PointCursors, AnExactMultipleOfAThousandReachesEveryPointAndNoOther)
{
    CursorBars b = setupCursor(2000);
    EXPECT_EQ(b.thousandsMax, 1);
    b.thousands = 1;
    b.units = 1000;
    EXPECT_EQ(cursorChanged(b, 2000), 2000);
    EXPECT_EQ(b.unitsMax, 1000);
    b.thousands = 2; // beyond the bar: a scroll bar keeps it in range
    EXPECT_EQ(cursorChanged(b, 2000), 2000);

    // Every index 1..count is reachable, exactly once.
    for (int32_t count : {1000, 1001, 2000, 2345, 3000}) {
        CursorBars c = setupCursor(count);
        std::vector<int> hits(static_cast<size_t>(count) + 2, 0);
        for (int32_t t = 0; t <= c.thousandsMax; ++t) {
            c.thousands = t;
            cursorChanged(c, count);
            for (int32_t u = c.unitsMin; u <= c.unitsMax; ++u) {
                c.units = u;
                const int32_t i = cursorChanged(c, count);
                ASSERT_GE(i, 1);
                ASSERT_LE(i, count);
                ++hits[static_cast<size_t>(i)];
            }
        }
        for (int32_t i = 1; i <= count; ++i)
            ASSERT_EQ(hits[static_cast<size_t>(i)], 1) << count << " " << i;
    }
}

TEST(PointCursors, ShowingAnIndexPutsBothBarsOnIt)
{
    CursorBars b = setupCursor(2345);
    for (int32_t i : {1, 999, 1000, 1001, 2000, 2001, 2345}) {
        showCursorIndex(b, 2345, i);
        EXPECT_EQ(b.index(), i);
        EXPECT_LE(b.units, b.unitsMax);
        EXPECT_GE(b.units, 1);
    }
    showCursorIndex(b, 2345, 9999);
    EXPECT_EQ(b.index(), 2345);
    CursorBars s = setupCursor(10);
    showCursorIndex(s, 10, 7);
    EXPECT_EQ(s.units, 7);
    EXPECT_EQ(s.thousands, 0);
}

TEST(PointCursors, ShrinkingTheProfileKeepsTheCursorInsideIt)
{
    CursorBars b = setupCursor(5000);
    showCursorIndex(b, 5000, 4500);
    EXPECT_EQ(cursorChanged(b, 1200), 1200);
    const int32_t i = cursorChanged(b, 300);
    EXPECT_GE(i, 1);
    EXPECT_LE(i, 300);
}
