// The machine window, the G-code export and the machine view through the main
// window: settings kept in Orvalis.ini, refusals word for word, the written
// moves against the carriage paths, and a library without the G-code writer.
#include "editor_test_support.h"

#include "editor/files_part.h"
#include "editor/form_machine.h"
#include "editor/machine_part.h"
#include "platform/ini_document.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <map>

using namespace orvtest;
using orv::MachineSettings;

namespace {

// Spacing 200 on towers 1000 apart, root 100 from the first: the first tower
// is half a span before the root, the second four and a half beyond it.
const std::vector<orv::PointProfil> kRoot = {{100, 0, 0}, {50, 6, 0}, {0, 0, 0}, {50, -4, 0}};
const std::vector<orv::PointProfil> kTip = {{80, 10, 0}, {45, 14, 0}, {10, 10, 0}, {45, 7, 0}};
const QString kFilter = QStringLiteral("Programme G-code (*.ngc;*.gcode;*.nc)|*.ngc;*.gcode;*.nc");

using Move = std::map<char, double>;

// The G1 lines of a program, each as its words; `mode` keeps only the moves
// made in that feed mode ("G93" or "G94"), empty keeps all.
std::vector<Move> moves(const QByteArray &program, const QByteArray &mode = {})
{
    std::vector<Move> out;
    QByteArray current;
    for (const QByteArray &line : program.split('\n')) {
        const QByteArray l = line.trimmed();
        if (l == "G93" || l == "G94")
            current = l;
        if (!l.startsWith("G1 ") || (!mode.isEmpty() && current != mode))
            continue;
        Move m;
        for (const QByteArray &word : l.mid(3).split(' '))
            m[word[0]] = word.mid(1).toDouble();
        out.push_back(m);
    }
    return out;
}

class MachineExport : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        loadDocument(kRoot, kTip, 200);
        platform.clearRecords();
    }
    orv::MachinePart &part() { return window().machinePart(); }
    QString ini() const { return path(QStringLiteral("Orvalis.ini")); }
    void store(const MachineSettings &m)
    {
        orv::IniFile file(ini());
        orv::writeMachineSettings(file.document(), m);
        ASSERT_TRUE(file.save());
    }
    MachineSettings stored() const { return orv::readMachineSettings(orv::IniFile(ini()).document()); }
    // Runs the export with the save dialog answering `name` in the test folder.
    QString exportTo(const QString &name)
    {
        const QString p = path(name);
        platform.queueFile(p);
        ui().cmdExporterGCode->click();
        return p;
    }
    static MachineSettings plain()
    {
        MachineSettings m;
        m.approach = false;
        return m;
    }
};

template <typename W> W *child(QWidget &parent, const char *name)
{
    W *w = parent.findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void setText(QWidget &dialog, const char *name, const QString &text) { child<QLineEdit>(dialog, name)->setText(text); }

} // namespace

