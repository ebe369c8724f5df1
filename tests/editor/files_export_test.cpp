// Exports through the window: the root and tip files byte for byte, the
// proposed names, the 3-D DXF, the intermediate profile and its report, and
// the failures the library reports.
#include "editor_test_support.h"

#include "core/characteristics.h"
#include "core/layout.h"
#include "editor/files_part.h"
#include "editor/files_texts.h"
#include "platform/ini_document.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QToolButton>

using namespace orvtest;

namespace {

// Root and tip of three points after the open: (0, 12.5), (100, 25), (50, 0).
const QByteArray kTriangle = "Tri\n0 0\n1 0.125\n0.5 -0.125\n";

class FilesExport : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        openFile(0, write(QStringLiteral("aile.dat"), kTriangle));
        ASSERT_EQ(st().doc.NbPointsE(), 3);
        platform.clearRecords();
    }
    // Runs an export with the dialog answering `file` (in the test folder).
    QString save(int index, const QString &file, int filterIndex = 1)
    {
        const QString p = path(file);
        platform.queueFile(p, filterIndex);
        window().files().cmdSauveProfil_Click(index);
        return p;
    }
};

} // namespace

TEST_F(FilesExport, TheRootExportsAsANormalisedAirfoilWithItsChordAsTitle)
{
    const QString p = save(0, QStringLiteral("sortie.dat"), 2);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(
        read(p),
        QByteArray("Corde: 100.000\r\n0.000000\t0.000000\r\n1.000000\t0.125000\r\n0.500000\t-0.125000\r\n"));
}

TEST_F(FilesExport, TheTipTitleCarriesItsChordSweepAndDihedral)
{
    st().doc.PointsS.forEachEdit([](int32_t, orv::PointProfil &p) {
        p.X = p.X * 0.5f + 10;
        p.Y = p.Y * 0.5f + 2;
    });
    const QString p = save(1, QStringLiteral("saumon.dat"), 2);
    EXPECT_EQ(read(p).split('\r').first(), QByteArray("Corde: 50.000 Flèche: 10.000 Cale dièdre: 2.000"));
}

TEST_F(FilesExport, TheRootExportsAsATwoDimensionalDrawing)
{
    const QString p = save(0, QStringLiteral("sortie.dxf"));
    const QByteArray header =
        "   0\r\nSECTION\r\n   2\r\nENTITIES\r\n   0\r\nPOLYLINE\r\n   8\r\n0\r\n  66\r\n 1\r\n   6\r\n"
        "Continuous\r\n  10\r\n 0.0\r\n  20\r\n 0.0\r\n  30\r\n 0.0\r\n  70\r\n 128\r\n   0\r\n";
    auto vertex = [](const char *x, const char *y) {
        return QByteArray("VERTEX\r\n   8\r\n0\r\n   6\r\nContinuous\r\n  10\r\n ") + x + "\r\n  20\r\n " +
               y + "\r\n  30\r\n 0.0\r\n   0\r\n";
    };
    const QByteArray text =
        "TEXT\r\n   8\r\n0\r\n  10\r\n 0.000000\r\n  20\r\n -4.000000\r\n  30\r\n 0.0\r\n  40\r\n"
        " 2.000000\r\n  1\r\n Corde: 100.000\r\n   0\r\n";
    EXPECT_EQ(read(p), header + vertex("0.000000", "12.500000") + vertex("100.000000", "25.000000") +
                           vertex("50.000000", "0.000000") + "SEQEND\r\n   0\r\n" + text +
                           "ENDSEC\r\n   0\r\nEOF\r\n");
}

