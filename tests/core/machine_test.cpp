// The machine geometry: tower planes, carriage paths, axis limits, the cut
// estimate and the carriage paths of the perspective view.
#include "core/machine.h"
#include "core/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace orv;

namespace {

// Root (0,0) (100,0) (100,10); the tip half as long, 20 higher.
Profils panel(float span = 200)
{
    Profils d;
    d.PointsE = ProfilePoints({{0, 0, 0}, {100, 0, 0}, {100, 10, 0}});
    d.PointsS = ProfilePoints({{0, 20, 0}, {50, 20, 0}, {50, 25, 0}});
    d.Ecartement = span;
    return d;
}

MachineSettings machine(float towers, float rootPos, int32_t rootSide = 0)
{
    MachineSettings m;
    m.towers = towers;
    m.rootPos = rootPos;
    m.rootSide = rootSide;
    return m;
}

} // namespace

TEST(CarriagePaths, TheFirstTowerLiesBeforeTheRootAndTheSecondBeyondTheTip)
{
    const CarriagePaths c = carriagePaths(panel(), machine(1000, 100));
    EXPECT_DOUBLE_EQ(c.planes.first, -100);
    EXPECT_DOUBLE_EQ(c.planes.second, 900);
    ASSERT_EQ(c.first.size(), 3u);
    // Root point 2 (100, 0) and tip point 2 (50, 20): the line carried half a
    // span back and four and a half spans ahead.
    EXPECT_NEAR(c.first[1].x, 125, 1e-4);
    EXPECT_NEAR(c.first[1].y, -10, 1e-4);
    EXPECT_NEAR(c.second[1].x, -125, 1e-3);
    EXPECT_NEAR(c.second[1].y, 90, 1e-4);
}

TEST(CarriagePaths, WithTheRootOnTheSecondTowerTheTowersSwapTheirEnds)
{
    const CarriagePaths c = carriagePaths(panel(), machine(1000, 100, 1));
    EXPECT_DOUBLE_EQ(c.planes.first, 900);
    EXPECT_DOUBLE_EQ(c.planes.second, -100);
    const CarriagePaths d = carriagePaths(panel(), machine(1000, 100, 0));
    ASSERT_EQ(c.first.size(), d.second.size());
    for (size_t i = 0; i < c.first.size(); ++i) {
        EXPECT_EQ(c.first[i], d.second[i]) << i;
        EXPECT_EQ(c.second[i], d.first[i]) << i;
    }
}

TEST(CarriagePaths, AFaceOnATowerPlaneIsItsOwnPath)
{
    // Root on the first tower, tip on the second.
    const CarriagePaths c = carriagePaths(panel(200), machine(200, 0));
    const Profils d = panel(200);
    for (int32_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(c.first[size_t(i - 1)], (CarriagePoint{d.PointsE[i].X, d.PointsE[i].Y}));
        EXPECT_EQ(c.second[size_t(i - 1)], (CarriagePoint{d.PointsS[i].X, d.PointsS[i].Y}));
    }
}

TEST(CarriagePaths, ThereAreNoneForUnequalCountsOrAFlatPanel)
{
    Profils d = panel();
    d.PointsS.append({1, 1, 0});
    EXPECT_TRUE(carriagePaths(d, machine(1000, 100)).empty());
    EXPECT_TRUE(carriagePaths(panel(0), machine(1000, 100)).empty());
}

TEST(MachineRecord, TheLibraryRecordCarriesEverySettingAndTheSpan)
{
    MachineSettings m = machine(800, 50, 1);
    m.axes = "XYZA";
    m.feed = 250;
    m.kerfRoot = 0.5f;
    m.kerfTip = -0.25f;
    m.heat = 40;
    m.dwell = 1.5f;
    m.approach = false;
    m.decimals = 4;
    m.limits = {0, 1, 2, 3, 4, 5, 6, 7};
    const VxMachine v = toVxMachine(m, 300);
    EXPECT_EQ(v.size, int32_t(sizeof(VxMachine)));
    EXPECT_EQ(v.towers, 800);
    EXPECT_EQ(v.rootPos, 50);
    EXPECT_EQ(v.span, 300);
    EXPECT_EQ(v.rootSide, 1);
    EXPECT_STREQ(v.axes, "XYZA");
    EXPECT_EQ(v.feed, 250);
    EXPECT_EQ(v.kerfRoot, 0.5f);
    EXPECT_EQ(v.kerfTip, -0.25f);
    EXPECT_EQ(v.heat, 40);
    EXPECT_EQ(v.dwell, 1.5f);
    EXPECT_EQ(v.approach, 0);
    EXPECT_EQ(v.decimals, 4);
    EXPECT_EQ(v.limits[7], 7);
}

