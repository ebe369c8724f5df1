// The exchange with the cutting program through the window: the transfer's
// titles, a transfer brought back by the import, the import's refusals, and
// Sorvane projects opened from the root open dialog.
#include "editor_test_support.h"

#include "core/view.h"
#include "editor/exchange_files.h"
#include "editor/exchange_part.h"
#include "editor/profile_canvas.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

#include <cmath>

using namespace orvtest;
using orv::MessageButton;
using orv::PointProfil;

namespace {

// A root of chord 200 with its lowest point 8 mm below the leading edge, and
// a tip of chord 150 placed 25.5 mm back and 10.25 mm up.
const std::vector<PointProfil> kRoot{{200, 0, 0}, {100, 12, 0}, {0, 0, 0}, {100, -8, 0}, {200, 0, 0}};
std::vector<PointProfil> tipOfPanel()
{
    std::vector<PointProfil> tip;
    for (const PointProfil &p : kRoot)
        tip.push_back({p.X * 0.75f + 25.5f, p.Y * 0.75f + 8.25f, 0});
    return tip;
}

class Exchange : public WindowTest {
protected:
    void loadPanel()
    {
        start();
        loadDocument(kRoot, tipOfPanel(), 312.25f);
        ui().side[0].lblNomFichier->setText(QStringLiteral("aile.dat"));
        ui().side[1].lblNomFichier->setText(QStringLiteral("bout.dat"));
        platform.clearRecords();
    }
    QString exchange(orv::Side side) const { return path(side == orv::Emplanture ? "TempE.dat" : "TempS.dat"); }
    QByteArray firstLine(const QString &p) const
    {
        const QByteArray bytes = read(p);
        return bytes.left(bytes.indexOf('\n'));
    }
    void import() { ui().cmdImportSorvane->click(); }

    // Everything a refused command must leave as it was.
    struct Observed {
        orv::Profils doc;
        int32_t history, position;
        QString nameE, nameS;
        bool editable;
        bool operator==(const Observed &) const = default;
    };
    Observed observe()
    {
        return {st().doc,
                st().history.count(),
                st().history.position(),
                ui().side[0].lblNomFichier->text(),
                ui().side[1].lblNomFichier->text(),
                ui().pctProfils->isEnabled()};
    }
};

void expectNear(const orv::ProfilePoints &got, const std::vector<PointProfil> &want, float dx, float dy)
{
    ASSERT_EQ(got.count(), int32_t(want.size()));
    for (int32_t i = 1; i <= got.count(); ++i) {
        EXPECT_NEAR(got[i].X, want[size_t(i - 1)].X + dx, 2e-3) << "point " << i;
        EXPECT_NEAR(got[i].Y, want[size_t(i - 1)].Y + dy, 2e-3) << "point " << i;
    }
}

} // namespace

TEST_F(Exchange, TheTransferTitlesCarryChordsSweepDihedralAndSpacingWithThreeDecimals)
{
    loadPanel();
    ui().cmdTransfertSorvane->click();
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(firstLine(exchange(orv::Emplanture)), QByteArray("E;200.000;00000.000;00000.000;00000.000;aile.dat\r"));
    EXPECT_EQ(firstLine(exchange(orv::Saumon)), QByteArray("S;150.000;25.500;10.250;312.250;bout.dat\r"));
}

TEST_F(Exchange, ATransferFollowedByAnImportGivesThePanelBack)
{
    loadPanel();
    ui().cmdTransfertSorvane->click();
    loadDocument({{0, 0, 0}, {10, 1, 0}, {20, 0, 0}}, {{0, 0, 0}, {10, 1, 0}, {20, 0, 0}}, 50);
    const int32_t entries = st().history.count();
    import();

    ASSERT_EQ(messages(), std::vector<std::string>{"Demande d'importation|Voulez-vous importer un projet qui "
                                                   "effacera le projet en cours?"});
    EXPECT_EQ(platform.messages()[0].style, orv::MessageStyle::ExclamationYesNo);
    // The library reads every file back with its lowest, foremost corner at
    // the origin; the panel keeps its shape and its layout.
    expectNear(st().doc.PointsE, kRoot, 0, 8);
    expectNear(st().doc.PointsS, tipOfPanel(), 0, 8);
    EXPECT_NEAR(st().doc.C.E.Corde, 200, 1e-3);
    EXPECT_NEAR(st().doc.C.S.Corde, 150, 1e-3);
    EXPECT_NEAR(st().doc.C.FlecheBA, 25.5, 1e-3);
    EXPECT_NEAR(st().doc.C.DiedreMm, 10.25, 1e-3);
    EXPECT_FLOAT_EQ(st().doc.Ecartement, 312.25f);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("200.0"));
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("150.0"));
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("25.5"));
    EXPECT_EQ(ui().txtDiedreMm->text(), QStringLiteral("10.25"));
    EXPECT_EQ(ui().txtEcartementZ->text(), QStringLiteral("312.25"));
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("TempE.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("TempS.dat"));
    EXPECT_EQ(st().history.count(), entries + 1);
}

