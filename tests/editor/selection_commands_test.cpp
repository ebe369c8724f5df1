// The selection commands through the window: clear and select all on the
// active layer, the extreme and corner selections, "Inverser le sens", the
// point cursors with Ctrl and their thousands bar, the re-alignment rule.
#include "editing_window_test.h"

#include <QRadioButton>

#include <set>

using namespace orvtest;
using orv::Emplanture;
using orv::kReference;
using orv::kSelected;
using orv::Saumon;

namespace {

class SelectionCommands : public EditingWindowTest {};

} // namespace

TEST_F(SelectionCommands, SelectAllAndClearWorkOnTheActiveLayerOfOneProfileOnly)
{
    load(profile({{0, 0, kSelected}, {10, 0}, {20, 0, kSelected}}), profile({{0, 0, kSelected}, {10, 0}, {20, 0}}));
    ui().optSelection[1]->setChecked(true);
    ui().cmdSelectAll[1]->click();
    EXPECT_EQ(marked(Saumon, kReference), numbers({1, 2, 3}));
    EXPECT_EQ(marked(Saumon, kSelected), numbers({1}));
    EXPECT_TRUE(marked(Emplanture, kReference).empty());

    ui().cmdSelectAll[0]->click();
    ui().cmdRAZSelection[0]->click();
    EXPECT_TRUE(marked(Emplanture, kReference).empty());
    EXPECT_EQ(marked(Emplanture, kSelected), numbers({1, 3}));
    EXPECT_EQ(marked(Saumon, kReference), numbers({1, 2, 3}));
}

TEST_F(SelectionCommands, ClearingWhatIsNotSelectedKeepsTheForwardHistory)
{
    load(row(5), row(5));
    ui().cmdSelectAll[0]->click();
    undo();
    const int32_t entries = st().history.count();
    ui().cmdRAZSelection[0]->click();
    EXPECT_EQ(st().history.count(), entries);
    EXPECT_TRUE(st().history.canRedo());
}

TEST_F(SelectionCommands, ExtremeSelectionsFollowTheIndexTable)
{
    // Root: least X at 2, greatest X at 4, least Y at 3, greatest Y at 1.
    const auto root = profile({{5, 9}, {-3, 1}, {2, -6}, {8, 0}});
    // Tip: least X at 4, greatest X at 1, least Y at 2, greatest Y at 3.
    const auto tip = profile({{9, 0}, {4, -5}, {3, 7}, {-1, 2}});
    const std::vector<int32_t> expected[4] = {{1, 4}, {2, 4}, {2, 3}, {1, 3}};
    const orv::Side side[4] = {Saumon, Emplanture, Saumon, Emplanture};
    for (int index = 0; index < 4; ++index) {
        load(root, tip);
        const int32_t entries = st().history.count();
        ui().cmdSelectionAuto[static_cast<size_t>(index)]->click();
        EXPECT_EQ(marked(side[index]), expected[index]) << "index " << index;
        EXPECT_TRUE(marked(side[index] == Saumon ? Emplanture : Saumon).empty()) << "index " << index;
        EXPECT_EQ(st().history.count(), entries + 2) << "a snapshot before and one after";
    }
}

TEST_F(SelectionCommands, CornerSelectionMarksTurnsOfThirtyDegreesOrMoreButNeverTheEnds)
{
    // Straight on, a right angle at 3, straight, a turn of 20° at 5, a U-turn at 6.
    const auto path = profile({{0, 0}, {10, 0}, {20, 0}, {20, 10}, {20, 20}, {23.4202f, 29.3969f}, {20, 20}});
    load(path, path);
    ui().cmdSelectionAngle[1]->click(); // index 1: the root
    EXPECT_EQ(marked(Emplanture), numbers({3, 6}));
    EXPECT_TRUE(marked(Saumon).empty());
    ui().cmdSelectionAngle[0]->click(); // index 0: the tip
    EXPECT_EQ(marked(Saumon), numbers({3, 6}));
}

TEST_F(SelectionCommands, ReversingARunOfThreeToSixKeepsTheOtherPointsInPlace)
{
    std::vector<orv::PointProfil> pts;
    for (int i = 1; i <= 10; ++i)
        pts.push_back({static_cast<float>(i), 0, static_cast<int16_t>(i >= 3 && i <= 6 ? kSelected : 0)});
    pts[8].Flags = kReference; // point 9: another layer only, stays
    load(orv::ProfilePoints(pts), row(4));
    ui().cmdInverserSelection->click();
    std::vector<float> order;
    doc().PointsE.forEach([&](int32_t, const orv::PointProfil &p) { order.push_back(p.X); });
    EXPECT_EQ(order, (std::vector<float>{1, 2, 6, 5, 4, 3, 7, 8, 9, 10}));
    EXPECT_EQ(pointE(3).Flags, kSelected);
    EXPECT_EQ(pointE(9).Flags, kReference);
}

TEST_F(SelectionCommands, ARunEndingAtTheLastPointIsReversedTooOnBothProfiles)
{
    load(profile({{1, 0}, {2, 0, kSelected}, {3, 0, kSelected}}),
         profile({{1, 0, kSelected}, {2, 0}, {3, 0, kSelected}, {4, 0, kSelected}}));
    ui().cmdInverserSelection->click();
    EXPECT_EQ(pointE(2).X, 3);
    EXPECT_EQ(pointE(3).X, 2);
    EXPECT_EQ(pointS(1).X, 1); // a lone point stays
    EXPECT_EQ(pointS(3).X, 4);
    EXPECT_EQ(pointS(4).X, 3);
}