TEST(AxisLimits, TheFirstPositionOutsideATravelNamesItsAxisAndPoint)
{
    MachineSettings m = machine(1000, 100);
    m.approach = false;
    const CarriagePaths c = carriagePaths(panel(), m);
    EXPECT_FALSE(firstLimitBreach(c, m)); // no limit set
    m.limits = {-200, 200, -50, 200, -100, 200, -50, 200};
    // U of point 2 is -125.
    const std::optional<LimitBreach> b = firstLimitBreach(c, m);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->axis, 2);
    EXPECT_EQ(b->point, 2);
    EXPECT_NEAR(b->value, -125, 1e-3);
    EXPECT_EQ(b->min, -100);
    EXPECT_EQ(b->max, 200);
    m.limits[4] = -130;
    EXPECT_FALSE(firstLimitBreach(c, m));
}

TEST(AxisLimits, TheApproachMustStartFromTheOriginInsideTheTravels)
{
    MachineSettings m = machine(1000, 100);
    m.limits = {-200, 200, 5, 200, 0, 0, 0, 0};
    const CarriagePaths c = carriagePaths(panel(), m);
    const std::optional<LimitBreach> b = firstLimitBreach(c, m);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->point, 0);
    EXPECT_EQ(b->axis, 1);
    m.approach = false;
    m.limits[3] = 8; // Y: 5..8, point 1 is at Y = -10
    ASSERT_TRUE(firstLimitBreach(c, m));
    EXPECT_EQ(firstLimitBreach(c, m)->point, 1);
}

TEST(CutEstimate, EachSegmentTakesTheLongerFaceAtTheFeedPlusTheHeatingPause)
{
    MachineSettings m = machine(1000, 100);
    m.approach = false;
    m.feed = 60; // one mm a second
    const CutEstimate e = estimateCut(panel(), m);
    EXPECT_DOUBLE_EQ(e.rootLength, 110);
    EXPECT_DOUBLE_EQ(e.tipLength, 55);
    EXPECT_DOUBLE_EQ(e.seconds, 110);
    m.heat = 50;
    m.dwell = 3;
    EXPECT_DOUBLE_EQ(estimateCut(panel(), m).seconds, 113);
    // The approach: up to the heights of point 1, across to it, and back.
    m.approach = true;
    const CarriagePaths c = carriagePaths(panel(), m);
    const double approach = std::max(std::fabs(c.first[0].y), std::fabs(c.second[0].y)) +
                            std::max(std::fabs(c.first[0].x), std::fabs(c.second[0].x)) +
                            std::max(std::fabs(c.first[2].x), std::fabs(c.second[2].x)) +
                            std::max(std::fabs(c.first[2].y), std::fabs(c.second[2].y));
    EXPECT_NEAR(estimateCut(panel(), m).seconds, 113 + approach, 1e-9);
}

TEST(MachineView, TheCarriagePathsAreProjectedInTheirTowerPlanesAndCountInTheFit)
{
    const Profils d = panel();
    const MachineSettings m = machine(1000, 100);
    View v;
    v.setPictureSize(4000, 3000);
    ShowFlags show;
    v.rebuild(d, show);
    const ViewBox profilesOnly = v.boxBoth;
    EXPECT_TRUE(v.vueMachine[0].empty());
    show.machine = &m;
    v.rebuild(d, show);
    ASSERT_EQ(v.vueMachine[0].size(), 3u);
    ASSERT_EQ(v.ecranMachine[1].size(), 3u);
    // A carriage point projects as a tip point would at its plane's depth.
    Profils atPlane;
    atPlane.PointsE = ProfilePoints({{0, 0, 0}});
    atPlane.PointsS = ProfilePoints({{v.carriages.first[1].x, v.carriages.first[1].y, 0}});
    atPlane.Ecartement = -100;
    View shifted = v;
    shifted.project(atPlane, ShowFlags{});
    EXPECT_NEAR(v.vueMachine[0][1].x, shifted.vueS[0].x, 1e-3);
    EXPECT_NEAR(v.vueMachine[0][1].y, shifted.vueS[0].y, 1e-3);
    EXPECT_LE(v.boxBoth.XMin, profilesOnly.XMin);
    EXPECT_GE(v.boxBoth.XMax, profilesOnly.XMax);
    EXPECT_GT(v.boxBoth.width() * v.boxBoth.height(), profilesOnly.width() * profilesOnly.height());
    for (const ViewPoint &p : v.vueMachine[1]) {
        EXPECT_GE(p.x, v.boxBoth.XMin);
        EXPECT_LE(p.y, v.boxBoth.YMax);
    }
}
