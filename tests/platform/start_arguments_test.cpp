// The program's own options, Qt's options passed through, and the checks of a
// file named on the command line.
#include "platform/command_line.h"

#include "qt_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace orv;

TEST(StartArguments, HelpAndVersionEndTheStartWhereverTheyStand)
{
    EXPECT_EQ(parseStartArguments({"--help"}).action, StartAction::Help);
    EXPECT_EQ(parseStartArguments({"aile.orv", "-h"}).action, StartAction::Help);
    EXPECT_EQ(parseStartArguments({"--version"}).action, StartAction::Version);
    EXPECT_EQ(parseStartArguments({"-v", "--bizarre"}).action, StartAction::Version);
    EXPECT_EQ(parseStartArguments({}).action, StartAction::Run);
}

TEST(StartArguments, AnUnknownOptionIsReportedWithItsText)
{
    const StartRequest r = parseStartArguments({"aile.dat", "--aide", "-x"});
    EXPECT_EQ(r.action, StartAction::BadOption);
    EXPECT_EQ(r.badOption, "--aide");
    EXPECT_EQ(badOptionText("--aide"),
              "orvalis : option inconnue « --aide »\nEssayez « orvalis --help » pour en savoir plus.\n");
    // A Qt option that needs a value and has none is not Qt's either.
    EXPECT_EQ(parseStartArguments({"-style"}).badOption, "-style");
}

TEST(StartArguments, QtOptionsGoToQtAndTheRestNamesTheFile)
{
    const StartRequest r = parseStartArguments({"-style", "fusion", "/home/moi/mes", "--platform=xcb",
                                                "projets/aile.orv", "-reverse", "-session", "1a2b"});
    EXPECT_EQ(r.action, StartAction::Run);
    EXPECT_EQ(r.qtArguments,
              QStringList({"-style", "fusion", "--platform=xcb", "-reverse", "-session", "1a2b"}));
    EXPECT_EQ(r.files, QStringList({"/home/moi/mes", "projets/aile.orv"}));
    EXPECT_EQ(joinedCommandLine(r.files), "/home/moi/mes projets/aile.orv");
}

TEST(StartArguments, AfterTwoDashesEverythingIsAFileAndALoneDashIsOne)
{
    const StartRequest r = parseStartArguments({"--", "-style", "--help"});
    EXPECT_EQ(r.action, StartAction::Run);
    EXPECT_EQ(r.files, QStringList({"-style", "--help"}));
    EXPECT_TRUE(r.qtArguments.isEmpty());
    EXPECT_EQ(parseStartArguments({"-"}).files, QStringList({"-"}));
}

TEST(StartArguments, TheHelpNamesTheSamplesOnlyWhenThereAreSome)
{
    EXPECT_TRUE(helpText("/usr/share/orvalis/samples").contains("\nExemples : /usr/share/orvalis/samples\n"));
    EXPECT_FALSE(helpText("").contains("Exemples"));
    EXPECT_TRUE(helpText("").startsWith("Utilisation : orvalis [OPTION]... [FICHIER]\n"));
    EXPECT_EQ(versionText("1.0.0").section(u'\n', 0, 0), "Orvalis 1.0.0");
}

TEST(CommandLineFile, QuotesAreDroppedAndMixedCaseProjectsStayIgnored)
{
    EXPECT_EQ(fileOnCommandLine("\"/home/moi/mes profils/clarky.dat\""), "/home/moi/mes profils/clarky.dat");
    EXPECT_EQ(fileOnCommandLine("/home/moi/nervure.dxf"), "/home/moi/nervure.dxf");
    EXPECT_EQ(fileOnCommandLine("/home/moi/dossier"), "/home/moi/dossier");
    EXPECT_FALSE(fileOnCommandLine("").has_value());
    EXPECT_FALSE(fileOnCommandLine("\"\"").has_value());
    EXPECT_FALSE(fileOnCommandLine("\"/home/moi/aile.Orv\"").has_value());
    EXPECT_FALSE(fileOnCommandLine("/home/moi/aile.oRV").has_value());
}

TEST(CommandLineFile, MissingFoldersAndUnreadableFilesAreTold)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("profil.dat");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(fileProblem(file), FileProblem::None);
    EXPECT_EQ(fileProblem(dir.filePath("absent.dat")), FileProblem::Missing);
    EXPECT_EQ(fileProblem(dir.path()), FileProblem::Folder);
    // A named pipe would block the start if it were opened.
    const QString pipe = dir.filePath("tube");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(fileProblem(pipe), FileProblem::Unreadable);
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    QFile::setPermissions(file, QFile::WriteOwner);
    EXPECT_EQ(fileProblem(file), FileProblem::Unreadable);
}
