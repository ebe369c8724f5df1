// Projects through the window: save and reopen, the command line, refused and
// damaged projects, a failed save, and the bundled sample project.
#include "editor_test_support.h"

#include "core/layout.h"
#include "editor/files_part.h"
#include "platform/ini_document.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

using namespace orvtest;

namespace {

class Projects : public WindowTest {
protected:
    // A document of a 3-point root and a 4-point tip with marks, a two-line
    // comment and a known view.
    void makeDocument()
    {
        openFile(0, QString::fromStdString(sample("naca2412.dat")));
        openFile(1, QString::fromStdString(sample("naca0012.dat")));
        st().doc.PointsE = orv::ProfilePoints({{0, 0, 7}, {100, 10, 0}, {50, -5.5f, 2}});
        st().doc.PointsS = orv::ProfilePoints({{10, 0, 0}, {90, 8, 4}, {50, -4, 1}, {10, 0, 0}});
        st().doc.Ecartement = 250;
        ed().finish({.cursors = true});
        ui().txtCommentaire->setTextCrLf(QStringLiteral("a\r\nb"));
        st().view.state.CoeffZoom = 2;
        st().view.state.XCentreZoom = -50;
        st().view.state.YCentreZoom = 1.5f;
    }
    QString saveAs(const QString &name)
    {
        const QString p = path(name);
        platform.queueFile(p, 1);
        window().files().cmdSauveProfil_Click(2);
        return p;
    }
    static QByteArray expectedProject()
    {
        return "[Emplanture]\r\nNomFichier=naca2412.dat\r\nNombrePoints=3\r\n1=0.000000:0.000000:7\r\n"
               "2=100.000000:10.000000:0\r\n3=50.000000:-5.500000:2\r\n"
               "[Saumon]\r\nNomFichier=naca0012.dat\r\nNombrePoints=4\r\n1=10.000000:0.000000:0\r\n"
               "2=90.000000:8.000000:4\r\n3=50.000000:-4.000000:1\r\n4=10.000000:0.000000:0\r\n"
               "[Position]\r\nEcartement=250.000000\r\nBoutonFleche=-1\r\nBoutonDiedre=-1\r\nBoutonAligner=-"
               "1\r\n"
               "[Affichage]\r\nCoeffZoom=2.000000\r\nXCentreZoom=-50.000000\r\nYCentreZoom=1.500000\r\n"
               "Omega=120.000000\r\nAlpha=143.000000\r\nCommentaire=a;b\r\n";
    }
};

} // namespace

TEST_F(Projects, ASavedProjectHoldsExactlyTheDocument)
{
    start();
    makeDocument();
    const int32_t history = st().history.count();
    const QString p = saveAs(QStringLiteral("aile.orv"));
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(read(p), expectedProject());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - ") + p);
    EXPECT_EQ(st().history.count(), history);
    EXPECT_EQ(platform.dialogs().back().title, QStringLiteral("Enregistrer le projet ou l'image 3D..."));
}

TEST_F(Projects, AProjectComesBackWithItsCountsMarksCommentAndCaption)
{
    start();
    makeDocument();
    const QString p = saveAs(QStringLiteral("aile.orv"));
    const orv::ProfilePoints root = st().doc.PointsE, tip = st().doc.PointsS;

    start();
    openFile(0, p);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(st().doc.PointsE, root);
    EXPECT_EQ(st().doc.PointsS, tip);
    EXPECT_EQ(st().doc.PointsE[1].Flags, 7);
    EXPECT_FLOAT_EQ(st().doc.Ecartement, 250);
    EXPECT_FALSE(ui().chkFil->isEnabled());
    EXPECT_FALSE(ui().chkSurface->isEnabled());
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QStringLiteral("a\r\nb"));
    EXPECT_TRUE(ui().chkVoirCommentaires->isChecked());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - ") + p);
    EXPECT_TRUE(st().ProjetCharge);
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("naca2412.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("naca0012.dat"));
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("100.0"));
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("80.0"));
    EXPECT_EQ(ui().txtFleche->text(), QStringLiteral("10.0"));
    EXPECT_EQ(ui().txtDiedreMm->text(), QStringLiteral("1.5"));
    EXPECT_EQ(ui().txtEcartementZ->text(), QStringLiteral("250.0"));
    EXPECT_FLOAT_EQ(st().layout.storedSweep, 10);
    EXPECT_FLOAT_EQ(st().layout.storedDihedral, 1.5f);
    EXPECT_TRUE(ui().cmdSupprimer->isEnabled() || ui().cmdOuvrirProfil[1]->isEnabled());

    // Saved again unchanged, it gives the same bytes.
    st().view.state.CoeffZoom = 2;
    st().view.state.XCentreZoom = -50;
    st().view.state.YCentreZoom = 1.5f;
    EXPECT_EQ(read(saveAs(QStringLiteral("encore.orv"))), expectedProject());
}

