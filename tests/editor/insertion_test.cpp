// Profile insertion through the window: ticking keeps the document aside,
// a root loaded meanwhile is spliced in after the insertion points on
// unticking, and unticking without a load gives the first document back.
#include "editor_test_support.h"

#include "core/characteristics.h"
#include "editor/insertion_part.h"
#include "editor/profile_canvas.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace orvtest;
using orv::PointProfil;

namespace {

class Insertion : public WindowTest {
protected:
    // A root and a tip of ten points each; the tip lies 25 mm back and 10 up.
    void loadRows(std::initializer_list<int32_t> selectedE, std::initializer_list<int32_t> selectedS)
    {
        std::vector<PointProfil> root, tip;
        for (int i = 0; i < 10; ++i) {
            root.push_back({10.0f * float(i), float(i % 3), int16_t(i == 6 ? orv::kReference : 0)});
            tip.push_back({25 + 8.0f * float(i), 10 + float(i % 2), 0});
        }
        for (int32_t k : selectedE)
            root[size_t(k - 1)].Flags |= orv::kSelected;
        for (int32_t k : selectedS)
            tip[size_t(k - 1)].Flags |= orv::kSelected;
        placeProfiles(orv::ProfilePoints(root), orv::ProfilePoints(tip), 400);
        ed().finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = orv::Finish::View::Rebuild});
        ui().side[0].lblNomFichier->setText(QStringLiteral("premier.dat"));
        ui().side[1].lblNomFichier->setText(QStringLiteral("premier.dat"));
        st().fileNames = {QStringLiteral("premier.dat"), QStringLiteral("premier.dat")};
        platform.clearRecords();
    }
    // Five points of an arc, loaded as a root (and thus as its tip too).
    void loadFivePoints()
    {
        openFile(0, write(QStringLiteral("cinq.dat"), "Cinq\n1 0\n0.75 0.1\n0.5 0.12\n0.25 0.1\n0 0\n"));
    }
    void tick(bool on) { ui().chkInsertionProfils->setChecked(on); }
    std::vector<int32_t> selected(orv::Side side)
    {
        std::vector<int32_t> out;
        st().doc.points(side).forEach([&](int32_t i, const PointProfil &p) {
            if (p.has(orv::kSelected))
                out.push_back(i);
        });
        return out;
    }
    std::vector<QString> layoutTexts()
    {
        std::vector<QString> out;
        for (QLineEdit *box : {static_cast<QLineEdit *>(ui().side[0].txtCorde),
                               static_cast<QLineEdit *>(ui().side[1].txtCorde),
                               static_cast<QLineEdit *>(ui().txtEcartementZ), static_cast<QLineEdit *>(ui().txtFleche),
                               static_cast<QLineEdit *>(ui().txtDiedreMm), static_cast<QLineEdit *>(ui().txtDiedreDeg)})
            out.push_back(box->text());
        out.push_back(ui().lblFleche->text());
        out.push_back(ui().lblDiedre->text());
        return out;
    }
};

