// Point transforms: each profile about the centre of its own selection box,
// unselected points and unselected profiles left alone.
#include "core/transforms.h"

#include "geometry_test_support.h"

using namespace orv;
using namespace orv::test;

TEST(Transforms, HorizontalMirrorFlipsTheRootSelectionAndLeavesTheUnselectedTipAlone)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 4, S1}}, {{0, 0}, {10, 0}, {10, 4}});
    const Profils before = d;
    const TransformResult r = mirrorSelection(d, Mirror::Horizontal);
    EXPECT_EQ(xy(d.PointsE), (XY{{10, 0}, {0, 0}, {0, 4}}));
    EXPECT_EQ(d.PointsS, before.PointsS);
    EXPECT_TRUE(r.moved[Emplanture]);
    EXPECT_FALSE(r.moved[Saumon]);
}

TEST(Transforms, VerticalMirrorFlipsYAboutTheBoxCentreAndKeepsEveryFlag)
{
    Profils d = wing({{0, 0, S1 | kSync}, {10, 1, S1 | kReference}, {10, 4, 0}}, {{0, 0}});
    mirrorSelection(d, Mirror::Vertical);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 1}, {10, 0}, {10, 4}}));
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>{S1 | kSync, S1 | kReference, 0}));
}

TEST(Transforms, StretchTwiceAlongXAboutPivotFifteen)
{
    Profils d = wing({{10, 1, S1}, {20, 3, S1}, {40, 0}}, {{0, 0}});
    stretchSelection(d, Stretch::X, 200);
    EXPECT_EQ(xy(d.PointsE), (XY{{5, 1}, {25, 3}, {40, 0}}));
}

TEST(Transforms, StretchByZeroCollapsesOntoThePivotAndOneHundredChangesNothing)
{
    Profils d = wing({{10, 1, S1}, {20, 3, S1}}, {{0, 0}});
    const Profils before = d;
    stretchSelection(d, Stretch::Both, 100);
    EXPECT_EQ(d, before);
    stretchSelection(d, Stretch::Both, 0);
    EXPECT_EQ(xy(d.PointsE), (XY{{15, 2}, {15, 2}}));
}

TEST(Transforms, RotationByNinetyTurnsAboutTheBoxCentre)
{
    Profils d = wing({{0, 0, S1}, {2, 0, S1}}, {{5, 5}});
    rotateSelection(d, 90);
    EXPECT_NEAR(d.PointsE[1].X, 1, 1e-6);
    EXPECT_NEAR(d.PointsE[1].Y, -1, 1e-6);
    EXPECT_NEAR(d.PointsE[2].X, 1, 1e-6);
    EXPECT_NEAR(d.PointsE[2].Y, 1, 1e-6);
}

TEST(Transforms, RotationTurnsEachProfileAboutItsOwnCentre)
{
    Profils d = wing({{0, 0, S1}, {2, 0, S1}}, {{10, 10, S1}, {14, 10, S1}, {30, 30}});
    rotateSelection(d, 180);
    EXPECT_NEAR(d.PointsE[1].X, 2, 1e-6);
    EXPECT_NEAR(d.PointsE[2].X, 0, 1e-6);
    EXPECT_NEAR(d.PointsS[1].X, 14, 1e-6);
    EXPECT_NEAR(d.PointsS[1].Y, 10, 1e-6);
    EXPECT_NEAR(d.PointsS[2].X, 10, 1e-6);
    EXPECT_EQ(d.PointsS[3], (PointProfil{30, 30, 0}));
}

TEST(Transforms, MoveShiftsTheSelectedPointsOfBothProfilesOnly)
{
    Profils d = wing({{0, 0, S1}, {1, 1}}, {{3, 3}, {4, 4, S1}});
    moveSelection(d, Axis::Y, -2.5);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, -2.5f}, {1, 1}}));
    EXPECT_EQ(xy(d.PointsS), (XY{{3, 3}, {4, 1.5f}}));
    moveSelection(d, Axis::X, 1);
    EXPECT_EQ(xy(d.PointsE), (XY{{1, -2.5f}, {1, 1}}));
}

TEST(Transforms, WithoutSelectionNothingMovesAndTheCallerIsTold)
{
    Profils d = wing({{0, 0, kReference}, {1, 1, kSync}}, {{3, 3}});
    const Profils before = d;
    EXPECT_FALSE(hasSelection(d));
    EXPECT_FALSE(rotateSelection(d, 30).any());
    EXPECT_FALSE(stretchSelection(d, Stretch::Both, 300).any());
    EXPECT_FALSE(mirrorSelection(d, Mirror::Vertical).any());
    EXPECT_EQ(d, before);
}