TEST_F(SelectionCommands, CtrlHeldWhileTheRootCursorMovesFromTwelveToSevenSelectsSevenToTwelve)
{
    load(row(20), row(20));
    ui().side[0].vscUnits->setValue(12);
    EXPECT_EQ(st().sel.PointCourantE, 12);
    EXPECT_TRUE(marked(Emplanture).empty());
    platform.setCtrlDown(true);
    ui().side[0].vscUnits->setValue(7);
    platform.setCtrlDown(false);
    EXPECT_EQ(marked(Emplanture), numbers({7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(marked(Saumon).empty());
}

TEST_F(SelectionCommands, WithTwoThousandThreeHundredFortyFivePointsTheTopThousandOffersThreeHundredFortyFive)
{
    load(row(2345), row(10));
    orv::SidePanel &p = ui().side[0];
    EXPECT_FALSE(p.vscThousands->isHidden());
    EXPECT_EQ(p.vscThousands->maximum(), 2);
    p.vscThousands->setValue(2);
    EXPECT_EQ(p.vscUnits->maximum(), 345);
    p.vscUnits->setValue(345);
    EXPECT_EQ(st().sel.PointCourantE, 2345);
    p.vscThousands->setValue(1);
    EXPECT_EQ(p.vscUnits->maximum(), 1000);
    EXPECT_EQ(st().sel.PointCourantE, 1345);
    EXPECT_TRUE(ui().side[1].vscThousands->isHidden());
}

TEST_F(SelectionCommands, AnExactMultipleOfAThousandReachesEveryPointAndNoOther)
{
    for (int count : {2000, 3000}) {
        load(row(count), row(count));
        orv::SidePanel &p = ui().side[0];
        std::set<int32_t> reachable;
        for (int t = p.vscThousands->minimum(); t <= p.vscThousands->maximum(); ++t) {
            p.vscThousands->setValue(t);
            for (int u : {p.vscUnits->minimum(), p.vscUnits->maximum()}) {
                p.vscUnits->setValue(u);
                reachable.insert(st().sel.PointCourantE);
            }
            for (int u = p.vscUnits->minimum(); u <= p.vscUnits->maximum(); ++u)
                reachable.insert(t * 1000 + u);
        }
        EXPECT_EQ(reachable.size(), static_cast<size_t>(count));
        EXPECT_EQ(*reachable.begin(), 1);
        EXPECT_EQ(*reachable.rbegin(), count);
    }
}

TEST_F(SelectionCommands, APointListLabelTogglesItsPointAndAnEmptyLineRecordsNothing)
{
    load(row(10), row(10));
    ui().side[0].vscUnits->setValue(5);
    emit ui().side[0].lblCoordPt[8]->clicked(); // Y column, line 4: point 6
    EXPECT_EQ(marked(Emplanture), numbers({6}));
    emit ui().side[0].lblNumPt[3]->clicked(); // the same line
    EXPECT_TRUE(marked(Emplanture).empty());
    undo();
    EXPECT_EQ(marked(Emplanture), numbers({6}));
    ui().side[1].vscUnits->setValue(1);
    const Frozen before = freeze();
    emit ui().side[1].lblNumPt[0]->clicked(); // point -1
    EXPECT_TRUE(freeze() == before);
    EXPECT_TRUE(st().history.canRedo());
}

TEST_F(SelectionCommands, WithTheReferenceLayerAndTheAlignmentOnASelectionRunsTheAlignmentAgain)
{
    load(profile({{0, 0, kReference}, {10, 0}}), profile({{0, 5, kReference}, {10, 5}}));
    st().history.AnnulationEnCours = true; // ticked without running the alignment now
    ui().chkAligner->setChecked(true);
    st().history.AnnulationEnCours = false;
    int toggles = 0;
    QObject::connect(ui().chkAligner, &QCheckBox::toggled, [&toggles] { ++toggles; });

    ui().cmdSelectAll[0]->click(); // normal layer: no re-alignment
    EXPECT_EQ(toggles, 0);
    ui().optSelection[1]->setChecked(true);
    ui().cmdSelectAll[1]->click();
    EXPECT_EQ(toggles, 2);
    EXPECT_TRUE(ui().chkAligner->isChecked());
    ui().cmdInverserSelection->click(); // never re-aligns
    EXPECT_EQ(toggles, 2);
}

TEST_F(SelectionCommands, EachSelectionCommandIsUndoneAndRedoneExactly)
{
    const auto path = profile({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 3}});
    load(path, path);
    expectUndoRedoRestore([&] { ui().cmdSelectAll[0]->click(); });
    expectUndoRedoRestore([&] { ui().cmdRAZSelection[0]->click(); });
    expectUndoRedoRestore([&] { ui().cmdSelectionAuto[2]->click(); });
    expectUndoRedoRestore([&] { ui().cmdSelectionAngle[1]->click(); });
    ui().cmdSelectAll[1]->click();
    expectUndoRedoRestore([&] { ui().cmdInverserSelection->click(); });
}