TEST_F(MachineExport, TheMachineWindowsValuesRoundTripThroughTheSettingsFile)
{
    auto dialog = part().makeMachineDialog();
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frmMachine"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Machine de découpe"));
    // A first opening shows the defaults.
    EXPECT_EQ(child<QLineEdit>(*dialog, "txtDistanceTours")->text(), QStringLiteral("1000.0"));
    EXPECT_EQ(child<QLineEdit>(*dialog, "txtVitesse")->text(), QStringLiteral("300.0"));
    EXPECT_TRUE(child<QCheckBox>(*dialog, "chkApproche")->isChecked());

    setText(*dialog, "txtDistanceTours", QStringLiteral("1200.5"));
    setText(*dialog, "txtPositionEmplanture", QStringLiteral("75"));
    child<QComboBox>(*dialog, "cboCoteEmplanture")->setCurrentIndex(1);
    child<QComboBox>(*dialog, "cboAxes")->setCurrentText(QStringLiteral("XYZA"));
    setText(*dialog, "txtVitesse", QStringLiteral("450"));
    setText(*dialog, "txtSaignement_0", QStringLiteral("0.2"));
    setText(*dialog, "txtSaignement_1", QStringLiteral("-0.15"));
    setText(*dialog, "txtChauffe", QStringLiteral("35"));
    setText(*dialog, "txtTemporisation", QStringLiteral("1.5"));
    child<QCheckBox>(*dialog, "chkApproche")->setChecked(false);
    setText(*dialog, "txtDecimales", QStringLiteral("4"));
    for (int k = 0; k < 8; ++k)
        setText(*dialog, QStringLiteral("txtCourse_%1").arg(k).toLatin1().constData(),
                QString::number(k % 2 ? 500 + k : -10 * k));
    EXPECT_EQ(child<QLabel>(*dialog, "lblAxe_2")->text(), QStringLiteral("Z"));
    EXPECT_EQ(child<QComboBox>(*dialog, "cboCoteEmplanture")->currentText(), QStringLiteral("Tour 2 (Z A)"));
    child<QPushButton>(*dialog, "cmdOK")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(messages().empty());

    MachineSettings expected;
    expected.towers = 1200.5f;
    expected.rootPos = 75;
    expected.rootSide = 1;
    expected.axes = "XYZA";
    expected.feed = 450;
    expected.kerfRoot = 0.2f;
    expected.kerfTip = -0.15f;
    expected.heat = 35;
    expected.dwell = 1.5f;
    expected.approach = false;
    expected.decimals = 4;
    expected.limits = {0, 501, -20, 503, -40, 505, -60, 507};
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(st().machine, expected);
    const QByteArray bytes = read(ini());
    for (const char *line : {"[Machine]\r\n", "DistanceTours=1200.5\r\n", "SaigneeEmplanture=0.2\r\n",
                             "SaigneeSaumon=-0.15\r\n", "Axes=XYZA\r\n", "CoteEmplanture=1\r\n", "Approche=0\r\n",
                             "Decimales=4\r\n", "Axe2Min=-20\r\n", "Axe4Max=507\r\n"})
        EXPECT_TRUE(bytes.contains(line)) << line;

    auto again = part().makeMachineDialog();
    EXPECT_EQ(child<QLineEdit>(*again, "txtDistanceTours")->text(), QStringLiteral("1200.5"));
    EXPECT_EQ(child<QLineEdit>(*again, "txtSaignement_1")->text(), QStringLiteral("-0.15"));
    EXPECT_EQ(child<QComboBox>(*again, "cboAxes")->currentText(), QStringLiteral("XYZA"));
    EXPECT_EQ(child<QComboBox>(*again, "cboCoteEmplanture")->currentIndex(), 1);
    EXPECT_FALSE(child<QCheckBox>(*again, "chkApproche")->isChecked());
}

TEST_F(MachineExport, AValueThatIsNotADecimalIsRefusedAsTheMainBoxesRefuseItAndNothingIsStored)
{
    auto dialog = part().makeMachineDialog();
    setText(*dialog, "txtVitesse", QStringLiteral("1,5"));
    EXPECT_FALSE(dialog->cmdOK_Click());
    ASSERT_EQ(messages(), std::vector<std::string>{"Erreur de saisie|Veuillez entrer un nombre décimal."});
    EXPECT_EQ(platform.messages()[0].style, orv::MessageStyle::CriticalOk);
    EXPECT_EQ(child<QLineEdit>(*dialog, "txtVitesse")->selectedText(), QStringLiteral("1,5"));
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(orv::IniFile(ini()).document().hasSection(QStringLiteral("Machine")));
    // The first refused box stops the check: a later bad box waits its turn.
    platform.clearRecords();
    setText(*dialog, "txtVitesse", QStringLiteral("450"));
    setText(*dialog, "txtChauffe", QStringLiteral("2..5"));
    setText(*dialog, "txtCourse_0", QStringLiteral("-"));
    EXPECT_FALSE(dialog->cmdOK_Click());
    EXPECT_EQ(messages(), std::vector<std::string>{"Erreur de saisie|Veuillez entrer un nombre décimal."});
    EXPECT_EQ(child<QLineEdit>(*dialog, "txtChauffe")->selectedText(), QStringLiteral("2..5"));
}

