// Profile offset: runs of selected points replaced by the parallel path, the
// corners, the closed contour and the refusal of confused points.
#include "core/offset.h"

#include "geometry_test_support.h"

#include <cmath>
#include <numbers>

using namespace orv;
using namespace orv::test;

TEST(Offset, AnOpenRightAngleGetsASharpOutsideCornerAndTwoConnectingPoints)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 10, S1}}, {{0, 0}});
    const OffsetResult r = offsetSelection(d, 1);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {0, -1}, {11, -1}, {11, 10}, {10, 10}}));
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>{S1, 0, 0, 0, S1}));
    EXPECT_TRUE(r.changed[Emplanture]);
    EXPECT_FALSE(r.changed[Saumon]);
    EXPECT_TRUE(r.notices.empty());
}

TEST(Offset, CollinearNeighboursMeetAtTheStartOfTheNextOffsetSegment)
{
    Profils d = wing({{0, 0, S1}, {5, 0, S1}, {10, 0, S1}}, {{0, 0}});
    offsetSelection(d, 2);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {0, -2}, {5, -2}, {10, -2}, {10, 0}}));
}

TEST(Offset, AnInsideCornerIsTrimmed)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 10, S1}}, {{0, 0}});
    offsetSelection(d, -1);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {0, 1}, {9, 1}, {9, 10}, {10, 10}}));
}

TEST(Offset, ZeroDistanceStillAddsTheTwoConnectingPointsOfEachRun)
{
    Profils d = wing({{0, 0, S1}, {4, 0, S1}, {4, 4}, {8, 4, S1}, {8, 8, S1}}, {{0, 0}});
    offsetSelection(d, 0);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {0, 0}, {4, 0}, {4, 0}, {4, 4}, {8, 4}, {8, 4}, {8, 8}, {8, 8}}));
}

TEST(Offset, LoneOrNonAdjacentSelectedPointsChangeNothing)
{
    Profils d = wing({{0, 0, S1}, {4, 0}, {4, 4, S1}, {8, 4}}, {{0, 0, S1}});
    const Profils before = d;
    const OffsetResult r = offsetSelection(d, 3);
    EXPECT_EQ(d, before);
    EXPECT_FALSE(r.changed[Emplanture] || r.changed[Saumon]);
}

TEST(Offset, ConfusedPointsStopTheirProfileAfterTheRunsAlreadyWritten)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 5}, {20, 5, S1}, {20.005f, 5.005f, S1}, {30, 5}},
                     {{0, 0, S1}, {10, 0, S1}});
    const OffsetResult r = offsetSelection(d, 1);
    // The root's first run is offset, its second is not; the tip goes on.
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {0, -1}, {10, -1}, {10, 0}, {10, 5}, {20, 5}, {20.005f, 5.005f}, {30, 5}}));
    EXPECT_EQ(xy(d.PointsS), (XY{{0, 0}, {0, -1}, {10, -1}, {10, 0}}));
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0], critical("Deux points consécutifs sont confondus, impossible de définir un des segments.",
                                     "Erreur de sélection à l'emplanture"));

    Profils tipOnly = wing({{0, 0}}, {{0, 0, S1}, {0.001f, 0, S1}});
    const Profils before = tipOnly;
    const OffsetResult t = offsetSelection(tipOnly, 1);
    EXPECT_EQ(tipOnly, before);
    ASSERT_EQ(t.notices.size(), 1u);
    EXPECT_EQ(t.notices[0].title, "Erreur de sélection au saumon");
}

TEST(Offset, AClosedSelectedSquareClosesAgainAtASharpCorner)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 10, S1}, {0, 10, S1}, {0, 0, S1}}, {{0, 0}});
    offsetSelection(d, 1);
    EXPECT_EQ(xy(d.PointsE), (XY{{-1, -1}, {11, -1}, {11, 11}, {-1, 11}, {-1, -1}}));
}

TEST(Offset, AClosedContourJoinedOnAStraightEdgeKeepsItsJoint)
{
    // First and last segments are parallel: nothing changes at the joint.
    Profils d = wing({{5, 0, S1}, {10, 0, S1}, {10, 10, S1}, {0, 10, S1}, {0, 0, S1}, {5, 0, S1}}, {{0, 0}});
    offsetSelection(d, 1);
    EXPECT_EQ(xy(d.PointsE), (XY{{5, 0}, {5, -1}, {11, -1}, {11, 11}, {-1, 11}, {-1, -1}, {5, -1}, {5, 0}}));
}

TEST(Offset, ADenseLargeCircleIsOffsetAtTheDistanceWithoutBackSteps)
{
    // 20,000 points on a circle of radius 1000: neighbouring segments are
    // nearly collinear, and their 32-bit offset segments meet far away.
    const int n = 20000;
    const double r = 1000;
    std::vector<PointProfil> v;
    for (int i = 0; i <= n; ++i) {
        const double t = 0.3 + 2 * std::numbers::pi * i / n;
        v.push_back({static_cast<float>(r * std::cos(t) + 1500), static_cast<float>(r * std::sin(t) + 1200), S1});
    }
    v.back() = v.front();
    Profils d;
    d.PointsE = ProfilePoints(v);
    d.PointsS = profile({{0, 0}});
    ASSERT_TRUE(offsetSelection(d, 2).notices.empty());
    ASSERT_EQ(d.NbPointsE(), n + 1);
    EXPECT_EQ(d.PointsE[1].X, d.PointsE[n + 1].X);
    EXPECT_EQ(d.PointsE[1].Y, d.PointsE[n + 1].Y);
    double worstRadius = 0, worstStep = 0;
    for (int32_t i = 1; i <= d.NbPointsE(); ++i) {
        const PointProfil &p = d.PointsE[i];
        worstRadius = std::max(worstRadius, std::fabs(std::hypot(p.X - 1500.0, p.Y - 1200.0) - (r + 2)));
        if (i > 1) {
            const PointProfil &q = d.PointsE[i - 1];
            const double turn = std::remainder(std::atan2(p.Y - 1200.0, p.X - 1500.0) -
                                                   std::atan2(q.Y - 1200.0, q.X - 1500.0),
                                               2 * std::numbers::pi);
            worstStep = std::max(worstStep, std::fabs(turn));
            EXPECT_GT(turn, 0) << "point " << i << " steps back";
        }
    }
    EXPECT_LT(worstRadius, 1e-3);
    EXPECT_LT(worstStep, 1.01 * 2 * std::numbers::pi / n);
}