TEST_F(FilesExport, TheExportDialogProposesTheFileNameAndItsFilter)
{
    openFile(1, write(QStringLiteral("bout.dxf"),
                      "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n"
                      "40\n21\n0\n0\nLINE\n8\n0\n10\n40\n20\n0\n11\n40\n21\n3\n0\nENDSEC\n0\nEOF\n"));
    ASSERT_TRUE(platform.messages().empty());
    platform.clearRecords();
    platform.queueCancel();
    platform.queueCancel();
    ui().cmdSauveProfil[0]->click();
    ui().cmdSauveProfil[1]->click();
    ASSERT_EQ(platform.dialogs().size(), 2u);
    const orv::RecordedDialog &root = platform.dialogs()[0];
    EXPECT_EQ(root.kind, orv::FileDialogKind::Save);
    EXPECT_EQ(root.title, QStringLiteral("Enregistrer le profil emplanture en .dxf ou en .dat..."));
    EXPECT_EQ(root.filter,
              QStringLiteral("DAO (*.dxf)|*.dxf|Profil (*.dat)|*.dat|Tous les fichiers (*.*)|*.*"));
    EXPECT_EQ(root.fileName, QStringLiteral("aile"));
    EXPECT_EQ(root.filterIndex, 2);
    EXPECT_TRUE(root.overwritePrompt);
    const orv::RecordedDialog &tip = platform.dialogs()[1];
    EXPECT_EQ(tip.title, QStringLiteral("Enregistrer le profil saumon en .dxf ou en .dat..."));
    EXPECT_EQ(tip.fileName, QStringLiteral("bout"));
    EXPECT_EQ(tip.filterIndex, 1);
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(FilesExport, SaveDialogsStartInTheFolderStoredInTheSettingsAndStoreTheNewOne)
{
    const QString elsewhere = folder() + QStringLiteral("/ailleurs/");
    QDir().mkpath(elsewhere);
    {
        orv::IniFile ini(path(QStringLiteral("Orvalis.ini")));
        orv::writeSetting(ini.document(), QStringLiteral("Fichiers"), QStringLiteral("Sauvegarde"),
                          elsewhere);
        ASSERT_TRUE(ini.save());
    }
    platform.queueFile(elsewhere + QStringLiteral("plan.dxf"), 1);
    window().files().cmdSauveProfil_Click(0);
    EXPECT_EQ(platform.dialogs()[0].folder, elsewhere);
    EXPECT_TRUE(QFile::exists(elsewhere + QStringLiteral("plan.dxf")));

    save(0, QStringLiteral("ici.dxf"));
    const orv::IniFile ini(path(QStringLiteral("Orvalis.ini")));
    EXPECT_EQ(ini.document().value(QStringLiteral("Fichiers"), QStringLiteral("Sauvegarde")),
              folder() + u'/');
    EXPECT_EQ(st().DossierSauvegarde, folder() + u'/');
}

TEST_F(FilesExport, AnExportTheLibraryRefusesIsReportedNotPassedOff)
{
    const QString txt = save(0, QStringLiteral("aile.txt"), 3);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Exportation impossible|Le fichier « " + txt.toStdString() +
                                       " » n'a pas été écrit : choisissez un nom qui se termine par .dat "
                                       "ou .dxf."});
    EXPECT_FALSE(QFile::exists(txt));
    platform.clearRecords();
    const QString missing = save(1, QStringLiteral("absent/aile.dat"), 2);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Exportation impossible|Le fichier « " + missing.toStdString() +
                                       " » n'a pas pu être créé ou écrit."});
}

TEST_F(FilesExport, TheThreeDimensionalDrawingJoinsRootAndTipByFaces)
{
    const QString p = save(2, QStringLiteral("panneau.dxf"), 2);
    EXPECT_TRUE(platform.messages().empty());
    auto face = [](const char *x1, const char *y1, const char *x2, const char *y2) {
        return QByteArray("3DFACE\r\n  10\r\n ") + x1 + "\r\n  20\r\n " + y1 +
               "\r\n  30\r\n 0.000000\r\n  11\r\n " + x1 + "\r\n  21\r\n " + y1 +
               "\r\n  31\r\n 100.000000\r\n  12\r\n " + x2 + "\r\n  22\r\n " + y2 +
               "\r\n  32\r\n 100.000000\r\n  13\r\n " + x2 + "\r\n  23\r\n " + y2 +
               "\r\n  33\r\n 0.000000\r\n   0\r\n";
    };
    EXPECT_EQ(read(p), "   0\r\nSECTION\r\n   2\r\nENTITIES\r\n   0\r\n" +
                           face("0.000000", "12.500000", "100.000000", "25.000000") +
                           face("100.000000", "25.000000", "50.000000", "0.000000") +
                           "ENDSEC\r\n   0\r\nEOF\r\n");
    const orv::RecordedDialog &d = platform.dialogs()[0];
    EXPECT_EQ(d.title, QStringLiteral("Enregistrer le projet ou l'image 3D..."));
    EXPECT_EQ(d.filter,
              QStringLiteral("Projet Orvalis(*.orv)|*.orv|DAO 3D (*.dxf)|*.dxf|Tous les fichiers (*.*)|*.*"));
    EXPECT_EQ(d.filterIndex, 1);
    EXPECT_EQ(d.fileName, QString());
}

TEST_F(FilesExport, TheThreeDimensionalDrawingNeedsEqualCounts)
{
    std::vector<orv::PointProfil> root(60), tip(61);
    for (size_t i = 0; i < tip.size(); ++i)
        tip[i] = {float(i), float(i % 3), 0};
    for (size_t i = 0; i < root.size(); ++i)
        root[i] = tip[i];
    st().doc.PointsE = orv::ProfilePoints(root);
    st().doc.PointsS = orv::ProfilePoints(tip);
    const QString p = save(2, QStringLiteral("panneau.dxf"), 2);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Sauvegarde en .dxf 3D impossible|Pour le .dxf 3D, l'emplanture et le "
                                       "saumon doivent avoir le même nombre de points."});
    EXPECT_EQ(platform.messages()[0].style, orv::MessageStyle::CriticalOk);
    EXPECT_FALSE(QFile::exists(p));
}

