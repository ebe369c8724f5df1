// The view chain and the mouse arithmetic of the drawing area.
#include "core/view.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orv;

namespace {

Profils twoProfiles(std::vector<PointProfil> root, std::vector<PointProfil> tip, float spacing = 0)
{
    Profils d;
    d.PointsE = ProfilePoints(root);
    d.PointsS = ProfilePoints(tip);
    d.Ecartement = spacing;
    return d;
}

View sideView(float width = 400, float height = 300)
{
    View v;
    v.setPictureSize(width, height);
    v.setAngles(kSideViewOmega, kSideViewAlpha);
    return v;
}

} // namespace

TEST(Projection, TheSideViewShowsEachPointAtMinusXMinusY)
{
    Profils d = twoProfiles({{10, 5, 0}}, {{10, 5, 0}, {-3, 2, 0}}, 1000);
    View v = sideView();
    EXPECT_TRUE(v.isSideView());
    v.project(d, ShowFlags{});
    EXPECT_EQ(v.vueE[0], (ViewPoint{-10, -5}));
    // The tip lies over the root whatever the spacing, up to the rounding of the angles.
    EXPECT_NEAR(v.vueS[0].x, -10, 1e-3);
    EXPECT_NEAR(v.vueS[0].y, -5, 1e-3);
    EXPECT_NEAR(v.vueS[1].x, 3, 1e-3);
}

TEST(Projection, PerspectiveMovesTheTipAlongTheSpan)
{
    Profils d = twoProfiles({{0, 0, 0}}, {{0, 0, 0}}, 100);
    View v;
    v.setPictureSize(400, 300);
    v.project(d, ShowFlags{});
    const double o = static_cast<float>(120 * 3.14159265358979 / 180);
    const double a = static_cast<float>(143 * 3.14159265358979 / 180);
    EXPECT_EQ(v.vueE[0], (ViewPoint{0, 0}));
    EXPECT_FLOAT_EQ(v.vueS[0].x, static_cast<float>(-100 * std::cos(o)));
    EXPECT_FLOAT_EQ(v.vueS[0].y, static_cast<float>(100 * std::sin(o) * std::sin(a)));
}

TEST(Projection, ScreenPositionFollowsZoomAndCentre)
{
    Profils d = twoProfiles({{10, 5, 0}}, {{10, 5, 0}});
    View v = sideView();
    v.project(d, ShowFlags{});
    v.state.CoeffZoom = 2;
    v.state.XCentreZoom = 0;
    v.state.YCentreZoom = 0;
    v.mapToScreen();
    EXPECT_EQ(v.ecranE[0], (ViewPoint{180, 160}));
    const ViewPoint back = v.screenToProjected(180, 160);
    EXPECT_EQ(back, (ViewPoint{-10, -5}));
}

TEST(Fit, ASinglePointFitsWithZoomOneAndIsCentred)
{
    Profils d = twoProfiles({{10, 5, 0}}, {{10, 5, 0}});
    View v = sideView();
    v.state.CoeffZoom = 7;
    v.rebuild(d, ShowFlags{});
    EXPECT_EQ(v.state.CoeffZoom, 1);
    EXPECT_EQ(v.ecranE[0], (ViewPoint{200, 150}));
}

TEST(Fit, AFlatProfileFitsByItsWidthAlone)
{
    Profils d = twoProfiles({{0, 0, 0}, {100, 0, 0}}, {{0, 0, 0}, {100, 0, 0}});
    View v = sideView(1360, 1000);
    v.rebuild(d, ShowFlags{});
    EXPECT_EQ(v.state.CoeffZoom, 10); // (1360 - 360) / 100
    EXPECT_EQ(v.state.XCentreZoom, -50);
}

TEST(Fit, TakesTheSmallerRatioAndTheShownProfilesBox)
{
    Profils d = twoProfiles({{0, 0, 0}, {100, 50, 0}}, {{0, 0, 0}, {400, 10, 0}});
    View v = sideView(1360, 1360);
    ShowFlags rootOnly;
    rootOnly.profileS = rootOnly.pointsS = false;
    v.rebuild(d, rootOnly);
    EXPECT_EQ(v.state.CoeffZoom, 10); // min(1000/100, 1000/50)
    EXPECT_EQ(v.state.XCentreZoom, -50);

    ShowFlags tipOnly;
    tipOnly.profileE = tipOnly.pointsE = false;
    v.rebuild(d, tipOnly);
    EXPECT_EQ(v.state.CoeffZoom, 2.5f);
    EXPECT_EQ(v.state.XCentreZoom, -200);

    ShowFlags none{false, false, false, false};
    v.rebuild(d, none);
    EXPECT_EQ(v.state.CoeffZoom, 2.5f);
    EXPECT_EQ(v.state.YCentreZoom, -25);

    // Showing only the points of the root counts as showing the root.
    ShowFlags rootPoints{false, true, false, false};
    v.rebuild(d, rootPoints);
    EXPECT_EQ(v.state.CoeffZoom, 10);
}

