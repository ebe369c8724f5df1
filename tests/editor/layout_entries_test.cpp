// The wing layout through the window: chord, spacing, sweep, dihedral and
// alignment entries, the check box groups, the re-application after other
// commands, and undo of each.
#include "layout_geometry_support.h"

#include <cmath>

using namespace orvtest;
using orv::PointProfil;
using orv::test::profile;

namespace {

class LayoutEntries : public LayoutWindowTest {
protected:
    // Root chord 200, thickness 24; tip chord 150, thickness 18, placed 40
    // behind and 10 above the root.
    void loadWing() { load(diamond(0, 0, 200, 24), diamond(40, 10, 150, 18)); }
    const orv::Caracteristiques &c() { return st().doc.C; }
};

} // namespace

// ---- chord and spacing

TEST_F(LayoutEntries, AChordScalesTheProfileAboutTheOriginAndTheTipFollows)
{
    load(diamond(10, 0, 200, 24), diamond(40, 10, 150, 18));
    const float sweep = st().layout.storedSweep;
    type(ui().side[0].txtCorde, QStringLiteral("100"));
    EXPECT_EQ(st().doc.PointsE[3], (PointProfil{5, 6, 0}));
    EXPECT_FLOAT_EQ(c().E.Epaisseur, 12);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("100.0"));
    // The re-application keeps the stored sweep and dihedral.
    EXPECT_FLOAT_EQ(c().S.XMin - c().E.XMin, sweep);
    EXPECT_FLOAT_EQ(c().S.YMin - c().E.YMin, st().layout.storedDihedral);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LayoutEntries, AChordIsRefusedWhenTypedZeroOrWhenTheProfileHasNone)
{
    load(profile({{5, 0}, {5, 10}}), diamond(0, 0, 100, 10));
    const orv::Profils before = st().doc;
    const int entries = st().history.count();
    type(ui().side[0].txtCorde, QStringLiteral("30"));
    type(ui().side[1].txtCorde, QStringLiteral("0"));
    type(ui().side[1].txtCorde, QStringLiteral("1,5"));
    EXPECT_EQ(
        messages(),
        (std::vector<std::string>{
            "Erreur de saisie|La corde de l'emplanture est nulle, il n'est pas possible de la modifier.",
            "Erreur de saisie|Il n'est pas possible d'entrer une corde négative ou nulle.",
            "Erreur de saisie|Veuillez entrer un nombre décimal."}));
    EXPECT_TRUE(wholeTextSelected(ui().side[1].txtCorde));
    EXPECT_EQ(st().doc, before);
    EXPECT_EQ(st().history.count(), entries);
}

TEST_F(LayoutEntries, ASpacingOfZeroOrLessIsRefusedAndAGoodOneMovesNoPoint)
{
    loadWing();
    const orv::Profils before = st().doc;
    type(ui().txtEcartementZ, QStringLiteral("0"));
    EXPECT_TRUE(wholeTextSelected(ui().txtEcartementZ));
    type(ui().txtEcartementZ, QStringLiteral("-5"));
    EXPECT_EQ(messages(),
              (std::vector<std::string>(
                  2, "Erreur de saisie|Il n'est pas possible d'entrer un écartement négatif ou nul.")));
    EXPECT_EQ(st().doc, before);

    type(ui().txtEcartementZ, QStringLiteral("250"));
    EXPECT_EQ(st().doc.Ecartement, 250);
    EXPECT_EQ(st().doc.PointsS, before.PointsS);
    EXPECT_FLOAT_EQ(c().DiedreMm, before.C.DiedreMm);
    EXPECT_EQ(ui().txtDiedreDeg->text(), QString::fromStdString(orv::formatForBox(c().DiedreDeg)));
    EXPECT_NE(c().DiedreDeg, before.C.DiedreDeg);
}

// ---- sweep and dihedral

TEST_F(LayoutEntries, ATypedSweepPlacesTheTipLeadingEdgeAndShowsTheTrailingEdgeOffset)
{
    loadWing();
    type(ui().txtFleche, QStringLiteral("30"));
    EXPECT_FLOAT_EQ(c().S.XMin, c().E.XMin + 30);
    EXPECT_EQ(ui().lblFleche->text(), QStringLiteral("20.0"));
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("30.0"));
}

TEST_F(LayoutEntries, AligningTheMiddlesCentresATipOf150OnARootOf200)
{
    loadWing();
    ui().chkFleche[1]->setChecked(true);
    EXPECT_EQ(st().layout.storedSweep, 25);
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("25.0"));
    EXPECT_FLOAT_EQ(c().S.XMin + c().S.XMax, c().E.XMin + c().E.XMax);
}

TEST_F(LayoutEntries, AligningTheUpperSurfacesLevelsTheHighestPoints)
{
    loadWing();
    ui().chkDiedre[0]->setChecked(true);
    EXPECT_EQ(st().layout.storedDihedral, 6);
    EXPECT_EQ(ui().txtDiedreMm->text(), QStringLiteral("6.0"));
    EXPECT_FLOAT_EQ(c().S.YMax, c().E.YMax);
}