TEST_F(Exchange, AnImportWithOnlyTheRootFileShowsTheMissingFilesMessageAndChangesNothing)
{
    loadPanel();
    ui().cmdTransfertSorvane->click();
    QFile::remove(exchange(orv::Saumon));
    const Observed before = observe();
    import();
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Demande d'importation|Voulez-vous importer un projet qui effacera le projet en cours?",
                  "TempE.dat ou/et TempS.dat introuvable(s)|Les fichiers d'importation n'ont pas été trouvés"}));
    EXPECT_EQ(platform.messages()[1].style, orv::MessageStyle::CriticalOk);
    EXPECT_TRUE(observe() == before);
}

TEST_F(Exchange, AnsweringNoLeavesTheDocumentAsItsEditingWas)
{
    // A loaded document stays editable.
    loadPanel();
    const Observed loaded = observe();
    platform.queueAnswer(MessageButton::No);
    import();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_TRUE(observe() == loaded);
    EXPECT_TRUE(ui().cmdSauveProfil[0]->isEnabled());

    // An empty window stays locked.
    start();
    platform.queueAnswer(MessageButton::No);
    import();
    EXPECT_FALSE(ui().pctProfils->isEnabled());
    EXPECT_TRUE(ui().cmdImportSorvane->isEnabled());

    // A document imported into a fresh window (ProjetCharge still false) is
    // not locked by a second import answered No.
    loadPanel();
    ui().cmdTransfertSorvane->click();
    start();
    import();
    ASSERT_TRUE(ui().pctProfils->isEnabled());
    ASSERT_FALSE(st().ProjetCharge);
    platform.queueAnswer(MessageButton::No);
    import();
    EXPECT_TRUE(ui().pctProfils->isEnabled());
}

TEST_F(Exchange, DamagedExchangeFilesAreRefusedWithTheirNameAndNothingChanges)
{
    const QByteArray points = "1.0 0.0\n0.5 0.1\n0.0 0.0\n0.5 -0.1\n1.0 0.0\n";
    struct Case {
        const char *what;
        QByteArray root, tip;
        orv::Side named;
        const char *title;
    };
    const Case cases[] = {
        {"a tip title without its last fields", "E;200.000;0;0;0;a\n" + points, "S;150.000;25.5\n" + points,
         orv::Saumon, "Importation impossible"},
        {"a tip title with a word for a number", "E;200.000;0;0;0;a\n" + points,
         "S;150.000;vingt;1.000;300.000;b\n" + points, orv::Saumon, "Importation impossible"},
        {"a root title without its chord", "E\n" + points, "S;150.000;1.000;2.000;300.000;b\n" + points,
         orv::Emplanture, "Importation impossible"},
        {"a tip file without points", "E;200.000;0;0;0;a\n" + points, "S;150.000;1.000;2.000;300.000;b\n",
         orv::Saumon, "Lecture impossible"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        loadPanel();
        write(QStringLiteral("TempE.dat"), c.root);
        write(QStringLiteral("TempS.dat"), c.tip);
        const Observed before = observe();
        import();
        ASSERT_EQ(platform.messages().size(), 2u);
        const orv::RecordedMessage &m = platform.messages()[1];
        EXPECT_EQ(m.title.toStdString(), c.title);
        EXPECT_TRUE(m.text.contains(exchange(c.named))) << m.text.toStdString();
        EXPECT_TRUE(observe() == before);
    }
}

TEST_F(Exchange, AProfileAlreadyAtItsTitleChordIsReadAsItIs)
{
    loadPanel();
    // Sorvane writes its own files in millimetres.
    write(QStringLiteral("TempE.dat"), "E;100.000;0;0;0;a\n100 0\n50 6\n0 0\n50 -4\n100 0\n");
    write(QStringLiteral("TempS.dat"), "S;80.000;5.000;-2.000;400.000;b\n80 0\n40 5\n0 0\n40 -3\n80 0\n");
    import();
    EXPECT_EQ(messages().size(), 1u);
    expectNear(st().doc.PointsE, {{100, 4, 0}, {50, 10, 0}, {0, 4, 0}, {50, 0, 0}, {100, 4, 0}}, 0, 0);
    expectNear(st().doc.PointsS, {{80, 3, 0}, {40, 8, 0}, {0, 3, 0}, {40, 0, 0}, {80, 3, 0}}, 5, -2);
}

// ---- Sorvane projects

namespace {

const char *kProject = "[Sorvane]\r\n"
                       "E1=0;0\r\nE2=100;0\r\nE3=100;10\r\nE4=0;0\r\n"
                       "S1=0;0\r\nS2=50;0\r\nS3=50,0;20\r\n"
                       "EFichier=racine.dat\r\nSFichier=bout.dat\r\n"
                       "ExHauteur=2\r\nSMiroirHorizontal=true\r\nSVrillage=90\r\nSFlecheBA=30\r\n"
                       "EMDessous=1.5\r\nSMDessous=4\r\nSEnvergure=800\r\n"
                       "Commentaire=Aile d'essai\r\nCommentaire=seconde ligne\r\n"
                       "Fin=\r\nE5=999;999\r\n";

} // namespace

TEST_F(Exchange, ASorvaneProjectOpensWithItsWholeSideLayoutApplied)
{
    loadPanel();
    st().doc.PointsE.edit(2).Flags = orv::kSelected; // the layout ignores the selection
    ed().finish();
    const orv::Profils previous = st().doc;
    const QString p = write(QStringLiteral("essai.sv"), kProject);
    openFile(0, p);

    EXPECT_TRUE(platform.messages().empty()) << messages().front();
    // Root stretched 200 % in Y about its middle height; tip mirrored in X,
    // turned by -90 degrees about its centre (25, 10), then placed 30 mm back
    // and 4 - 1.5 = 2.5 mm above the root's lowest point.
    expectNear(st().doc.PointsE, {{0, -5, 0}, {100, -5, 0}, {100, 15, 0}, {0, -5, 0}}, 0, 0);
    expectNear(st().doc.PointsS, {{30, -2.5f, 0}, {30, 47.5f, 0}, {50, 47.5f, 0}}, 0, 0);
    for (orv::Side side : orv::kSides)
        st().doc.points(side).forEach([](int32_t i, const PointProfil &q) { EXPECT_EQ(q.Flags, 0) << i; });
    EXPECT_FLOAT_EQ(st().doc.Ecartement, 800);
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("30.0"));
    EXPECT_EQ(ui().txtDiedreMm->text(), QStringLiteral("2.5"));
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("racine.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("bout.dat"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - ") + p);
    EXPECT_TRUE(st().view.isSideView());
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QStringLiteral("Aile d'essai\r\nseconde ligne"));
    EXPECT_TRUE(ui().chkVoirCommentaires->isChecked());
    EXPECT_TRUE(st().ProjetCharge);

    // The whole opening is one step of the history.
    ui().cmdUndo[0]->click();
    EXPECT_TRUE(st().doc == previous);
}

