// Mouse gestures replayed through the drawing area: clicks and rectangles
// that toggle points, zoom rectangles, the middle-button fit, the pan and the
// Ctrl drag of selected points in the side view.
#include "editing_window_test.h"

#include "core/numeric_entry.h"
#include "editor/drawing.h"
#include "editor/mouse_part.h"

#include <QLabel>

using namespace orvtest;
using orv::Emplanture;
using orv::kSelected;
using orv::Saumon;

namespace {

class MouseGestures : public EditingWindowTest {
protected:
    // Three root points 100 mm apart and the same shape 200 mm higher for
    // the tip, seen from the side: points lie thousands of twips apart.
    void loadTriangles()
    {
        load(profile({{0, 0}, {100, 0}, {100, 50}}), profile({{0, 200}, {100, 200}, {100, 250}}));
        sideView();
    }
    orv::MousePart &mousePart() { return window().mousePart(); }
};

} // namespace

TEST_F(MouseGestures, AClickFiftyNineTwipsAwayTogglesAPointAndSixtyDoesNot)
{
    loadTriangles();
    const orv::ViewPoint p = screen(Emplanture, 2);
    const int32_t entries = st().history.count();
    click(p.x + 60, p.y);
    click(p.x, p.y - 60);
    EXPECT_TRUE(marked(Emplanture).empty());
    EXPECT_EQ(st().history.count(), entries) << "nothing changed, nothing recorded";

    click(p.x + 59, p.y - 59);
    EXPECT_EQ(marked(Emplanture), numbers({2}));
    EXPECT_TRUE(marked(Saumon).empty());
    EXPECT_EQ(st().sel.PointCourantE, 2);
    EXPECT_EQ(ui().side[0].vscUnits->value(), 2);
    EXPECT_EQ(st().history.count(), entries + 1);
    click(p.x - 59, p.y + 59);
    EXPECT_TRUE(marked(Emplanture).empty());
}

TEST_F(MouseGestures, AClickTogglesEveryPointOfTheSquareAndAgainTogglesThemBack)
{
    load(profile({{0, 0}, {0.5f, 0}, {100, 0}, {100, 50}}), profile({{0, 200}, {100, 200}}));
    sideView();
    const orv::ViewPoint a = screen(Emplanture, 1), b = screen(Emplanture, 2);
    ASSERT_LT(std::abs(a.x - b.x), 40);
    click((a.x + b.x) / 2, a.y);
    EXPECT_EQ(marked(Emplanture), numbers({1, 2}));
    EXPECT_EQ(st().sel.PointCourantE, 2) << "the last toggled point becomes current";
    click((a.x + b.x) / 2, a.y);
    EXPECT_TRUE(marked(Emplanture).empty());
}

TEST_F(MouseGestures, ARectangleDrawnEitherWaySelectsTheSamePointsOfBothProfiles)
{
    loadTriangles();
    // Around the points at X 100 of both profiles, away from those at X 0.
    const orv::ViewPoint a = screen(Emplanture, 2), b = screen(Saumon, 3);
    const float left = std::min(a.x, b.x) - 200, right = std::max(a.x, b.x) + 200;
    const float top = std::min(a.y, b.y) - 200, bottom = std::max(a.y, b.y) + 200;
    drag(left, top, right, bottom);
    const auto rootFirst = marked(Emplanture), tipFirst = marked(Saumon);
    EXPECT_EQ(rootFirst, numbers({2, 3}));
    EXPECT_EQ(tipFirst, numbers({2, 3}));
    EXPECT_EQ(st().sel.PointCourantS, 3);
    drag(right, bottom, left, top); // toggles them back
    EXPECT_TRUE(marked(Emplanture).empty());
    drag(right, bottom, left, top);
    EXPECT_EQ(marked(Emplanture), rootFirst);
    EXPECT_EQ(marked(Saumon), tipFirst);
}

TEST_F(MouseGestures, HiddenPointsAreNeverSelected)
{
    loadTriangles();
    ui().chkAfficherPoints[1]->setChecked(false);
    drag(10, 10, st().view.state.LargeurImage - 10, st().view.state.HauteurImage - 10);
    EXPECT_EQ(marked(Emplanture), numbers({1, 2, 3}));
    EXPECT_TRUE(marked(Saumon).empty());
}

