// Two wings in one block and the intermediate profile through the window:
// the constructions, the gap entry, the lock of the editing controls.
#include "layout_geometry_support.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

using namespace orvtest;
using orv::PointProfil;
using orv::test::profile;

namespace {

class LayoutWings : public LayoutWindowTest {
protected:
    void loadWing() { load(diamond(0, 0, 200, 24), diamond(40, 10, 150, 18)); }
};

} // namespace

// ---- two wings

TEST_F(LayoutWings, TheMirroredCopyDoublesBothProfiles)
{
    loadWing();
    const orv::Profils before = st().doc;
    type(ui().txtEcartementAiles, QStringLiteral("10"));
    ui().cmdDupliquer[0]->click();
    ASSERT_EQ(st().doc.NbPointsE(), 10);
    ASSERT_EQ(st().doc.NbPointsS(), 10);
    // Mirrored about y = root Y min - gap / 2 = -5, traced backwards.
    for (int32_t i = 1; i <= 5; ++i) {
        EXPECT_EQ(st().doc.PointsE[11 - i], (PointProfil{before.PointsE[i].X, -10 - before.PointsE[i].Y, 0}));
        EXPECT_EQ(st().doc.PointsS[11 - i], (PointProfil{before.PointsS[i].X, -10 - before.PointsS[i].Y, 0}));
    }
    EXPECT_EQ(ui().side[0].vscUnits->maximum(), 10);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LayoutWings, TheGapIsCheckedWithItsOwnTitleAndWrittenBackWithThreeDecimals)
{
    loadWing();
    const orv::Profils before = st().doc;
    ui().txtEcartementAiles->setText(QStringLiteral("1-2"));
    ui().cmdDupliquer[1]->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Erreur de saisie de l'écartement|Veuillez entrer un nombre décimal."}));
    EXPECT_TRUE(wholeTextSelected(ui().txtEcartementAiles));
    EXPECT_EQ(st().doc, before);

    ui().txtEcartementAiles->setText(QStringLiteral("30.14159"));
    ui().cmdDupliquer[0]->click();
    EXPECT_EQ(ui().txtEcartementAiles->text(), QStringLiteral("30.142"));
}

TEST_F(LayoutWings, HeadToTailEachFaceCarriesOneWingsRootAndTheOthersTip)
{
    loadWing();
    type(ui().txtDiedreMm, QStringLiteral("5"));
    ui().chkFleche[0]->setChecked(true);
    st().doc.PointsE.edit(2).Flags = orv::kSelected;
    ui().txtEcartementAiles->setText(QStringLiteral("60"));
    ui().cmdDupliquer[1]->click();
    // Lead-in, 5 points, lead-out, the drop, lead-in, 5 points, lead-out.
    ASSERT_EQ(st().doc.NbPointsE(), 15);
    ASSERT_EQ(st().doc.NbPointsS(), 15);
    const orv::ProfilePoints &e = st().doc.PointsE;
    EXPECT_EQ(e[1], (PointProfil{204, 12, 0}));
    EXPECT_EQ(e[7], (PointProfil{204, 12, 0}));
    EXPECT_EQ(e[8], (PointProfil{204, -18, 0}));
    EXPECT_EQ(e[9].X, st().doc.PointsS[2].X + 4);
    // The user's selection stays; the copies carry none.
    EXPECT_EQ(orv::test::numbersWith(e, orv::kSelected), std::vector<int32_t>{3});
    EXPECT_TRUE(orv::test::numbersWith(st().doc.PointsS, orv::kSelected).empty());
    // The stored dihedral is negated; the sweep box of the leading edges is off.
    EXPECT_EQ(st().layout.storedDihedral, -5);
    EXPECT_EQ(ui().txtDiedreMm->text(), QStringLiteral("-5.0"));
    EXPECT_FALSE(ui().chkFleche[0]->isChecked());
    EXPECT_EQ(st().layout.sweepMode, -1);
}

TEST_F(LayoutWings, OneUndoAfterEitherConstructionRestoresTheDocumentAndTheBoxes)
{
    loadWing();
    ui().chkFleche[0]->setChecked(true);
    ui().chkDiedre[4]->setChecked(true);
    type(ui().txtEcartementAiles, QStringLiteral("60"));
    expectOneUndoRestores([&] { ui().cmdDupliquer[0]->click(); });
    expectOneUndoRestores([&] { ui().cmdDupliquer[1]->click(); });
    EXPECT_TRUE(ui().chkFleche[0]->isChecked());
    EXPECT_TRUE(ui().chkDiedre[4]->isChecked());
}