TEST_F(LayoutEntries, TwoDegreesOverASpacingOf500RaiseTheTipMidHeightBy17_46)
{
    loadWing();
    type(ui().txtDiedreDeg, QStringLiteral("2"));
    const double rise = (double(c().S.YMin) + c().S.YMax) / 2 - (double(c().E.YMin) + c().E.YMax) / 2;
    EXPECT_NEAR(rise, 17.46, 0.005);
    EXPECT_EQ(ui().txtDiedreDeg->text(), QStringLiteral("2.0"));
    EXPECT_EQ(ui().txtDiedreMm->text(), QString::fromStdString(orv::formatForBox(c().DiedreMm)));
    EXPECT_NEAR(st().layout.storedDihedral, rise + 3, 0.005); // the lowest points differ by 3 more
}

// ---- the groups of check boxes

TEST_F(LayoutEntries, OneBoxPerGroupIsCheckedAndTypingUnchecksItsGroup)
{
    loadWing();
    st().doc.PointsE.edit(3).Flags = orv::kReference;
    st().doc.PointsS.edit(3).Flags = orv::kReference;
    ui().chkFleche[0]->setChecked(true);
    ui().chkFleche[2]->setChecked(true);
    EXPECT_FALSE(ui().chkFleche[0]->isChecked());
    EXPECT_EQ(st().layout.sweepMode, 2);
    ui().chkDiedre[1]->setChecked(true);
    ui().chkDiedre[4]->setChecked(true);
    EXPECT_FALSE(ui().chkDiedre[1]->isChecked());

    type(ui().txtFleche, QStringLiteral("5"));
    EXPECT_FALSE(ui().chkFleche[2]->isChecked());
    EXPECT_TRUE(ui().chkDiedre[4]->isChecked());
    EXPECT_EQ(st().layout.sweepMode, -1);
    EXPECT_EQ(st().layout.dihedralMode, 4);

    ui().chkAligner->setChecked(true);
    EXPECT_FALSE(ui().chkDiedre[4]->isChecked());
    EXPECT_EQ(st().layout.dihedralMode, -1);
    EXPECT_TRUE(st().layout.aligned);
    ui().chkFleche[1]->setChecked(true);
    EXPECT_FALSE(ui().chkAligner->isChecked());
    EXPECT_FALSE(st().layout.aligned);
    ui().chkAligner->setChecked(true);
    type(ui().txtDiedreMm, QStringLiteral("3"));
    EXPECT_FALSE(ui().chkAligner->isChecked());
    EXPECT_FALSE(st().layout.aligned);
    // Unchecking a box by hand moves nothing.
    const orv::Profils before = st().doc;
    ui().chkFleche[1]->setChecked(false);
    EXPECT_EQ(st().doc, before);
    EXPECT_EQ(st().layout.sweepMode, -1);
}

TEST_F(LayoutEntries, TheAlignmentWithoutATipReferenceIsRefusedAndTheBoxGoesBackToZero)
{
    loadWing();
    st().doc.PointsE.edit(2).Flags = orv::kReference;
    const orv::Profils before = st().doc;
    const int entries = st().history.count();
    ui().chkAligner->setChecked(true);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Pas de sélection violette|Pas de point de référence défini à "
                                        "l'emplanture ou au saumon, alignement impossible"}));
    EXPECT_FALSE(ui().chkAligner->isChecked());
    EXPECT_FALSE(st().layout.aligned);
    EXPECT_EQ(st().doc, before);
    EXPECT_EQ(st().history.count(), entries);
}

TEST_F(LayoutEntries, TheAlignmentPutsTheTipReferenceOnTheRootReference)
{
    loadWing();
    st().doc.PointsE.edit(2).Flags = orv::kReference;
    st().doc.PointsS.edit(4).Flags = orv::kReference;
    ui().chkFleche[0]->setChecked(true);
    ui().chkAligner->setChecked(true);
    EXPECT_FALSE(ui().chkFleche[0]->isChecked());
    EXPECT_FLOAT_EQ(st().doc.PointsS[4].X, st().doc.PointsE[2].X);
    EXPECT_FLOAT_EQ(st().doc.PointsS[4].Y, st().doc.PointsE[2].Y);
    EXPECT_EQ(ui().txtFleche->text(), QString::fromStdString(orv::formatForBox(c().FlecheBA)));
    EXPECT_EQ(ui().txtDiedreMm->text(), QString::fromStdString(orv::formatForBox(c().DiedreMm)));
}

TEST_F(LayoutEntries, LeavingABoxRewritesItFromTheDocument)
{
    loadWing();
    ui().txtFleche->setText(QStringLiteral("99"));
    ui().side[1].txtCorde->setText(QStringLiteral("7"));
    ui().txtEcartementZ->setText(QStringLiteral("7"));
    ui().txtDiedreMm->setText(QStringLiteral("7"));
    emit ui().txtFleche->lostFocus();
    emit ui().side[1].txtCorde->lostFocus();
    emit ui().txtEcartementZ->lostFocus();
    emit ui().txtDiedreMm->lostFocus();
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("40.0"));
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("150.0"));
    EXPECT_EQ(ui().txtEcartementZ->text(), QStringLiteral("500.0"));
    EXPECT_EQ(ui().txtDiedreMm->text(), QStringLiteral("10.0"));
}