TEST_F(MouseGestures, TheRubberBandIsDashedForASelectionDottedForAZoomAndGoneAtTheRelease)
{
    loadTriangles();
    const auto &band = window().drawingPart().rubberBand;
    press(1, 0, 100, 100);
    moveTo(1, 0, 400, 300);
    ASSERT_TRUE(band.has_value());
    EXPECT_EQ(band->style, Qt::DashLine);
    EXPECT_EQ(band->rect.normalized(), QRectF(100, 100, 300, 200));
    release(1, 0, 400, 300);
    EXPECT_FALSE(band.has_value());
    press(2, 0, 100, 100);
    moveTo(2, 0, 400, 300);
    ASSERT_TRUE(band.has_value());
    EXPECT_EQ(band->style, Qt::DotLine);
    release(2, 0, 400, 300);
    EXPECT_FALSE(band.has_value());
    EXPECT_EQ(mousePart().ModeSouris(), 0);
}

TEST_F(MouseGestures, AZoomRectangleCentresAndFillsThePictureThenTheTickServesOnce)
{
    loadTriangles();
    const orv::ViewState before = st().view.state;
    ui().chkZoomSelection->setChecked(true);
    const orv::ViewPoint a = screen(Emplanture, 1), b = screen(Emplanture, 2);
    drag(b.x, b.y - 300, a.x, a.y + 300); // the root's bottom edge, from right to left
    const orv::ViewState &v = st().view.state;
    EXPECT_FALSE(ui().chkZoomSelection->isChecked());
    EXPECT_GT(v.CoeffZoom, before.CoeffZoom);
    EXPECT_NEAR(v.XCentreZoom, -50, 0.01); // side view: X 0..100 projects to -100..0
    const orv::ViewPoint a2 = screen(Emplanture, 1), b2 = screen(Emplanture, 2);
    EXPECT_NEAR((a2.x + b2.x) / 2, v.DemiLargeur, 1);
    EXPECT_TRUE(marked(Emplanture).empty()) << "a zoom selects nothing";
}

TEST_F(MouseGestures, AZoomRectangleWithoutWidthOrHeightKeepsThePreviousZoom)
{
    loadTriangles();
    const orv::ViewState before = st().view.state;
    drag(500, 300, 500, 900, 2); // no width
    EXPECT_EQ(st().view.state.CoeffZoom, before.CoeffZoom);
    EXPECT_EQ(st().view.state.XCentreZoom, before.XCentreZoom);
    EXPECT_EQ(st().view.state.YCentreZoom, before.YCentreZoom);
    ui().chkZoomSelection->setChecked(true);
    drag(500, 300, 900, 300); // no height
    EXPECT_EQ(st().view.state.CoeffZoom, before.CoeffZoom);
    EXPECT_FALSE(ui().chkZoomSelection->isChecked());
    click(700, 700, 2);
    EXPECT_EQ(st().view.state.CoeffZoom, before.CoeffZoom);
    EXPECT_TRUE(std::isfinite(screen(Emplanture, 1).x));
}

TEST_F(MouseGestures, TheMiddleButtonFitsTheViewAgain)
{
    loadTriangles();
    const orv::ViewState fitted = st().view.state;
    drag(1000, 1000, 3000, 2000, 2);
    ASSERT_NE(st().view.state.CoeffZoom, fitted.CoeffZoom);
    click(50, 50, 4);
    EXPECT_EQ(st().view.state.CoeffZoom, fitted.CoeffZoom);
    EXPECT_EQ(st().view.state.XCentreZoom, fitted.XCentreZoom);
}

TEST_F(MouseGestures, AShiftDragOfAHundredTwipsAtZoomTwoMovesTheCentreByFifty)
{
    loadTriangles();
    orv::View &view = st().view;
    view.state.CoeffZoom = 2;
    view.mapToScreen();
    const float xc = view.state.XCentreZoom, yc = view.state.YCentreZoom;
    const orv::ViewPoint p = screen(Emplanture, 1);
    press(1, 1, 5000, 3000);
    moveTo(1, 1, 5060, 3000);
    moveTo(1, 1, 5100, 3000);
    EXPECT_FLOAT_EQ(screen(Emplanture, 1).x, p.x + 100) << "the picture follows the mouse";
    release(1, 1, 5100, 3000);
    EXPECT_FLOAT_EQ(view.state.XCentreZoom, xc - 50);
    EXPECT_FLOAT_EQ(view.state.YCentreZoom, yc);
    EXPECT_NEAR(screen(Emplanture, 1).x, p.x + 100, 0.01) << "and stays where the move left it";
    EXPECT_TRUE(marked(Emplanture).empty());
}

