// Opening and closing profiles through the window: airfoils, drawings, the
// refusals and failed reads, and the folders the open dialog remembers.
#include "editor_test_support.h"

#include "core/numeric_entry.h"
#include "editor/files_part.h"
#include "platform/ini_document.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <cmath>

using namespace orvtest;
using orv::MessageStyle;

namespace {

QByteArray datText(const char *title, const std::vector<std::pair<double, double>> &points)
{
    QByteArray text = QByteArray(title) + "\n";
    for (const auto &[x, y] : points)
        text += QByteArray::number(x, 'f', 6) + " " + QByteArray::number(y, 'f', 6) + "\n";
    return text;
}

// A closed rectangle of LINE entities, w by h millimetres.
QByteArray dxfRectangle(double w, double h)
{
    QByteArray text = "0\nSECTION\n2\nENTITIES\n";
    const double c[5][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        text += "0\nLINE\n8\n0\n10\n" + QByteArray::number(c[i][0], 'f', 6) + "\n20\n" +
                QByteArray::number(c[i][1], 'f', 6) + "\n30\n0.0\n11\n" +
                QByteArray::number(c[i + 1][0], 'f', 6) + "\n21\n" + QByteArray::number(c[i + 1][1], 'f', 6) +
                "\n31\n0.0\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

// An open arc of n points (first and last differ).
std::vector<std::pair<double, double>> openArc(int n)
{
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < n; ++i) {
        const double a = M_PI * i / (n - 1);
        points.emplace_back(0.5 + 0.5 * std::cos(a), 0.1 * std::sin(a));
    }
    return points;
}

class FilesOpen : public WindowTest {
protected:
    QString clarky() const { return QString::fromStdString(fixture("dat/clarky.dat")); }
    QString naca0012() const { return QString::fromStdString(sample("naca0012.dat")); }

    // The document, the comment and the history, for "nothing changed".
    struct Observed {
        orv::Profils doc;
        QString comment;
        int32_t history;
        QString caption;
        bool operator==(const Observed &) const = default;
    };
    Observed observe()
    {
        return {st().doc, ui().txtCommentaire->textCrLf(), st().history.count(), window().windowTitle()};
    }
};

} // namespace

TEST_F(FilesOpen, AnAirfoilOfChordOneBecomesChordOneHundredWithItsSpacingAndCaption)
{
    start();
    openFile(0, clarky());
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("100.0"));
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("100.0"));
    EXPECT_EQ(ui().txtEcartementZ->text(), QStringLiteral("100.0"));
    EXPECT_FLOAT_EQ(st().doc.Ecartement, 100.0f);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - Nouveau projet"));
    EXPECT_NEAR(st().doc.C.E.Corde, 100.0f, 1e-3);
    EXPECT_EQ(st().doc.NbPointsE(), 121);
    EXPECT_EQ(st().doc.PointsS, st().doc.PointsE);
    st().doc.PointsE.forEach([](int32_t, const orv::PointProfil &p) { EXPECT_EQ(p.Flags, 0); });
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("clarky.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("clarky.dat"));
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QStringLiteral("Commentaire profil: CLARK Y AIRFOIL\r\n"));
    EXPECT_TRUE(ui().chkVoirCommentaires->isChecked());
    EXPECT_TRUE(ui().txtCommentaire->isVisibleTo(&window()));
    EXPECT_TRUE(st().ProjetCharge);
    EXPECT_TRUE(ui().cmdOuvrirProfil[1]->isEnabled());
    EXPECT_TRUE(ui().cmdFermerProfil[0]->isEnabled());
    EXPECT_EQ(st().history.count(), 1);
}

TEST_F(FilesOpen, TheOpenDialogStartsInTheLastFolderAndRemembersTheNewOneAtOnce)
{
    start();
    openFile(0, clarky());
    ASSERT_EQ(platform.dialogs().size(), 1u);
    const orv::RecordedDialog &d = platform.dialogs()[0];
    EXPECT_EQ(d.kind, orv::FileDialogKind::Open);
    EXPECT_EQ(d.title, QStringLiteral("Choisissez un fichier profil (.dat, .dxf, .plt)"));
    EXPECT_EQ(d.filter,
              QStringLiteral("DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Dessin SVG "
                             "(*.svg)|*.svg|Projet Orvalis (*.orv)|*.orv|Projet Sorvane (*.sv)|*.sv|Tous les "
                             "fichiers connus|*.dxf;*.dat;*.plt;*.svg;*.orv;*.sv"));
    EXPECT_EQ(d.filterIndex, 7);
    EXPECT_EQ(d.fileName, QString());
    EXPECT_EQ(d.folder, folder());

    const QString expected = QString::fromStdString(fixture("dat/"));
    EXPECT_EQ(st().DossierOuverture, expected);
    const orv::IniFile ini(path(QStringLiteral("Orvalis.ini")));
    EXPECT_EQ(ini.document().value(QStringLiteral("Fichiers"), QStringLiteral("Ouverture")), expected);

    openFile(1, naca0012());
    const orv::RecordedDialog &tip = platform.dialogs()[1];
    EXPECT_EQ(tip.filter,
              QStringLiteral("DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Plotter (*.plt)|*.plt|Dessin SVG "
                             "(*.svg)|*.svg|Tous les fichiers saumon|*.dxf;*.dat;*.plt;*.svg"));
    EXPECT_EQ(tip.filterIndex, 5);
    EXPECT_EQ(tip.folder, expected);
}