TEST_F(Projects, TheStoredLayoutBoxesAndViewAreSetBack)
{
    const QString p = write(
        QStringLiteral("boites.orv"),
        "[Emplanture]\r\nNombrePoints=2\r\n1=0:0:0\r\n2=100:0:0\r\n[Saumon]\r\nNombrePoints=2\r\n1=0:0:0\r\n"
        "2=100:0:0\r\n[Position]\r\nEcartement=300\r\nBoutonFleche=2\r\nBoutonDiedre=3\r\nBoutonAligner=-"
        "1\r\n"
        "[Affichage]\r\nOmega=90\r\nAlpha=180\r\n");
    start();
    openFile(0, p);
    EXPECT_TRUE(ui().chkFleche[2]->isChecked());
    EXPECT_TRUE(ui().chkDiedre[3]->isChecked());
    EXPECT_FALSE(ui().chkAligner->isChecked());
    EXPECT_EQ(ui().hscOmega->value(), 90);
    EXPECT_EQ(ui().hscAlpha->value(), 180);
    EXPECT_TRUE(st().view.isSideView());
    // No comment stored: the box keeps what it held and stays hidden.
    EXPECT_FALSE(ui().chkVoirCommentaires->isChecked());
}

TEST_F(Projects, UndoAfterOpeningAProjectGoesBackAndRedoReturnsToIt)
{
    start();
    openFile(0, QString::fromStdString(fixture("dat/clarky.dat")));
    const orv::ProfilePoints before = st().doc.PointsE;
    const QString p =
        write(QStringLiteral("petit.orv"), "[Emplanture]\r\nNombrePoints=2\r\n1=0:0:0\r\n2=5:0:0\r\n"
                                           "[Saumon]\r\nNombrePoints=2\r\n1=0:0:0\r\n2=5:0:0\r\n");
    openFile(0, p);
    EXPECT_EQ(st().doc.NbPointsE(), 2);
    ui().cmdUndo[0]->click();
    EXPECT_EQ(st().doc.PointsE, before);
    ui().cmdUndo[1]->click();
    EXPECT_EQ(st().doc.NbPointsE(), 2);
}

