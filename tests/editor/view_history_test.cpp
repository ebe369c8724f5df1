// The view controls, the point lists and the undo history, through the window.
#include "editor_test_support.h"

#include "editor/history_part.h"
#include "editor/view_part.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

using namespace orvtest;
using orv::PointProfil;

namespace {

std::vector<PointProfil> square(float side, float x0 = 0, float y0 = 0)
{
    return {{x0, y0, 0}, {x0 + side, y0, 0}, {x0 + side, y0 + side, 0}, {x0, y0 + side, 0}, {x0, y0, 0}};
}

class ViewAndHistory : public WindowTest {};

} // namespace

TEST_F(ViewAndHistory, ZoomBarClicksMultiplyAndTheBarComesBackWithoutChangingTheZoom)
{
    start();
    loadDocument(square(10), square(10));
    const float before = st().view.state.CoeffZoom;
    for (int i = 0; i < 3; ++i)
        ui().hscZoom->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_NEAR(st().view.state.CoeffZoom / before, 1.331, 1e-5);
    EXPECT_EQ(ui().hscZoom->value(), 10003);
    platform.advance(800);
    EXPECT_EQ(ui().hscZoom->value(), 10000);
    EXPECT_NEAR(st().view.state.CoeffZoom / before, 1.331, 1e-5);
    ui().hscZoom->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_NEAR(st().view.state.CoeffZoom / before, 1.331 * 0.9, 1e-5);
}

TEST_F(ViewAndHistory, DraggingTheZoomThumbIsRefusedAndAppliesNoZoom)
{
    start();
    loadDocument(square(10), square(10));
    const float before = st().view.state.CoeffZoom;
    ui().hscZoom->setSliderDown(true);
    ui().hscZoom->setSliderPosition(12000);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Opération impossible|Zoom + et - uniquement par clic sur les flèches.");
    ui().hscZoom->setSliderDown(false);
    EXPECT_EQ(st().view.state.CoeffZoom, before);
}

TEST_F(ViewAndHistory, TheSideViewShowsTheProfilesFromTheSideAndTheFitFramesThem)
{
    start();
    loadDocument({{10, 5, 0}, {20, 5, 0}}, {{10, 5, 0}, {20, 5, 0}}, 500);
    ui().cmdRAZVueCote->click();
    EXPECT_EQ(ui().hscOmega->value(), 90);
    EXPECT_EQ(ui().hscAlpha->value(), 180);
    EXPECT_NEAR(st().view.vueE[0].x, -10, 1e-4);
    EXPECT_NEAR(st().view.vueE[0].y, -5, 1e-4);
    // The tip lies over the root in this view, whatever the spacing.
    EXPECT_NEAR(st().view.vueS[0].x, -10, 1e-3);
    ui().cmdRAZPerspective->click();
    EXPECT_EQ(ui().hscOmega->value(), 120);
    EXPECT_EQ(ui().hscAlpha->value(), 143);
    const float fitted = st().view.state.CoeffZoom;
    ui().hscZoom->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ui().cmdZoomFit->click();
    EXPECT_EQ(st().view.state.CoeffZoom, fitted);
}

TEST_F(ViewAndHistory, ThePointListShowsFiveLinesAroundTheCurrentPointInTheLayerColours)
{
    start();
    std::vector<PointProfil> root = square(10);
    root[1].Flags = orv::kSelected;
    loadDocument(root, square(20));
    const orv::SidePanel &p = ui().side[0];
    EXPECT_EQ(p.lblNumPt[2]->text(), QStringLiteral("1"));
    EXPECT_EQ(p.lblCoordPt[3]->text(), QStringLiteral("10.00"));
    EXPECT_EQ(p.lblCoordPt[8]->text(), QStringLiteral("0.00"));
    EXPECT_EQ(p.lblNumPt[0]->text(), QString());
    EXPECT_EQ(p.lblNumPt[3]->palette().color(QPalette::Window), QColor(0, 176, 10));
    EXPECT_EQ(p.lblNumPt[3]->palette().color(QPalette::WindowText), QColor(Qt::white));
    // With another layer active the same point is plain.
    ui().optSelection[2]->setChecked(true);
    EXPECT_EQ(st().sel.SelectionActive, orv::kSync);
    EXPECT_NE(p.lblNumPt[3]->palette().color(QPalette::Window), QColor(0, 176, 10));
    // Walking the cursor moves the list.
    ui().side[0].vscUnits->setValue(3);
    EXPECT_EQ(st().sel.PointCourantE, 3);
    EXPECT_EQ(p.lblNumPt[2]->text(), QStringLiteral("3"));
    EXPECT_EQ(p.lblNumPt[4]->text(), QStringLiteral("5"));
}

TEST_F(ViewAndHistory, UndoRestoresTheDocumentAndTheWindowStateOfTheSnapshot)
{
    start();
    loadDocument(square(10), square(20));
    const orv::Profils first = st().doc;
    // A change recorded as commands do: snapshot, change, closing steps.
    ed().snapshot();
    st().doc.PointsE.edit(2).X = 42;
    ui().chkAfficherPoints[1]->setChecked(false);
    ed().finish();
    const orv::Profils second = st().doc;
    ASSERT_GE(st().history.count(), 2);

    ui().cmdUndo[0]->click();
    EXPECT_EQ(st().doc.PointsE, first.PointsE);
    // Boxes saved as ticked are ticked again; those saved unticked are left alone.
    EXPECT_TRUE(ui().chkAfficherPoints[1]->isChecked());
    ui().cmdUndo[1]->click();
    EXPECT_EQ(st().doc.PointsE, second.PointsE);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("42.0"));
    // Redo at the last entry changes nothing.
    ui().cmdUndo[1]->click();
    EXPECT_EQ(st().doc.PointsE, second.PointsE);
}

TEST_F(ViewAndHistory, TheStatusBarDescribesBothProfilesAndTheirSelections)
{
    start();
    std::vector<PointProfil> root = square(10), tip = square(20);
    root[0].Flags = orv::kSelected;
    tip[2].Flags = orv::kSelected;
    loadDocument(root, tip);
    EXPECT_EQ(ui().stbPanels[0]->text(), QStringLiteral(": 5 points     Sél.: 1 pts    X:0.0mm   Y:0.0mm  D:0.0mm"));
    EXPECT_EQ(ui().stbPanels[2]->text(), QStringLiteral(" X:20.0mm  Y:20.0mm   D:28.28mm"));
}