TEST_F(FilesOpen, TheTipCannotBeOpenedBeforeAnyRoot)
{
    start();
    window().files().cmdOuvrirProfil_Click(1);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Action impossible|Il faut d'abord charger un profil d'emplanture."});
    EXPECT_EQ(platform.messages()[0].style, MessageStyle::CriticalOk);
    EXPECT_TRUE(platform.dialogs().empty());
    EXPECT_EQ(st().doc.NbPointsE(), 0);
    EXPECT_FALSE(st().ProjetCharge);
}

TEST_F(FilesOpen, ATipAirfoilReplacesOnlyTheTipAndAddsItsLineToTheComment)
{
    start();
    openFile(0, clarky());
    const orv::ProfilePoints root = st().doc.PointsE;
    openFile(1, naca0012());
    EXPECT_EQ(st().doc.PointsE, root);
    EXPECT_EQ(st().doc.NbPointsS(), 61);
    EXPECT_EQ(ui().side[1].txtCorde->text(), QStringLiteral("100.0"));
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("clarky.dat"));
    EXPECT_EQ(ui().side[1].lblNomFichier->text(), QStringLiteral("naca0012.dat"));
    EXPECT_EQ(ui().txtCommentaire->textCrLf(),
              QStringLiteral("Commentaire profil: CLARK Y AIRFOIL\r\nCommentaire profil: NACA 0012\r\n"));
    EXPECT_FALSE(ui().chkFil->isEnabled());
    EXPECT_FALSE(ui().chkSurface->isEnabled());
    EXPECT_EQ(st().storedFileNames[1], QStringLiteral("naca0012.dat"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - Nouveau projet"));

    // A new root replaces the comment.
    openFile(0, naca0012());
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QStringLiteral("Commentaire profil: NACA 0012\r\n"));
}

TEST_F(FilesOpen, AFailedReadNamesTheFileAndChangesNothing)
{
    start();
    openFile(0, clarky());
    ui().txtCommentaire->setTextCrLf(QStringLiteral("mon aile"));
    const Observed before = observe();
    struct Case {
        QString name;
        QByteArray bytes;
        QString text;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("vide.dat"), "Rien ici\n",
         QStringLiteral("Le fichier « %1 » ne contient aucun point utilisable.")},
        {QStringLiteral("notes.txt"), "1 2\n",
         QStringLiteral("Le fichier « %1 » n'est pas d'un format connu (.dat, .dxf, .plt, .prn, .hpgl, .eps, "
                        ".drd, .drl, .svg).")},
        {QStringLiteral("dessin.svg"), "<svg/>", QStringLiteral("Le fichier « %1 » ne contient aucun point utilisable.")},
        {QStringLiteral("absent.dat"), {}, QStringLiteral("Le fichier « %1 » ne peut pas être ouvert.")},
    };
    for (const Case &c : cases) {
        platform.clearRecords();
        const QString p = c.bytes.isNull() ? path(c.name) : write(c.name, c.bytes);
        openFile(c.name.endsWith(QStringLiteral(".svg")) ? 1 : 0, p);
        EXPECT_EQ(messages(), std::vector<std::string>{"Lecture impossible|" + c.text.arg(p).toStdString()});
        EXPECT_EQ(platform.messages()[0].style, MessageStyle::CriticalOk);
        EXPECT_TRUE(observe() == before) << c.name.toStdString();
    }
}

TEST_F(FilesOpen, AnSvgDrawingOpensInMillimetresAsADrawing)
{
    start();
    const QString p = write(QStringLiteral("plaque.svg"),
                            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40mm\" height=\"20mm\" "
                            "viewBox=\"0 0 400 200\"><title>Plaque</title><rect width=\"400\" height=\"200\"/></svg>");
    openFile(0, p);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(st().doc.NbPointsE(), 5);
    EXPECT_FLOAT_EQ(st().ToleranceLecture, 40.0f / 5000.0f); // near points merged as in every drawing
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("40.0"));
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("plaque.svg"));
}