TEST_F(Projects, TheCommandLineOpensAQuotedOrPlainProjectAndIgnoresOtherCases)
{
    start();
    makeDocument();
    const QString p = saveAs(QStringLiteral("ligne.orv"));

    start(u'"' + p + u'"');
    EXPECT_EQ(st().doc.NbPointsS(), 4);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - ") + p);

    start(p);
    EXPECT_EQ(st().doc.NbPointsS(), 4);
    EXPECT_TRUE(st().ProjetCharge);

    const QString mixed = path(QStringLiteral("ligne.Orv"));
    QFile::copy(p, mixed);
    platform.clearRecords();
    start(u'"' + mixed + u'"');
    EXPECT_FALSE(st().ProjetCharge);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis"));
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(Projects, AProjectThatCannotBeUsedIsRefusedAndTheDocumentKept)
{
    start();
    openFile(0, QString::fromStdString(fixture("dat/clarky.dat")));
    const orv::Profils doc = st().doc;
    const int32_t history = st().history.count();
    struct Case {
        QString name;
        QByteArray bytes;
        std::string text;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("absent.orv"), {}, "Le projet « %1 » est introuvable."},
        {QStringLiteral("reglages.orv"), "[Fenêtre]\r\nLeft=0\r\n",
         "Le fichier « %1 » n'est pas un projet Orvalis.\r\nLe projet en cours est conservé."},
        {QStringLiteral("vide.orv"), "[Emplanture]\r\nNombrePoints=0\r\n[Saumon]\r\nNombrePoints=0\r\n",
         "Le projet « %1 » ne contient aucun point d'emplanture utilisable.\r\nLe projet en cours est "
         "conservé."},
        {QStringLiteral("sans_saumon.orv"),
         "[Emplanture]\r\nNombrePoints=1\r\n1=0:0:0\r\n[Saumon]\r\nNombrePoints=0\r\n",
         "Le projet « %1 » ne contient aucun point de saumon utilisable.\r\nLe projet en cours est "
         "conservé."},
    };
    for (const Case &c : cases) {
        platform.clearRecords();
        const QString p = c.bytes.isNull() ? path(c.name) : write(c.name, c.bytes);
        EXPECT_FALSE(window().files().openProject(p));
        const QString text = QString::fromStdString(c.text).arg(p);
        EXPECT_EQ(messages(),
                  std::vector<std::string>{"Ouverture du projet impossible|" + text.toStdString()});
        EXPECT_EQ(st().doc, doc);
        EXPECT_EQ(st().history.count(), history);
        EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - Nouveau projet"));
    }
}

TEST_F(Projects, ARefusedProjectAtStartLeavesTheWindowEmptyButUsable)
{
    const QString p = write(QStringLiteral("vide.orv"), "[Emplanture]\r\nNombrePoints=0\r\n");
    start(p);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_FALSE(st().ProjetCharge);
    EXPECT_FALSE(ui().cmdFermerProfil[0]->isEnabled());
    openFile(0, QString::fromStdString(fixture("dat/clarky.dat")));
    EXPECT_TRUE(st().ProjetCharge);
}

TEST_F(Projects, ADamagedProjectOpensWhatIsSoundAndSaysSoOnce)
{
    const QString p =
        write(QStringLiteral("abime.orv"),
              "[Emplanture]\r\nNomFichier=a.dat\r\nNombrePoints=-3\r\n1=0:0:0\r\n2=cent\r\n3=100:5:99999\r\n"
              "4=50:-5:1\r\n[Saumon]\r\nNombrePoints=999999\r\n1=0:0:0\r\n2=80:4:0\r\n"
              "[Position]\r\nEcartement=200\r\nBoutonFleche=9\r\nBoutonDiedre=-1\r\n");
    start();
    openFile(0, p);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Projet endommagé"));
    EXPECT_EQ(
        platform.messages()[0].text,
        QStringLiteral(
            "Le projet « %1 » est endommagé : ce qui était illisible a été ignoré.\r\n"
            "Emplanture : 1 point(s) illisible(s) ignoré(s).\r\n"
            "Emplanture : le nombre de points annoncé ne correspond pas au fichier ; 3 point(s) lu(s).\r\n"
            "Emplanture : les marques de 1 point(s) étaient invalides et ont été corrigées.\r\n"
            "Saumon : le nombre de points annoncé ne correspond pas au fichier ; 2 point(s) lu(s).\r\n"
            "Une case de flèche ou de dièdre enregistrée n'existe pas : elle reste décochée.")
            .arg(p));
    EXPECT_EQ(st().doc.PointsE, orv::ProfilePoints({{0, 0, 0}, {100, 5, 0}, {50, -5, 1}}));
    EXPECT_EQ(st().doc.NbPointsS(), 2);
    for (QCheckBox *box : ui().chkFleche)
        EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(st().ProjetCharge);
    // The document is usable: closing the root appends its first point.
    ui().cmdFermerProfil[0]->click();
    EXPECT_EQ(st().doc.NbPointsE(), 4);
}