TEST_F(MachineExport, ValuesTheMachineCannotTakeAreRefusedByName)
{
    auto dialog = part().makeMachineDialog();
    auto refusal = [&](const char *box, const QString &text) {
        platform.clearRecords();
        auto d = part().makeMachineDialog();
        setText(*d, box, text);
        EXPECT_FALSE(d->cmdOK_Click()) << box;
        return messages().empty() ? std::string() : messages()[0];
    };
    EXPECT_EQ(refusal("txtDistanceTours", QStringLiteral("0")),
              "Machine de découpe|La distance entre les tours doit être supérieure à 0 mm.");
    EXPECT_EQ(refusal("txtPositionEmplanture", QStringLiteral("1000")),
              "Machine de découpe|L'emplanture doit se trouver entre les deux tours : sa position doit être "
              "inférieure à la distance entre les tours.");
    EXPECT_EQ(refusal("txtVitesse", QStringLiteral("0")),
              "Machine de découpe|La vitesse de coupe doit être supérieure à 0 mm/min.");
    EXPECT_EQ(refusal("txtDecimales", QStringLiteral("2.5")),
              "Machine de découpe|Le nombre de décimales doit être un entier de 0 à 6.");
    EXPECT_EQ(refusal("txtCourse_3", QStringLiteral("-5")),
              "Machine de découpe|La course de l'axe Y est inversée : le minimum dépasse le maximum.");
    EXPECT_FALSE(orv::IniFile(ini()).document().hasSection(QStringLiteral("Machine")));
    // Annuler keeps what was stored.
    setText(*dialog, "txtVitesse", QStringLiteral("999"));
    child<QPushButton>(*dialog, "cmdAnnuler")->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(stored(), MachineSettings{});
}

TEST_F(MachineExport, UnusableSettingsInTheFileFallBackToTheirDefaults)
{
    orv::IniFile file(ini());
    for (auto [key, value] : {std::pair{"DistanceTours", "-3"}, {"Vitesse", "vite"}, {"Axes", "ABCD"},
                              {"Decimales", "9"}, {"CoteEmplanture", "2"}, {"Axe1Min", "10"}, {"Axe1Max", "5"}})
        orv::writeSetting(file.document(), QStringLiteral("Machine"), QString::fromLatin1(key),
                          QString::fromLatin1(value));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(stored(), MachineSettings{});
}

TEST_F(MachineExport, TheWrittenMovesAreTheCarriagePathsOfTheSynchronizedPanel)
{
    store(plain());
    const QString p = exportTo(QStringLiteral("panneau.ngc"));
    ASSERT_EQ(messages().size(), 1u) << messages()[0];
    const orv::CarriagePaths c = orv::carriagePaths(st().doc, plain());
    const std::vector<Move> m = moves(read(p));
    ASSERT_EQ(m.size(), kRoot.size());
    for (size_t i = 0; i < m.size(); ++i) {
        EXPECT_NEAR(m[i].at('X'), c.first[i].x, 5.1e-4) << i;
        EXPECT_NEAR(m[i].at('Y'), c.first[i].y, 5.1e-4) << i;
        EXPECT_NEAR(m[i].at('U'), c.second[i].x, 5.1e-4) << i;
        EXPECT_NEAR(m[i].at('V'), c.second[i].y, 5.1e-4) << i;
    }
    // Root point 1 (100, 0) and tip point 1 (80, 10), carried to the towers.
    EXPECT_DOUBLE_EQ(m[0].at('X'), 110);
    EXPECT_DOUBLE_EQ(m[0].at('Y'), -5);
    EXPECT_DOUBLE_EQ(m[0].at('U'), 10);
    EXPECT_DOUBLE_EQ(m[0].at('V'), 45);
}