// ---- intermediate profile

TEST_F(LayoutWings, TickingTheIntermediateProfileLocksEverythingButItsOwnControls)
{
    loadWing();
    ui().chkProfilIntermediaire->setChecked(true);
    EXPECT_FALSE(ui().cmdOuvrirProfil[0]->isEnabled());
    EXPECT_FALSE(ui().side[0].txtCorde->isEnabled());
    EXPECT_FALSE(ui().cmdLisser->isEnabled());
    EXPECT_FALSE(ui().frmFleche->isEnabled());
    EXPECT_FALSE(ui().cmdUndo[0]->isEnabled());
    EXPECT_TRUE(ui().chkProfilIntermediaire->isEnabled());
    EXPECT_TRUE(ui().txtEcartementIntermediaire->isEnabled());
    EXPECT_FALSE(ui().cmdSauveProfil[3]->isEnabled());

    type(ui().txtEcartementIntermediaire, QStringLiteral("125"));
    EXPECT_EQ(st().EcartementIntermediaire, 125);
    ASSERT_EQ(st().intermediate.count(), 5);
    // A quarter of the way from each root point to its tip point.
    for (int32_t i = 1; i <= 5; ++i) {
        EXPECT_FLOAT_EQ(st().intermediate[i].X,
                        st().doc.PointsE[i].X + (st().doc.PointsS[i].X - st().doc.PointsE[i].X) / 4);
        EXPECT_FLOAT_EQ(st().intermediate[i].Y,
                        st().doc.PointsE[i].Y + (st().doc.PointsS[i].Y - st().doc.PointsE[i].Y) / 4);
    }
    EXPECT_TRUE(ui().cmdSauveProfil[3]->isEnabled());
    EXPECT_TRUE(ed().showFlags().intermediate);
    EXPECT_TRUE(ui().chkProfilIntermediaire->isEnabled()); // after the redraw too
    EXPECT_FALSE(ui().cmdOuvrirProfil[0]->isEnabled());

    ui().chkProfilIntermediaire->setChecked(false);
    EXPECT_TRUE(ui().cmdOuvrirProfil[0]->isEnabled());
    EXPECT_TRUE(ui().side[0].txtCorde->isEnabled());
    EXPECT_TRUE(ui().frmFleche->isEnabled());
    EXPECT_TRUE(ui().cmdUndo[0]->isEnabled());
    EXPECT_FALSE(ui().cmdSauveProfil[3]->isEnabled());
    EXPECT_FALSE(ui().txtEcartementIntermediaire->isEnabled());
    EXPECT_FALSE(ed().showFlags().intermediate);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LayoutWings, AnIntermediateProfileOutsideThePanelIsRefusedAndItsSpacingGoesBackToZero)
{
    loadWing();
    ui().chkProfilIntermediaire->setChecked(true);
    type(ui().txtEcartementIntermediaire, QStringLiteral("250"));
    ASSERT_TRUE(ui().cmdSauveProfil[3]->isEnabled());
    for (const char *distance : {"500", "0", "720.5"})
        type(ui().txtEcartementIntermediaire, QString::fromUtf8(distance));
    EXPECT_EQ(messages(),
              (std::vector<std::string>(3, "Erreur de dimension|Le profil intermediaire doit être placé "
                                           "entre l'emplanture et le saumon")));
    EXPECT_EQ(st().EcartementIntermediaire, 0);
    EXPECT_EQ(ui().txtEcartementIntermediaire->text(), QStringLiteral("0.0"));
    EXPECT_TRUE(wholeTextSelected(ui().txtEcartementIntermediaire));
    EXPECT_FALSE(ui().cmdSauveProfil[3]->isEnabled());
    EXPECT_TRUE(st().intermediate.empty());
}

TEST_F(LayoutWings, AnIntermediateProfileOfATipWithFewerPointsIsRefused)
{
    load(diamond(0, 0, 200, 24), profile({{0, 0}, {100, 10}, {150, 0}}));
    ui().chkProfilIntermediaire->setChecked(true);
    type(ui().txtEcartementIntermediaire, QStringLiteral("100"));
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Erreur de dimension|L'emplanture et le saumon n'ont pas le même nombre de "
                              "points, le profil intermédiaire est impossible. Synchronisez d'abord les "
                              "profils."}));
    EXPECT_TRUE(st().intermediate.empty());
    EXPECT_EQ(st().EcartementIntermediaire, 0);
    EXPECT_FALSE(ui().cmdSauveProfil[3]->isEnabled());
}
