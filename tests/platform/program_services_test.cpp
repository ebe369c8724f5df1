// The program folder rules, the one-copy lock and the search for the
// system-information tool.
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "platform/system_info.h"

#include "qt_print.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace orv;

namespace {

void makeExecutable(const QString &path, bool executable = true)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    QFile::setPermissions(path, executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                           : QFile::ReadOwner | QFile::WriteOwner);
}

// Sets an environment variable for the life of the guard.
class EnvGuard {
public:
    EnvGuard(const char *name, const QByteArray &value) : m_name(name), m_had(qEnvironmentVariableIsSet(name))
    {
        m_old = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

TEST(ProgramFolder, OrvalisHomeWinsAndIsCreated)
{
    QTemporaryDir dir;
    const QString home = dir.filePath("ici/orvalis/");
    EXPECT_EQ(resolveProgramFolder({home, dir.path(), "", ""}), dir.filePath("ici/orvalis"));
    EXPECT_TRUE(QFileInfo(home).isDir());
}

TEST(ProgramFolder, AWritablePortableFolderIsTheProgramFolder)
{
    QTemporaryDir dir;
    EXPECT_EQ(resolveProgramFolder({"", dir.path(), "/unused", "/unused", true}), dir.path());
}

TEST(ProgramFolder, AnInstalledProgramKeepsItsFilesInTheUserConfiguration)
{
    // /usr/bin is writable for root: the settings must still not land there.
    QTemporaryDir dir;
    EXPECT_EQ(resolveProgramFolder({"", dir.path(), dir.filePath("cfg"), "", false}), dir.filePath("cfg/Orvalis"));
}

TEST(ProgramFolder, OtherwiseTheUserConfigurationFolderIsUsed)
{
    QTemporaryDir dir;
    const QString missingExe = dir.filePath("absent");
    EXPECT_EQ(resolveProgramFolder({"", missingExe, dir.filePath("config"), "/unused"}),
              dir.filePath("config/Orvalis"));
    EXPECT_TRUE(QFileInfo(dir.filePath("config/Orvalis")).isDir());
    // A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
    EXPECT_EQ(resolveProgramFolder({"", missingExe, "relatif", dir.path()}), dir.filePath(".config/Orvalis"));
}

TEST(ProgramFolder, AReadOnlyExecutableFolderIsPassedOver)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    QTemporaryDir dir;
    const QString exe = dir.filePath("bin");
    QDir().mkpath(exe);
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(resolveProgramFolder({"", exe, dir.filePath("cfg"), "", true}), dir.filePath("cfg/Orvalis"));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ProgramFolder, TheFilesOfTheProgramFolderFollowOrvalisHome)
{
    QTemporaryDir dir;
    const EnvGuard guard("ORVALIS_HOME", dir.path().toUtf8());
    EXPECT_EQ(programFolder(), dir.path());
    EXPECT_EQ(settingsFilePath(), dir.filePath("Orvalis.ini"));
    EXPECT_EQ(exchangeFilePath(u'E'), dir.filePath("TempE.dat"));
    EXPECT_EQ(exchangeFilePath(u'S'), dir.filePath("TempS.dat"));
    EXPECT_EQ(helpFilePath(), dataFolder() + "/Aide_Orvalis.html"); // with the program, whatever the home
}

TEST(DataFolder, TheHelpBesideTheProgramWinsOverTheSharedFolder)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath("usr/bin"), share = dir.filePath("usr/share/orvalis");
    QDir().mkpath(bin);
    QDir().mkpath(share);
    // Neither holds the help: the program's own folder, where it is looked for.
    EXPECT_EQ(resolveDataFolder(bin), bin);
    makeExecutable(share + "/Aide_Orvalis.html", false);
    EXPECT_EQ(resolveDataFolder(bin), share);
    EXPECT_EQ(resolveDataFolder(bin + "/"), share);
    makeExecutable(bin + "/Aide_Orvalis.html", false);
    EXPECT_EQ(resolveDataFolder(bin), bin);
}

TEST(SingleInstance, ASecondCopyFindsTheFirstRunning)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    EXPECT_FALSE(first.anotherIsRunning());
    SingleInstance second(dir.path());
    EXPECT_TRUE(second.anotherIsRunning());
}

TEST(SingleInstance, ALongRunningCopyKeepsItsLock)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    QFile lock(first.lockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        lock.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    lock.close();
    SingleInstance second(dir.path());
    EXPECT_TRUE(second.anotherIsRunning());
}

TEST(SingleInstance, TheLockOfACopyThatDiedIsTakenOver)
{
    QTemporaryDir dir;
    {
        QFile lock(dir.filePath("orvalis.lock"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("2147483000\nplatform_tests\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    SingleInstance copy(dir.path());
    EXPECT_FALSE(copy.anotherIsRunning());
}

TEST(SingleInstance, TheLockIsReleasedWhenTheProgramEnds)
{
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
    }
    SingleInstance again(dir.path());
    EXPECT_FALSE(again.anotherIsRunning());
}

TEST(SystemInfoSearch, TheFirstKnownToolOnPathIsChosen)
{
    QTemporaryDir a;
    QTemporaryDir b;
    makeExecutable(a.filePath("gnome-system-monitor"));
    makeExecutable(b.filePath("kinfocenter"));
    EXPECT_EQ(findSystemInfoTool(a.path() + ":" + b.path()), b.filePath("kinfocenter"));
    makeExecutable(a.filePath("hardinfo"));
    EXPECT_EQ(findSystemInfoTool(a.path() + ":" + b.path()), a.filePath("hardinfo"));
}

TEST(SystemInfoSearch, FilesThatCannotRunAndRelativeFoldersDoNotCount)
{
    QTemporaryDir a;
    makeExecutable(a.filePath("hardinfo"), false);
    QDir().mkpath(a.filePath("kinfocenter")); // a folder of that name
    EXPECT_EQ(findSystemInfoTool(a.path()), "");
    EXPECT_EQ(findSystemInfoTool("::."), "");
    EXPECT_EQ(findSystemInfoTool(""), "");
}