TEST_F(FilesOpen, TheStartingSpacingFollowsTheRootChord)
{
    start();
    const std::vector<std::pair<double, QString>> cases = {{5.5, QStringLiteral("5.0")},
                                                           {8, QStringLiteral("10.0")},
                                                           {50.9, QStringLiteral("50.0")},
                                                           {51, QStringLiteral("100.0")}};
    for (const auto &[chord, spacing] : cases) {
        const QString p = write(QStringLiteral("plaque.dxf"), dxfRectangle(chord, 2));
        openFile(0, p);
        EXPECT_EQ(ui().txtEcartementZ->text(), spacing) << chord;
        // A drawing keeps its size.
        EXPECT_NEAR(st().doc.C.E.Corde, chord, 1e-4);
        EXPECT_EQ(ui().side[0].txtCorde->text(),
                  QString::fromStdString(orv::formatForBox(st().doc.C.E.Corde)));
    }
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(FilesOpen, ADrawingHasItsNearPointsMerged)
{
    start();
    // A square whose sides are cut into 20 collinear lines each.
    QByteArray text = "0\nSECTION\n2\nENTITIES\n";
    std::vector<std::pair<double, double>> corners = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
    for (size_t s = 0; s + 1 < corners.size(); ++s)
        for (int k = 0; k < 20; ++k) {
            auto at = [&](int j) {
                const double t = j / 20.0;
                return std::pair{corners[s].first + t * (corners[s + 1].first - corners[s].first),
                                 corners[s].second + t * (corners[s + 1].second - corners[s].second)};
            };
            const auto [x1, y1] = at(k);
            const auto [x2, y2] = at(k + 1);
            text += "0\nLINE\n8\n0\n10\n" + QByteArray::number(x1) + "\n20\n" + QByteArray::number(y1) +
                    "\n11\n" + QByteArray::number(x2) + "\n21\n" + QByteArray::number(y2) + "\n";
        }
    text += "0\nENDSEC\n0\nEOF\n";
    openFile(0, write(QStringLiteral("carre.dxf"), text));
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(st().doc.NbPointsE(), 5);
    EXPECT_FLOAT_EQ(st().ToleranceLecture, 100.0f / 5000.0f);
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("100.0"));
}

TEST_F(FilesOpen, OnlyTheExactAirfoilExtensionsAreNormalised)
{
    start();
    const QByteArray dat = datText("Plaque", {{0, 0}, {2, 0.1}, {4, 0}});
    openFile(0, write(QStringLiteral("plaque.Dat"), dat));
    EXPECT_NEAR(st().doc.C.E.Corde, 4.0f, 1e-5);
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QString());
    openFile(0, write(QStringLiteral("plaque.DAT"), dat));
    EXPECT_NEAR(st().doc.C.E.Corde, 100.0f, 1e-4);
}

TEST_F(FilesOpen, AnAirfoilWithoutWidthKeepsItsSizeInsteadOfDividingByZero)
{
    start();
    openFile(0, write(QStringLiteral("trait.dat"), datText("Trait", {{0, 0}, {0, 1}, {0, 2}})));
    EXPECT_TRUE(platform.messages().empty());
    ASSERT_EQ(st().doc.NbPointsE(), 3);
    st().doc.PointsE.forEach(
        [](int32_t, const orv::PointProfil &p) { EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y)); });
    EXPECT_EQ(ui().side[0].txtCorde->text(), QStringLiteral("0.0"));
    EXPECT_EQ(ui().txtEcartementZ->text(), QStringLiteral("5.0"));
}

TEST_F(FilesOpen, CancellingTheDialogChangesNothing)
{
    start();
    platform.queueCancel();
    ui().cmdOuvrirProfil[0]->click();
    EXPECT_EQ(platform.dialogs().size(), 1u);
    EXPECT_FALSE(st().ProjetCharge);
    EXPECT_EQ(st().DossierOuverture, folder());
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(FilesOpen, ClosingAnOpenProfileAppendsACopyOfItsFirstPoint)
{
    start();
    openFile(0, write(QStringLiteral("arc.dat"), datText("Arc", openArc(40))));
    ASSERT_EQ(st().doc.NbPointsE(), 40);
    st().doc.PointsE.edit(1).Flags = 5;
    const int32_t history = st().history.count();
    ui().cmdFermerProfil[0]->click();
    ASSERT_EQ(st().doc.NbPointsE(), 41);
    EXPECT_EQ(st().doc.PointsE[41], st().doc.PointsE[1]);
    EXPECT_EQ(st().doc.PointsE[41].Flags, 5);
    EXPECT_EQ(st().history.count(), history + 2);
    EXPECT_FALSE(ui().chkFil->isEnabled());
    EXPECT_TRUE(platform.messages().empty());

    ui().cmdFermerProfil[0]->click();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Opération impossible|Le profil d'emplanture est déjà fermé"});
    EXPECT_EQ(platform.messages()[0].style, MessageStyle::InformationOk);
    EXPECT_EQ(st().doc.NbPointsE(), 41);

    ui().cmdFermerProfil[1]->click();
    EXPECT_EQ(st().doc.NbPointsS(), 41);
    EXPECT_TRUE(ui().chkFil->isEnabled());
    ui().cmdFermerProfil[1]->click();
    EXPECT_EQ(messages().back(), "Opération impossible|Le profil de saumon est déjà fermé");
}