TEST_F(MouseGestures, ACtrlDragInTheSideViewMovesTheSelectedPointsWhereTheyWereShown)
{
    loadTriangles();
    mark(Emplanture, {2, 3});
    mark(Saumon, {3});
    const float c = st().view.state.CoeffZoom;
    const orv::ViewPoint shown = screen(Emplanture, 2);
    const int32_t entries = st().history.count();
    press(1, 2, 1000, 1000);
    moveTo(1, 2, 1100, 1050);
    moveTo(1, 2, 1200, 1100);
    EXPECT_FLOAT_EQ(screen(Emplanture, 2).x, shown.x + 200);
    EXPECT_FLOAT_EQ(pointE(2).X, 100) << "the document moves at the release only";
    release(1, 2, 1200, 1100);
    EXPECT_NEAR(pointE(2).X, 100 - 200 / c, 1e-3);
    EXPECT_NEAR(pointE(2).Y, 0 + 100 / c, 1e-3);
    EXPECT_NEAR(pointS(3).X, 100 - 200 / c, 1e-3);
    EXPECT_EQ(pointE(1).X, 0);
    EXPECT_NEAR(screen(Emplanture, 2).x, shown.x + 200, 0.5);
    EXPECT_EQ(reapplications, 1);
    EXPECT_TRUE(reappliedWithFreshCharacteristics);
    EXPECT_EQ(ui().side[0].txtCorde->text().toStdString(), orv::formatForBox(st().doc.C.E.Corde, orv::kFmtBox));
    EXPECT_EQ(st().history.count(), entries + 1);
}

TEST_F(MouseGestures, ClicksRectanglesAndDragsAreUndoneAndRedoneExactly)
{
    loadTriangles();
    const orv::ViewPoint p = screen(Emplanture, 2);
    expectUndoRedoRestore([&] { click(p.x, p.y); });
    expectUndoRedoRestore([&] { drag(10, 10, st().view.state.LargeurImage - 10, st().view.state.HauteurImage - 10); });
    expectUndoRedoRestore([&] { drag(1000, 1000, 1300, 1200, 1, 2); });
}

TEST_F(MouseGestures, ACtrlPressOutsideTheSideViewIsRefusedAndChangesNothing)
{
    load(profile({{0, 0, kSelected}, {100, 0}}), profile({{0, 200}, {100, 200}}));
    const Frozen before = freeze();
    drag(1000, 1000, 1300, 1200, 1, 2);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Action impossible|Le déplacement de la sélection par appui sur la touche Ctrl ne peut se "
                             "faire qu'en vue de côté.\r\nAppuyez sur le bouton 'Vue de côté' pour avoir accès à cette "
                             "fonction");
    EXPECT_EQ(platform.messages()[0].icon, orv::NoticeIcon::Critical);
    EXPECT_TRUE(freeze() == before);
    EXPECT_EQ(mousePart().ModeSouris(), 0);
}

TEST_F(MouseGestures, LeavingTheSideViewDuringACtrlDragCancelsIt)
{
    loadTriangles();
    mark(Emplanture, {2});
    const Frozen before = freeze();
    press(1, 2, 1000, 1000);
    moveTo(1, 2, 1300, 1000);
    ui().cmdRAZPerspective->click();
    moveTo(1, 2, 1500, 1000);
    release(1, 2, 1500, 1000);
    EXPECT_TRUE(doc().PointsE == before.doc.PointsE);
    EXPECT_EQ(st().history.count(), before.count);
}

TEST_F(MouseGestures, InTheSideViewTheStatusBarShowsTheCoordinatesUnderTheMouse)
{
    loadTriangles();
    const orv::ViewPoint p = screen(Emplanture, 3); // root (100, 50) shows as (-100, -50)
    moveTo(0, 0, p.x, p.y);
    EXPECT_EQ(ui().stbPanels[2]->text(), QStringLiteral("X:-100.0mm  Y:-50.0mm"));
    ui().cmdRAZPerspective->click();
    const QString shown = ui().stbPanels[2]->text();
    moveTo(0, 0, p.x + 300, p.y);
    EXPECT_EQ(ui().stbPanels[2]->text(), shown);
}

TEST_F(MouseGestures, AClickOnPointTwoThousandShowsItOnTheCursorsWithoutAnImpossiblePosition)
{
    std::vector<orv::PointProfil> pts(2345);
    for (size_t i = 0; i < pts.size(); ++i)
        pts[i] = {static_cast<float>(i) * 0.1f, i == 1999 ? 500.0f : 0.0f, 0};
    load(orv::ProfilePoints(pts), row(3, 1000));
    sideView();
    const orv::ViewPoint p = screen(Emplanture, 2000);
    click(p.x, p.y);
    EXPECT_EQ(marked(Emplanture), numbers({2000}));
    EXPECT_EQ(st().sel.PointCourantE, 2000);
    EXPECT_EQ(ui().side[0].vscThousands->value(), 1);
    EXPECT_EQ(ui().side[0].vscUnits->value(), 1000);
    EXPECT_EQ(ui().side[0].lblNumPt[2]->text(), QStringLiteral("2000"));
}