std::vector<int32_t> range(int32_t from, int32_t to)
{
    std::vector<int32_t> v;
    for (int32_t i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

} // namespace

TEST_F(Insertion, FivePointsInsertedAfterPointFourOfTenGiveSixteenWithTheInsertedStretchSelected)
{
    loadRows({4}, {4});
    const orv::Profils first = st().doc;
    tick(true);
    EXPECT_TRUE(ui().lblInsertionProfils->isVisible());
    EXPECT_FALSE(st().ProjetCharge);
    EXPECT_FALSE(ui().pctProfils->isEnabled());
    EXPECT_TRUE(ui().chkInsertionProfils->isEnabled());
    EXPECT_TRUE(platform.messages().empty());

    loadFivePoints();
    const orv::ProfilePoints loaded = st().doc.PointsE;
    ASSERT_EQ(loaded.count(), 5);
    tick(false);

    const orv::ProfilePoints &root = st().doc.PointsE;
    ASSERT_EQ(root.count(), 16);
    for (int32_t i = 1; i <= 4; ++i) {
        PointProfil kept = first.PointsE[i];
        kept.Flags = int16_t(kept.Flags & ~orv::kSelected);
        EXPECT_EQ(root[i], kept) << i;
    }
    for (int32_t i = 5; i <= 9; ++i)
        EXPECT_EQ(root[i], (PointProfil{loaded[i - 4].X, loaded[i - 4].Y, orv::kSelected})) << i;
    EXPECT_EQ(root[10], (PointProfil{first.PointsE[4].X, first.PointsE[4].Y, orv::kSelected}));
    for (int32_t i = 11; i <= 16; ++i)
        EXPECT_EQ(root[i], first.PointsE[i - 6]) << i; // point 7 keeps its reference mark
    EXPECT_EQ(selected(orv::Emplanture), range(5, 10));
    EXPECT_EQ(selected(orv::Saumon), range(5, 10));
    EXPECT_EQ(st().doc.NbPointsS(), 16);
    EXPECT_FALSE(ui().lblInsertionProfils->isVisible());
    EXPECT_TRUE(st().ProjetCharge);
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("premier.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("premier.dat"));
    // The tip keeps the first document's sweep and dihedral.
    EXPECT_NEAR(st().doc.C.FlecheBA, first.C.FlecheBA, 1e-4);
    EXPECT_NEAR(st().doc.C.DiedreMm, first.C.DiedreMm, 1e-4);

    // The splice is undone like any command: back to the first document.
    ui().cmdUndo[0]->click();
    ui().cmdUndo[0]->click();
    EXPECT_TRUE(st().doc == first);
}

TEST_F(Insertion, WithoutATipSelectionTheMessageIsShownAndTheTipGetsItAfterItsLastPoint)
{
    loadRows({4}, {});
    tick(true);
    EXPECT_EQ(messages(), std::vector<std::string>{"Pas de sélection sur un profil|Si vous ne sélectionnez pas de "
                                                   "point d'insertion sur un profil, l'insertion se fera sur le "
                                                   "dernier point."});
    EXPECT_EQ(platform.messages()[0].style, orv::MessageStyle::CriticalOk);
    loadFivePoints();
    tick(false);
    EXPECT_EQ(selected(orv::Emplanture), range(5, 10));
    EXPECT_EQ(st().doc.NbPointsS(), 16);
    EXPECT_EQ(selected(orv::Saumon), range(11, 16));
}

TEST_F(Insertion, UntickingWithoutLoadingGivesTheFirstDocumentItsBoxesAndItsHistoryBack)
{
    loadRows({4}, {2});
    const orv::Profils first = st().doc;
    const std::vector<QString> texts = layoutTexts();
    std::vector<orv::Snapshot> entries;
    for (int32_t i = 1; i <= st().history.count(); ++i)
        entries.push_back(st().history.entry(i));
    tick(true);
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("0.0")); // the reload emptied the boxes
    tick(false);

    EXPECT_TRUE(st().doc == first);
    EXPECT_EQ(layoutTexts(), texts);
    // The history as it was, with the snapshot the tick recorded.
    ASSERT_EQ(st().history.count(), int32_t(entries.size()) + 1);
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_TRUE(st().history.entry(int32_t(i + 1)) == entries[i]) << i;
    EXPECT_TRUE(st().history.entry(st().history.count()).doc == first);
    EXPECT_EQ(st().history.position(), st().history.count());
    EXPECT_TRUE(st().ProjetCharge);
    EXPECT_TRUE(ui().pctProfils->isEnabled());
    EXPECT_TRUE(ui().cmdOuvrirProfil[1]->isEnabled());
    EXPECT_FALSE(ui().lblInsertionProfils->isVisible());
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("premier.dat"));
}

TEST_F(Insertion, ContoursImportedFromTheCutterAreInsertedThoughTheImportLeavesProjetChargeAlone)
{
    loadRows({4}, {4});
    ui().cmdTransfertSorvane->click();
    tick(true);
    ui().cmdImportSorvane->click();
    ASSERT_FALSE(st().ProjetCharge);
    tick(false);
    EXPECT_EQ(st().doc.NbPointsE(), 21);
    EXPECT_EQ(selected(orv::Emplanture), range(5, 15));
    EXPECT_TRUE(st().ProjetCharge);
}