TEST(Fit, AnEmptyDocumentKeepsTheZoomAndAnEmptyShownSideFallsBackToBoth)
{
    View v = sideView();
    v.state.CoeffZoom = 3;
    v.rebuild(Profils{}, ShowFlags{});
    EXPECT_EQ(v.state.CoeffZoom, 3);
    EXPECT_TRUE(v.ecranE.empty());

    Profils tipOnly = twoProfiles({}, {{0, 0, 0}, {0, 10, 0}});
    ShowFlags rootShown{true, true, false, false};
    v.rebuild(tipOnly, rootShown);
    EXPECT_EQ(v.state.YCentreZoom, -5);
}

TEST(Fit, APictureSmallerThanItsMarginsNeverMirrorsTheDrawing)
{
    Profils d = twoProfiles({{0, 0, 0}, {100, 100, 0}}, {{0, 0, 0}});
    View v = sideView(300, 200);
    v.rebuild(d, ShowFlags{});
    EXPECT_GT(v.state.CoeffZoom, 0);
    EXPECT_EQ(v.state.CoeffZoom, 2); // the whole height, 200 / 100
}

TEST(ZoomBar, EachStepMultipliesByOnePointOneOrZeroPointNine)
{
    Profils d = twoProfiles({{10, 5, 0}}, {{10, 5, 0}});
    View v = sideView();
    v.rebuild(d, ShowFlags{});
    EXPECT_TRUE(v.zoomBarChanged(10001));
    EXPECT_TRUE(v.zoomBarChanged(10002));
    EXPECT_TRUE(v.zoomBarChanged(10003));
    float want = 1;
    for (int i = 0; i < 3; ++i)
        want = static_cast<float>(want * 1.1);
    EXPECT_EQ(v.state.CoeffZoom, want);
    EXPECT_NEAR(v.state.CoeffZoom, 1.331, 1e-6);
    EXPECT_EQ(v.state.RectangleZoom, (std::array<float, 4>{0, 0, 400, 300}));

    // The timer puts the bar back without zooming.
    v.state.GardeZoom = true;
    EXPECT_FALSE(v.zoomBarChanged(kZoomBarRest));
    v.state.GardeZoom = false;
    EXPECT_EQ(v.state.ValeurZoomPrecedente, kZoomBarRest);
    EXPECT_EQ(v.state.CoeffZoom, want);

    EXPECT_TRUE(v.zoomBarChanged(9999));
    EXPECT_EQ(v.state.CoeffZoom, static_cast<float>(want * 0.9));
    // The centre stays put.
    EXPECT_EQ(v.ecranE[0], (ViewPoint{200, 150}));
}

TEST(RectangleZoom, ZoomsOnTheRectangleDrawnEitherWay)
{
    Profils d = twoProfiles({{0, 0, 0}, {100, 100, 0}}, {{0, 0, 0}});
    View a = sideView(1360, 1360);
    a.rebuild(d, ShowFlags{});
    View b = a;
    ASSERT_TRUE(a.zoomToRectangle(100, 200, 600, 400));
    ASSERT_TRUE(b.zoomToRectangle(600, 400, 100, 200));
    EXPECT_EQ(a.state.CoeffZoom, b.state.CoeffZoom);
    EXPECT_EQ(a.state.XCentreZoom, b.state.XCentreZoom);
    EXPECT_EQ(a.state.YCentreZoom, b.state.YCentreZoom);
    // A 500 × 200 rectangle at zoom 10 is 50 × 20 model units: zy = 1000/20 > zx = 1000/50.
    EXPECT_EQ(a.state.CoeffZoom, 20);
}