// ---- the re-application

TEST_F(LayoutEntries, AfterAChordChangeWithTrailingEdgesAlignedTheyAreInLineAgain)
{
    loadWing();
    ui().chkFleche[2]->setChecked(true);
    EXPECT_FLOAT_EQ(c().S.XMax, c().E.XMax);
    type(ui().side[0].txtCorde, QStringLiteral("300"));
    EXPECT_FLOAT_EQ(c().E.XMax, 300);
    EXPECT_FLOAT_EQ(c().S.XMax, 300);
    EXPECT_TRUE(ui().chkFleche[2]->isChecked());
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("150.0"));
}

TEST_F(LayoutEntries, AnOffsetReappliesTheStoredSweepAndDihedral)
{
    loadWing();
    type(ui().txtFleche, QStringLiteral("12"));
    type(ui().txtDiedreMm, QStringLiteral("4"));
    mark(orv::Emplanture, {});
    type(ui().txtDecaler, QStringLiteral("1"));
    EXPECT_LT(c().E.XMin, 0);
    EXPECT_FLOAT_EQ(c().S.XMin - c().E.XMin, 12);
    EXPECT_FLOAT_EQ(c().S.YMin - c().E.YMin, 4);
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("12.0"));
}

TEST_F(LayoutEntries, AnAlignmentThatLostItsReferencePointsIsSwitchedOffWithTheMessage)
{
    loadWing();
    st().doc.PointsE.edit(2).Flags = orv::kReference;
    st().doc.PointsS.edit(2).Flags = orv::kReference;
    ui().chkAligner->setChecked(true);
    // The offset replaces the root's points 2 to 4 by new, unmarked points.
    mark(orv::Emplanture, {});
    type(ui().txtDecaler, QStringLiteral("1"));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Pas de sélection violette|Pas de point de référence défini à "
                                        "l'emplanture ou au saumon, alignement impossible"}));
    EXPECT_FALSE(ui().chkAligner->isChecked());
    EXPECT_FALSE(st().layout.aligned);
}

// ---- undo

TEST_F(LayoutEntries, OneUndoAfterEachLayoutCommandRestoresTheDocumentAndTheBoxes)
{
    loadWing();
    mark(orv::Emplanture, {2}, orv::kReference);
    mark(orv::Saumon, {4}, orv::kReference);
    expectOneUndoRestores([&] { type(ui().side[0].txtCorde, QStringLiteral("150")); });
    expectOneUndoRestores([&] { type(ui().txtEcartementZ, QStringLiteral("300")); });
    expectOneUndoRestores([&] { type(ui().txtFleche, QStringLiteral("-7")); });
    expectOneUndoRestores([&] { type(ui().txtDiedreMm, QStringLiteral("8")); });
    expectOneUndoRestores([&] { type(ui().txtDiedreDeg, QStringLiteral("3")); });
    for (int i = 0; i < 3; ++i)
        expectOneUndoRestores([&] { ui().chkFleche[static_cast<size_t>(i)]->setChecked(true); });
    for (int i = 0; i < 5; ++i)
        expectOneUndoRestores([&] { ui().chkDiedre[static_cast<size_t>(i)]->setChecked(true); });
    expectOneUndoRestores([&] { ui().chkAligner->setChecked(true); });

    // From a state with boxes checked back to one with others checked.
    ui().chkFleche[1]->setChecked(true);
    ui().chkDiedre[3]->setChecked(true);
    expectOneUndoRestores([&] { ui().chkAligner->setChecked(true); });
    EXPECT_TRUE(ui().chkFleche[1]->isChecked());
    EXPECT_TRUE(ui().chkDiedre[3]->isChecked());
    expectOneUndoRestores([&] { ui().chkFleche[0]->setChecked(true); });
    EXPECT_TRUE(ui().chkFleche[1]->isChecked());
    EXPECT_TRUE(messages().empty());
}

TEST_F(LayoutEntries, AnUndoneSweepIsNotBroughtBackByTheNextReapplication)
{
    loadWing();
    type(ui().txtFleche, QStringLiteral("30"));
    undo();
    EXPECT_FLOAT_EQ(c().FlecheBA, 40);
    type(ui().side[0].txtCorde, QStringLiteral("200")); // the same chord: only the re-application
    EXPECT_FLOAT_EQ(c().FlecheBA, 40);
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("40.0"));
}

TEST_F(LayoutEntries, RedoChecksTheBoxAgainAndPutsTheTipBack)
{
    loadWing();
    ui().chkFleche[2]->setChecked(true);
    const orv::Profils after = st().doc;
    undo();
    EXPECT_FALSE(ui().chkFleche[2]->isChecked());
    ui().cmdUndo[1]->click();
    EXPECT_TRUE(ui().chkFleche[2]->isChecked());
    EXPECT_EQ(st().layout.sweepMode, 2);
    EXPECT_EQ(st().doc, after);
}