TEST_F(Exchange, ASorvaneProjectWithMissingOrMalformedNumbersIsRefusedAndNothingChanges)
{
    struct Case {
        const char *what;
        QByteArray text;
        const char *problem;
    };
    const Case cases[] = {
        {"no tip point", "E1=0;0\nE2=10;0\nSEnvergure=500\n", "il ne contient aucun point de saumon."},
        {"a point with one number", "E1=0;0\nE2=10\nS1=0;0\nSEnvergure=500\n",
         "ligne 2 (« E2=10 ») : un point s'écrit X;Y avec deux nombres."},
        {"a word for a number", "E1=0;0\nS1=0;0\nSEnvergure=500\nSVrillage=dix\n",
         "ligne 4 (« SVrillage=dix ») : la valeur n'est pas un nombre."},
        {"no spacing", "E1=0;0\nS1=0;0\n", "il n'indique pas d'envergure (clé « Envergure ») positive."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        loadPanel();
        st().doc.PointsS.edit(3).Flags = orv::kSelected;
        ed().finish();
        const Observed before = observe();
        const QString caption = window().windowTitle();
        const QString p = write(QStringLiteral("abime.sv"), c.text);
        openFile(0, p);
        EXPECT_EQ(messages(), std::vector<std::string>{"Ouverture du projet impossible|Le projet Sorvane « " +
                                                       p.toStdString() + " » ne peut pas être ouvert : " +
                                                       c.problem + "\r\nLe projet en cours est conservé."});
        EXPECT_TRUE(observe() == before);
        EXPECT_EQ(window().windowTitle(), caption);
    }
}

TEST(SorvaneProjectText, TheDihedralIsTheTipOffsetOnceEitherSideHasAnOffsetKey)
{
    const QString points = QStringLiteral("E1=0;0\nS1=0;0\nSEnvergure=500\nEMDessous=1\nSMDessous=4\n");
    struct Case {
        const char *extra;
        double dihedral;
    };
    for (const Case &c : {Case{"", 3}, Case{"SDecalage=6\n", 6}, Case{"EDecalage=6\n", 0}}) {
        const orv::SorvaneRead read = orv::readSorvaneProject(points + QString::fromUtf8(c.extra));
        ASSERT_TRUE(read.project) << read.problem.toStdString();
        EXPECT_DOUBLE_EQ(read.project->dihedral(), c.dihedral) << c.extra;
    }
}
