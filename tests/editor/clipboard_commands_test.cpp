// Copy, cut and paste through the window: what the copy leaves selected,
// the paste onto each selected point of each profile, the cut with the
// limits of the delete, and their undo.
#include "editing_window_test.h"

using namespace orvtest;
using orv::Emplanture;
using orv::kReference;
using orv::kSelected;
using orv::Saumon;

namespace {

class ClipboardCommands : public EditingWindowTest {};

} // namespace

TEST_F(ClipboardCommands, ThreeCopiedRootPointsArePastedOntoOnePointOfEachProfile)
{
    load(row(6), row(4, 50));
    mark(Emplanture, {2, 3, 4});
    ui().cmdCopier->click();
    EXPECT_TRUE(marked(Emplanture).empty()) << "the copied points are no longer selected";
    EXPECT_EQ(st().clipboard.partE.count(), 3);
    EXPECT_TRUE(st().clipboard.partS.empty());

    mark(Emplanture, {5});
    mark(Saumon, {2});
    ui().cmdColler->click();
    ASSERT_EQ(doc().NbPointsE(), 10);
    ASSERT_EQ(doc().NbPointsS(), 8);
    EXPECT_EQ(marked(Emplanture), numbers({6, 7, 8}));
    EXPECT_EQ(marked(Saumon), numbers({3, 4, 5}));
    // The shape leaves point 5 (X 40) and comes back to it.
    EXPECT_EQ(pointE(6).X, 40);
    EXPECT_EQ(pointE(8).X, 60);
    EXPECT_EQ(pointE(9).X, 40);
    EXPECT_EQ(pointE(10).X, 50);
    EXPECT_EQ(pointS(3).X, 10);
    EXPECT_EQ(pointS(3).Y, 50);
    EXPECT_EQ(pointS(6).X, 10);
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 10) << "the cursors reach the new points";
    EXPECT_EQ(ui().side[1].vscUnits->maximum(), 8);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("60.0"));
}

TEST_F(ClipboardCommands, TheCopyLeavesTheOtherLayersAndCanBeUndone)
{
    load(profile({{0, 0, kSelected | kReference}, {1, 0, kSelected}, {2, 0}}), row(3));
    const orv::Profils before = doc();
    ui().cmdCopier->click();
    EXPECT_EQ(pointE(1).Flags, kReference);
    EXPECT_EQ(st().clipboard.partE[1].Flags, kSelected | kReference);
    undo();
    EXPECT_TRUE(doc() == before);
}

TEST_F(ClipboardCommands, ACutRemovesTheSelectedPointsAndPastesBackElsewhere)
{
    load(row(6), row(6));
    mark(Emplanture, {3, 4});
    ui().cmdCouper->click();
    EXPECT_EQ(doc().NbPointsE(), 4);
    EXPECT_EQ(pointE(3).X, 40);
    EXPECT_EQ(st().clipboard.partE.count(), 2);
    EXPECT_FALSE(st().clipboard.cutInProgress);
    EXPECT_EQ(reapplications, 1);
    mark(Emplanture, {1});
    ui().cmdColler->click();
    EXPECT_EQ(doc().NbPointsE(), 7);
    EXPECT_EQ(pointE(2).X, 0);
    EXPECT_EQ(pointE(3).X, 10);
}

TEST_F(ClipboardCommands, ACutBeyondTheLimitsOfTheDeleteChangesNothingNotEvenTheClipboard)
{
    load(profile({{0, 0, kSelected}, {1, 0}, {2, 0}}), profile({{0, 0, kSelected}, {1, 0, kSelected}, {2, 0}}));
    st().clipboard.partS = row(2, 7);
    const Frozen before = freeze();
    ui().cmdCouper->click();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Erreur de sélection|Il faut conserver au moins deux points non sélectionnés de chaque côté."});
    EXPECT_TRUE(freeze() == before);
    EXPECT_TRUE(st().clipboard.partE.empty());
    EXPECT_TRUE(st().clipboard.partS == row(2, 7));
    EXPECT_FALSE(st().clipboard.cutInProgress);
}

TEST_F(ClipboardCommands, APasteWithAnEmptyClipboardChangesNoPoint)
{
    load(row(3), row(3));
    mark(Emplanture, {2});
    const orv::Profils before = doc();
    ui().cmdColler->click();
    EXPECT_TRUE(doc().PointsE == before.PointsE);
    EXPECT_TRUE(doc().PointsS == before.PointsS);
}

TEST_F(ClipboardCommands, CutAndPasteAreUndoneAndRedoneExactly)
{
    load(row(8), row(8, 40));
    mark(Emplanture, {2, 3});
    mark(Saumon, {7});
    expectUndoRedoRestore([&] { ui().cmdCouper->click(); });
    mark(Emplanture, {1, 4});
    mark(Saumon, {2});
    expectUndoRedoRestore([&] { ui().cmdColler->click(); });
}