TEST_F(MachineExport, WithTheRootOnTheSecondTowerTheCutIsWrittenOnThoseAxes)
{
    MachineSettings m;
    m.rootSide = 1;
    m.axes = "XYZA";
    m.decimals = 2;
    store(m);
    const QByteArray program = read(exportTo(QStringLiteral("panneau.nc")));
    const orv::CarriagePaths c = orv::carriagePaths(st().doc, m);
    // The approach reaches point 1; the inverse-time moves cut to the others.
    const std::vector<Move> cut = moves(program, "G93");
    ASSERT_EQ(cut.size(), kRoot.size() - 1);
    for (size_t i = 0; i < cut.size(); ++i) {
        EXPECT_NEAR(cut[i].at('X'), c.first[i + 1].x, 5.1e-3) << i;
        EXPECT_NEAR(cut[i].at('Y'), c.first[i + 1].y, 5.1e-3) << i;
        EXPECT_NEAR(cut[i].at('Z'), c.second[i + 1].x, 5.1e-3) << i;
        EXPECT_NEAR(cut[i].at('A'), c.second[i + 1].y, 5.1e-3) << i;
    }
    // The root's tower is now the second: point 2's root (50, 6) and tip
    // (45, 14) give X = 50 - 5 * 4.5.
    EXPECT_DOUBLE_EQ(cut[0].at('X'), 27.5);
}

TEST_F(MachineExport, AfterWritingTheProgramAMessageGivesTheCutLengthAndTime)
{
    placeProfiles(orv::ProfilePoints({{0, 0, 0}, {60, 0, 0}, {60, 30, 0}, {0, 30, 0}}),
                  orv::ProfilePoints({{0, 0, 0}, {30, 0, 0}, {30, 15, 0}, {0, 15, 0}}), 200);
    ed().finish({.view = orv::Finish::View::Rebuild});
    MachineSettings m = plain();
    m.feed = 60;
    store(m);
    const QString p = exportTo(QStringLiteral("carre.ngc"));
    ASSERT_TRUE(QFile::exists(p));
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].style, orv::MessageStyle::InformationOk);
    EXPECT_EQ(messages()[0], ("Exportation G-code|Le programme G-code « " + p +
                              " » est écrit : 4 déplacements.\r\n"
                              "Longueur de coupe : 150.0 mm à l'emplanture, 75.0 mm au saumon.\r\n"
                              "Durée estimée de la coupe : 2 min 30 s à 60.0 mm/min.")
                                 .toStdString());
}

TEST_F(MachineExport, UnequalCountsAreRefusedWithTheOptimalSynchronizationProposedAndNoFileAsked)
{
    std::vector<orv::PointProfil> tip = kTip;
    tip.push_back({20, 12, 0});
    loadDocument(kRoot, tip, 200);
    platform.clearRecords();
    ui().cmdExporterGCode->click();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Exportation G-code impossible|L'emplanture a 4 points et le saumon 5 : le fil passe en "
                              "même temps par les points de même numéro, il en faut autant des deux côtés.\r\n"
                              "Utilisez d'abord la « Synchronisation optimale »."});
    EXPECT_EQ(platform.messages()[0].style, orv::MessageStyle::CriticalOk);
    EXPECT_TRUE(platform.dialogs().empty());
}

TEST_F(MachineExport, APositionOutsideAnAxisTravelIsRefusedNamingTheAxisAndThePoint)
{
    MachineSettings m;
    m.limits[4] = 0; // U from 0 to 40: point 3 takes it to 45
    m.limits[5] = 40;
    store(m);
    ui().cmdExporterGCode->click();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Exportation G-code impossible|Au point 3, l'axe U irait à 45.0 mm, hors de sa course "
                              "(0.0 à 40.0 mm).\r\nModifiez la position de l'emplanture ou les courses dans "
                              "« Machine de découpe »."});
    EXPECT_TRUE(platform.dialogs().empty());
}

TEST_F(MachineExport, CancellingTheSaveDialogChangesNothing)
{
    const QByteArray settings = read(ini());
    platform.queueCancel();
    ui().cmdExporterGCode->click();
    ASSERT_EQ(platform.dialogs().size(), 1u);
    const orv::RecordedDialog &d = platform.dialogs()[0];
    EXPECT_EQ(d.kind, orv::FileDialogKind::Save);
    EXPECT_EQ(d.title, QStringLiteral("Enregistrer le programme G-code..."));
    EXPECT_EQ(d.filter, kFilter);
    EXPECT_EQ(d.folder, st().DossierSauvegarde);
    EXPECT_TRUE(d.overwritePrompt);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(read(ini()), settings);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{QStringLiteral("Orvalis.ini")});
}