TEST_F(FilesExport, TheThirdFilterOfTheProjectDialogWritesNothing)
{
    const QString p = save(2, QStringLiteral("rien.orv"), 3);
    EXPECT_FALSE(QFile::exists(p));
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis - Nouveau projet"));
}

TEST_F(FilesExport, TheIntermediateProfileIsWrittenWithItsReport)
{
    st().doc.PointsS = orv::ProfilePoints({{10, 12.5f, 0}, {90, 22.5f, 0}, {50, 2.5f, 0}});
    orv::computeCharacteristics(st().doc);
    st().EcartementIntermediaire = 25;
    st().intermediate = *orv::intermediateProfile(st().doc, 25).points;
    const QString p = save(3, QStringLiteral("milieu.dat"), 2);
    EXPECT_TRUE(platform.messages().empty());
    EXPECT_EQ(platform.dialogs()[0].title,
              QStringLiteral("Enregistrer le profil intermédiaire en .dxf ou en .dat..."));
    EXPECT_EQ(platform.dialogs()[0].fileName, QString());
    EXPECT_EQ(platform.dialogs()[0].filterIndex, 1);
    EXPECT_TRUE(
        read(p).startsWith("ProfilIntermédiare - Caractéristiques dans le fichier datas.txt créé en même "
                           "temps\r\n0.000000\t"));
    // Plain numbers in the system's format; the two spacings keep the boxes' pattern.
    auto f = [](const char *number) {
        return QString::fromLatin1(number).replace(u'.', QLocale::system().decimalPoint());
    };
    const QString expected =
        QStringLiteral("Caractéristiques du profil intermédiaire ") + p + QStringLiteral("\r\n") +
        QStringLiteral("-----------------------------------------\r\n"
                       "Profil initial à l'emplanture : aile.dat\r\n"
                       "Corde emplanture (mm) : 100\r\n"
                       "Ecartement entre l'emplanture et le profil intermédiaire (mm) :25.0\r\n"
                       "Corde profil intermédiaire (mm) : 95\r\n"
                       "Flèche BA du profil intermédiaire par rapport à l'emplanture (mm) : ") +
        f("2.5") +
        QStringLiteral("\r\nFlèche BF du profil intermédiaire par rapport à l'emplanture (mm) : ") +
        f("2.5") +
        QStringLiteral("\r\nDièdre intrados du profil intermédiaire par rapport à l'emplanture (mm) : ") +
        f("0.625") +
        QStringLiteral("\r\n-----------------------------------------\r\n"
                       "Profil initial au saumon : aile.dat\r\n"
                       "Corde saumon (mm) : 80\r\n"
                       "Ecartement entre le profil intermédiaire et le saumon (mm) :75.0\r\n"
                       "Corde profil intermédiaire (mm) : 95\r\n"
                       "Flèche BA du profil saumon par rapport au profil intermédiaire (mm) : ") +
        f("7.5") +
        QStringLiteral("\r\nFlèche BF du profil saumon par rapport au profil intermédiaire (mm) : ") +
        f("7.5") +
        QStringLiteral("\r\nDièdre intrados du profil saumon par rapport au profil intermédiaire (mm) : ") +
        f("1.875") + QStringLiteral("\r\n");
    EXPECT_EQ(QString::fromUtf8(read(p + QStringLiteral("_datas.txt"))), expected);
}

TEST_F(FilesExport, TheReportUsesTheSystemDecimalSeparator)
{
    orv::IntermediateComparison c;
    c.chosenPath = QStringLiteral("aile.dxf");
    c.intermediateSpacing = 12.25f;
    c.spacing = 100;
    c.rootToIntermediate.E.Corde = 200.5f;
    c.intermediateToTip.DiedreMm = -0.1f;
    const QStringList lines = orv::intermediateReport(c, QStringLiteral(",")).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[17], QString());
    EXPECT_EQ(lines[3], QStringLiteral("Corde emplanture (mm) : 200,5"));
    EXPECT_EQ(lines[4],
              QStringLiteral("Ecartement entre l'emplanture et le profil intermédiaire (mm) :12.25"));
    EXPECT_EQ(lines[12], QStringLiteral("Ecartement entre le profil intermédiaire et le saumon (mm) :87.75"));
    EXPECT_EQ(
        lines[16],
        QStringLiteral("Dièdre intrados du profil saumon par rapport au profil intermédiaire (mm) : -0,1"));
}

TEST_F(FilesExport, TheIntermediateProfileIsRefusedWhenTheTipHasFewerPoints)
{
    st().EcartementIntermediaire = 25;
    st().intermediate = st().doc.PointsE;
    st().doc.PointsS.erase(3);
    window().files().cmdSauveProfil_Click(3);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Exportation impossible|Le saumon a moins de points que l'emplanture "
                                       "(2 contre 3) : le profil intermédiaire ne peut pas être exporté."});
    EXPECT_TRUE(platform.dialogs().empty());
}