TEST_F(Projects, AFailedSaveIsReportedAndLeavesTheOldFile)
{
    start();
    makeDocument();
    const QString first = saveAs(QStringLiteral("premier.orv"));
    const QString p = write(QStringLiteral("ancien.orv"), "[Emplanture]\r\nNombrePoints=1\r\n1=0:0:0\r\n");
    platform.clearRecords();
    orv::testing::failNextSave();
    saveAs(QStringLiteral("ancien.orv"));
    EXPECT_EQ(messages(),
              std::vector<std::string>{
                  "Enregistrement impossible|Le projet n'a pas pu être enregistré dans « " + p.toStdString() +
                  " ».\r\nLe fichier existant, s'il y en a un, n'a pas été modifié."});
    EXPECT_EQ(read(p), QByteArray("[Emplanture]\r\nNombrePoints=1\r\n1=0:0:0\r\n"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - ") + first);
}

TEST_F(Projects, TheCloseQuestionSavesTheProject)
{
    start();
    makeDocument();
    const QString p = path(QStringLiteral("fin.orv"));
    platform.queueFile(p, 1);
    EXPECT_TRUE(closeWindow(orv::MessageButton::Yes));
    EXPECT_EQ(read(p), expectedProject());
}

// The bundled sample is what this writer makes of the two sample airfoils;
// ORVALIS_WRITE_SAMPLES=1 writes it anew.
TEST_F(Projects, TheSampleProjectIsWhatTheWriterMakes)
{
    start();
    openFile(0, QString::fromStdString(sample("naca2412.dat")));
    openFile(1, QString::fromStdString(sample("naca0012.dat")));
    ASSERT_TRUE(platform.messages().empty());
    orv::Profils &doc = st().doc;
    ASSERT_FALSE(orv::setChord(doc, orv::Saumon, 150));
    orv::placeSweep(doc, 30);
    doc.Ecartement = 500;
    ed().finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = orv::Finish::View::Rebuild});
    ui().txtCommentaire->setTextCrLf(
        QStringLiteral("Aile d'exemple : emplanture NACA 2412 (corde 100 mm), saumon "
                       "NACA 0012 (corde 150 mm)\r\nFlèche 30 mm, écartement 500 mm."));
    st().view.state.CoeffZoom = 1;
    st().view.state.XCentreZoom = 0;
    st().view.state.YCentreZoom = 0;
    const QByteArray made = read(saveAs(QStringLiteral("naca2412.orv")));
    const QString samplePath = QString::fromStdString(sample("naca2412.orv"));
    if (qEnvironmentVariable("ORVALIS_WRITE_SAMPLES") == QStringLiteral("1")) {
        QFile out(samplePath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(made);
    }
    EXPECT_EQ(read(samplePath), made);

    start();
    openFile(0, samplePath);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("150.0"));
    EXPECT_EQ(ui().txtEcartementZ->text(), QStringLiteral("500.0"));
}

TEST_F(Projects, AProjectOfTheOlderPlatformOpensWithItsAccents)
{
    const QString p = QString::fromStdString(fixture("editor/projet_ancien.orv"));
    start();
    openFile(0, p);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("aile_été.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("bout_dérive.dxf"));
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QStringLiteral("Flèche à 10 mm\r\nDièdre : intrados alignés"));
    EXPECT_EQ(st().doc.NbPointsE(), 4);
    EXPECT_EQ(st().doc.PointsS[4].Flags, 4);
    // "Aligner les intrados" was ticked and ran: the lowest points are level.
    EXPECT_TRUE(ui().chkDiedre[4]->isChecked());
    EXPECT_FLOAT_EQ(st().doc.C.S.YMin, st().doc.C.E.YMin);
    EXPECT_FLOAT_EQ(st().doc.Ecartement, 420);
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("80.0"));
}
