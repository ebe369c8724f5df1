// Files named on the command line: a profile or a drawing opens as the root,
// a path that cannot be opened gets one message and leaves the window empty.
#include "editor_test_support.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>

#include <sys/stat.h>

using orvtest::WindowTest;

namespace {

class CommandLine : public WindowTest {
protected:
    void expectEmptyWindowWith(const std::string &message)
    {
        EXPECT_EQ(messages(), std::vector<std::string>{message});
        EXPECT_FALSE(st().ProjetCharge);
        EXPECT_EQ(st().doc.NbPointsE(), 0);
        EXPECT_EQ(st().history.count(), 0);
        EXPECT_EQ(window().windowTitle(), QStringLiteral("Profils Orvalis"));
    }
};

} // namespace

TEST_F(CommandLine, AProfileOpensAsTheRootWithoutADialog)
{
    const QString dat = QString::fromStdString(orvtest::sample("naca2412.dat"));
    start(dat);
    EXPECT_TRUE(st().ProjetCharge);
    EXPECT_GT(st().doc.NbPointsE(), 10);
    EXPECT_EQ(st().doc.PointsS, st().doc.PointsE); // the tip starts as a copy
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("naca2412.dat"));
    EXPECT_TRUE(platform.dialogs().empty());
    EXPECT_TRUE(platform.messages().empty());

    // Quoted, with a space in the name.
    const QString spaced = path(QStringLiteral("mon profil.dat"));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(orvtest::sample("naca0012.dat")), spaced));
    start(u'"' + spaced + u'"');
    EXPECT_TRUE(st().ProjetCharge);
    EXPECT_EQ(ui().side[0].lblNomFichier->text(), QStringLiteral("mon profil.dat"));
    EXPECT_TRUE(platform.messages().empty());
}

TEST_F(CommandLine, AMissingPathAFolderOrAPipeGivesOneMessageAndAnEmptyWindow)
{
    const QString absent = path(QStringLiteral("absent.dat"));
    start(absent);
    expectEmptyWindowWith("Lecture impossible|Le fichier « " + absent.toStdString() + " » est introuvable.");

    platform.clearRecords();
    QDir(folder()).mkdir(QStringLiteral("profils"));
    const QString dir = path(QStringLiteral("profils"));
    start(dir);
    expectEmptyWindowWith("Lecture impossible|« " + dir.toStdString() + " » est un dossier, pas un fichier.");

    platform.clearRecords();
    const QString pipe = path(QStringLiteral("tube.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    start(pipe);
    expectEmptyWindowWith("Lecture impossible|Le fichier « " + pipe.toStdString() +
                          " » ne peut pas être lu.");
}

TEST_F(CommandLine, AFileTheLibraryCannotReadIsReportedByTheOpenCommand)
{
    const QString notes = write(QStringLiteral("notes.txt"), "rien\r\n");
    start(notes);
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Lecture impossible"));
    EXPECT_FALSE(st().ProjetCharge);

    platform.clearRecords();
    const QString sorvane = write(QStringLiteral("decoupe.sv"), "[Projet]\r\n");
    start(sorvane);
    EXPECT_EQ(platform.messages().size(), 1u);
    EXPECT_FALSE(st().ProjetCharge);
}

namespace {

struct ProgramRun {
    int code;
    QString out, err;
};

// The real program, without any display: help, version and refusals must
// end before a window is wanted.
ProgramRun runProgram(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVALIS_PROGRAM), arguments);
    if (!p.waitForFinished(20000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(ProgramOptions, HelpAndVersionPrintAndEndWithoutAWindow)
{
    const ProgramRun help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Utilisation : orvalis [OPTION]... [FICHIER]\n")));
    EXPECT_TRUE(help.err.isEmpty());
    const ProgramRun version = runProgram({QStringLiteral("-v")});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Orvalis ")));
}

TEST(ProgramOptions, ABadOptionIsToldOnTheErrorStreamWithCodeTwo)
{
    const ProgramRun bad = runProgram({QStringLiteral("aile.orv"), QStringLiteral("--aide")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(bad.err, QStringLiteral("orvalis : option inconnue « --aide »\n"
                                      "Essayez « orvalis --help » pour en savoir plus.\n"));
}