TEST_F(MachineExport, ARefusedExportNamesTheFileAndReasonAndLeavesTheOldFileAsItWas)
{
    MachineSettings m;
    m.rootPos = 900; // with a span of 200 the tip lies beyond the second tower
    store(m);
    const QString p = write(QStringLiteral("ancien.ngc"), "ancien programme\r\n");
    exportTo(QStringLiteral("ancien.ngc"));
    EXPECT_EQ(messages(), std::vector<std::string>{
                              ("Exportation G-code impossible|Le programme G-code « " + p +
                               " » n'a pas été écrit : le bloc ne tient pas entre les tours : l'emplanture à 900.0 mm "
                               "de sa tour plus l'écartement de 200.0 mm dépassent la distance entre les tours "
                               "(1000.0 mm).")
                                  .toStdString()});
    EXPECT_EQ(read(p), QByteArray("ancien programme\r\n"));
}

TEST_F(MachineExport, TheMachineButtonsFollowTheExportsAndTheMachineViewNeedsEqualCounts)
{
    EXPECT_TRUE(ui().cmdMachine->isEnabled());
    EXPECT_TRUE(ui().cmdExporterGCode->isEnabled());
    ui().chkVisuMachine->setChecked(true);
    ASSERT_EQ(st().view.ecranMachine[0].size(), kRoot.size());
    ASSERT_EQ(st().view.ecranMachine[1].size(), kRoot.size());
    EXPECT_EQ(st().view.carriages.first, orv::carriagePaths(st().doc, MachineSettings{}).first);
    // New settings move the paths at once.
    auto dialog = part().makeMachineDialog();
    setText(*dialog, "txtPositionEmplanture", QStringLiteral("300"));
    ASSERT_TRUE(dialog->cmdOK_Click());
    EXPECT_EQ(st().view.carriages.planes.first, -300);
    dialog.reset(); // a child of the window, which start() replaces
    std::vector<orv::PointProfil> tip = kTip;
    tip.pop_back();
    loadDocument(kRoot, tip, 200);
    EXPECT_FALSE(ui().chkVisuMachine->isEnabled());
    EXPECT_TRUE(st().view.ecranMachine[0].empty());
    start();
    EXPECT_FALSE(ui().cmdMachine->isEnabled());
    EXPECT_FALSE(ui().cmdExporterGCode->isEnabled());
}

TEST(MachineExportWithAnOlderLibrary, OnlyTheGCodeExportIsRefused)
{
    auto old = orv::VextraLibrary::open(QStringLiteral(VEXTRA_WITHOUT_GCODE));
    ASSERT_TRUE(old->isLoaded()) << old->errorText().toStdString();
    EXPECT_FALSE(old->hasGCode());
    EXPECT_TRUE(library().hasGCode());
    QTemporaryDir dir;
    orv::TestPlatform platform;
    orv::FormOrvalis window(platform, *old, orv::EditorEnvironment{dir.path(), {}, {}});
    window.load();
    platform.queueFile(dir.filePath(QStringLiteral("aile.dat")));
    QFile dat(dir.filePath(QStringLiteral("aile.dat")));
    ASSERT_TRUE(dat.open(QIODevice::WriteOnly));
    dat.write("Aile\n1 0\n0 0.1\n0 -0.1\n1 0\n");
    dat.close();
    window.files().cmdOuvrirProfil_Click(0);
    ASSERT_EQ(window.editor().st.doc.NbPointsE(), 4);
    window.machinePart().cmdExporterGCode_Click();
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text,
              QStringLiteral("Cette version de la bibliothèque Vextra ne contient pas la fonction « EcrireGCode » : "
                             "installez une version plus récente pour exporter en G-code."));
    EXPECT_TRUE(platform.dialogs().size() == 1u); // the open dialog only
    platform.queueFile(dir.filePath(QStringLiteral("sortie.dat")), 2);
    window.files().cmdSauveProfil_Click(0);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("sortie.dat"))));
    EXPECT_EQ(platform.messages().size(), 1u);
    window.hide();
}