TEST(RectangleZoom, ARectangleWithoutWidthOrHeightKeepsTheZoomAndCentre)
{
    Profils d = twoProfiles({{0, 0, 0}, {100, 100, 0}}, {{0, 0, 0}});
    View v = sideView(1360, 1360);
    v.rebuild(d, ShowFlags{});
    const ViewState before = v.state;
    EXPECT_FALSE(v.zoomToRectangle(100, 200, 100, 400));
    EXPECT_FALSE(v.zoomToRectangle(100, 200, 600, 200));
    EXPECT_FALSE(v.zoomToRectangle(100, 200, 100, 200));
    EXPECT_EQ(v.state, before);
}

TEST(Pan, AMoveOfOneHundredUnitsAtZoomTwoShiftsTheCentreByFifty)
{
    View v = sideView();
    v.state.CoeffZoom = 2;
    v.state.XCentreZoom = 10;
    v.state.YCentreZoom = 10;
    v.panBy(100, -40);
    EXPECT_EQ(v.state.XCentreZoom, -40);
    EXPECT_EQ(v.state.YCentreZoom, -10);
}

TEST(HitTests, TheClickSquareIsStrictAtSixtyUnits)
{
    Profils d = twoProfiles({{0, 0, 0}}, {{0, 0, 0}});
    View v = sideView();
    v.ecranE = {{100, 100}, {159, 41}, {160, 100}, {100, 40}};
    v.ecranS = {{141, 159}};
    HitList hits = v.hitClick(100, 100, ShowFlags{});
    EXPECT_EQ(hits.E, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(hits.S, (std::vector<int32_t>{1}));
}

TEST(HitTests, RectanglesIncludeTheirBoundsAndSkipHiddenPoints)
{
    View v = sideView();
    v.ecranE = {{10, 10}, {20, 20}, {30, 30}, {20, 31}};
    v.ecranS = {{20, 20}};
    ShowFlags tipHidden;
    tipHidden.pointsS = false;
    const HitList a = v.hitRectangle(10, 10, 30, 30, tipHidden);
    const HitList b = v.hitRectangle(30, 30, 10, 10, tipHidden);
    EXPECT_EQ(a.E, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(b.E, a.E);
    EXPECT_TRUE(a.S.empty());
}

TEST(HitTests, TogglingTwiceRestoresTheSelectionAndMovesTheCurrentPoint)
{
    Profils d = twoProfiles({{0, 0, 0}, {1, 0, kSelected}, {2, 0, kReference}}, {{0, 0, 0}});
    HitList hits;
    hits.E = {1, 2, 3};
    int32_t ce = 9, cs = 9;
    EXPECT_TRUE(applyToggles(d, hits, kSelected, ce, cs));
    EXPECT_EQ(d.PointsE[1].Flags, kSelected);
    EXPECT_EQ(d.PointsE[2].Flags, 0);
    EXPECT_EQ(d.PointsE[3].Flags, kReference | kSelected);
    EXPECT_EQ(ce, 3);
    EXPECT_EQ(cs, 9);
    applyToggles(d, hits, kSelected, ce, cs);
    EXPECT_EQ(d.PointsE[2].Flags, kSelected);
    EXPECT_FALSE(applyToggles(d, HitList{}, kSelected, ce, cs));
}

TEST(Drag, SelectedPointsLandWhereTheSideViewShowedThem)
{
    Profils d = twoProfiles({{10, 5, kSelected}, {0, 0, 0}}, {{1, 1, kSelected | kSync}});
    View v = sideView();
    v.rebuild(d, ShowFlags{});
    v.state.CoeffZoom = 2;
    v.mapToScreen();
    const ViewPoint before = v.ecranE[0];
    v.shiftSelectedScreen(d, 20, -10);
    EXPECT_EQ(v.ecranE[0], (ViewPoint{before.x + 20, before.y - 10}));
    EXPECT_EQ(dragSelected(d, 20, -10, 2), 2);
    EXPECT_EQ(d.PointsE[1], (PointProfil{0, 0, kSelected}));
    EXPECT_EQ(d.PointsE[2], (PointProfil{0, 0, 0}));
    EXPECT_EQ(d.PointsS[1].X, -9);
    // The document now projects where the drag left the point.
    v.refreshKeepingZoom(d, ShowFlags{});
    EXPECT_EQ(v.ecranE[0], (ViewPoint{before.x + 20, before.y - 10}));
}

TEST(Drag, AZeroZoomMovesNothing)
{
    Profils d = twoProfiles({{10, 5, kSelected}}, {});
    EXPECT_EQ(dragSelected(d, 20, -10, 0), 0);
    EXPECT_EQ(d.PointsE[1].X, 10);
}

