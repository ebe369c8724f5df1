// The settings-file semantics: matching, placement of writes, clearing,
// decoding, and the exact bytes written.
#include "platform/ini_document.h"

#include "qt_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace orv;

namespace {

IniDocument parsed(const char *text)
{
    return IniDocument::parse(QByteArray(text));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(IniLookup, SectionsAndKeysMatchWithoutRegardToCaseAccentsIncluded)
{
    const IniDocument doc = parsed("[Fenêtre]\r\nWindowState=2\r\n");
    EXPECT_EQ(doc.value("FENÊTRE", "windowstate"), "2");
    EXPECT_EQ(doc.value("fenêtre", "WINDOWSTATE"), "2");
    EXPECT_FALSE(doc.find("Fenetre", "WindowState").has_value());
}

TEST(IniLookup, BlanksAroundKeysAreIgnoredBothWays)
{
    const IniDocument doc = parsed("[Emplanture]\r\n 1=10.000000:0.000000:0\r\n2 =20.000000:0.000000:0\r\n");
    EXPECT_EQ(doc.value("Emplanture", "1"), "10.000000:0.000000:0");
    EXPECT_EQ(doc.value("Emplanture", " 1"), "10.000000:0.000000:0");
    EXPECT_EQ(doc.value("Emplanture", " 2"), "20.000000:0.000000:0");
    EXPECT_EQ(doc.value(" Emplanture ", "2"), "20.000000:0.000000:0");
}

TEST(IniLookup, MissingKeyGivesTheDefaultButAnEmptyValueIsAValue)
{
    const IniDocument doc = parsed("[Affichage]\r\nCommentaire=\r\n");
    EXPECT_EQ(readSetting(doc, "Affichage", "Commentaire", "défaut"), "");
    EXPECT_EQ(readSetting(doc, "Affichage", "Omega", "120"), "120");
    EXPECT_EQ(readSetting(doc, "Position", "Ecartement", "0"), "0");
}

TEST(IniLookup, ValuesComeBackWholeWithoutTheBlanksAroundThem)
{
    const QString longValue = QString(600, u'x') + "é;fin";
    IniDocument doc;
    doc.setValue("Affichage", "Commentaire", longValue);
    const IniDocument back = IniDocument::parse(doc.toBytes());
    EXPECT_EQ(back.value("Affichage", "Commentaire"), longValue);
    EXPECT_EQ(parsed("[a]\r\nk =  v w \t\r\n").value("a", "k"), "v w");
    EXPECT_EQ(parsed("[a]\r\nk=x=y\r\n").value("a", "k"), "x=y");
}

TEST(IniLookup, AReadSettingEndsAtANulByte)
{
    const IniDocument doc = IniDocument::parse(QByteArray("[a]\nk=abc\0def\n", 14));
    EXPECT_EQ(readSetting(doc, "a", "k", ""), "abc");
}

TEST(IniLookup, TheFirstOfRepeatedSectionsAndKeysIsTheOneRead)
{
    const IniDocument doc = parsed("[a]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(doc.value("a", "k"), "1");
    EXPECT_FALSE(doc.find("a", "j").has_value());
}

TEST(IniLookup, CommentsPreambleAndLinesWithoutEqualsAreNotKeys)
{
    const IniDocument doc = parsed("k=0\r\n[a]\r\n;k=1\r\nbruit\r\nk=2\r\n");
    EXPECT_EQ(doc.value("a", "k"), "2");
    EXPECT_FALSE(doc.find("a", "bruit").has_value());
}

TEST(IniReading, LfCrLfAndALastLineWithoutEndReadAlike)
{
    for (const char *text : {"[s]\nk=v\nz=w\n", "[s]\r\nk=v\r\nz=w\r\n", "[s]\r\nk=v\nz=w"}) {
        const IniDocument doc = parsed(text);
        EXPECT_EQ(doc.value("s", "k"), "v") << text;
        EXPECT_EQ(doc.value("s", "z"), "w") << text;
    }
}

TEST(IniReading, Windows1252FilesKeepTheirAccents)
{
    const IniDocument doc = parsed("[Fen\xEAtre]\r\nLeft=0\r\n[Fichiers]\r\nOuverture=C:\\Pi\xE8"
                                   "ces \x80\r\n");
    EXPECT_EQ(doc.value("Fenêtre", "Left"), "0");
    EXPECT_EQ(doc.value("Fichiers", "Ouverture"), "C:\\Pièces €");
}

TEST(IniReading, Utf8FilesWithOrWithoutByteOrderMarkAreDecoded)
{
    EXPECT_EQ(parsed("[Fen\xC3\xAAtre]\nLeft=\xE2\x82\xAC\n").value("Fenêtre", "Left"), "€");
    EXPECT_EQ(parsed("\xEF\xBB\xBF[Fen\xC3\xAAtre]\nLeft=1\n").value("Fenêtre", "Left"), "1");
}

TEST(IniWriting, AKeyWrittenAgainIsReplacedOnItsOwnLine)
{
    IniDocument doc = parsed("[s]\r\na=1\r\n B =2\r\nc=3\r\n");
    doc.setValue("S", "b", "22");
    EXPECT_EQ(doc.toBytes(), "[s]\r\na=1\r\nb=22\r\nc=3\r\n");
}

TEST(IniWriting, ANewKeyGoesAtTheEndOfItsSectionBeforeTrailingBlankLines)
{
    IniDocument doc = parsed("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    doc.setValue("a", "z", "3");
    doc.setValue("b", "w", "4");
    EXPECT_EQ(doc.toBytes(), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\nw=4\r\n");
}

TEST(IniWriting, ANewSectionGoesAtTheEndWithoutABlankLine)
{
    IniDocument doc = parsed("; réglages\n[a]\nx=1");
    doc.setValue("Fichiers", "Ouverture", "/home/moi/");
    EXPECT_EQ(doc.toBytes(), "; r\xC3\xA9glages\r\n[a]\r\nx=1\r\n[Fichiers]\r\nOuverture=/home/moi/\r\n");
}

TEST(IniWriting, KeysAreWrittenWithoutTheirBlanksAndValuesAsGiven)
{
    IniDocument doc;
    doc.setValue(" Emplanture ", " 1", " 1.000000:2.000000:0");
    EXPECT_EQ(doc.toBytes(), "[Emplanture]\r\n1= 1.000000:2.000000:0\r\n");
}

TEST(IniWriting, LineBreaksInAValueCannotStartANewLine)
{
    IniDocument doc;
    doc.setValue("Affichage", "Commentaire", "a\r\n[Emplanture]\nNombrePoints=0\rb");
    doc.setValue("Emplanture", "NombrePoints", "3");
    const IniDocument back = IniDocument::parse(doc.toBytes());
    EXPECT_EQ(back.value("Emplanture", "NombrePoints"), "3");
    EXPECT_EQ(back.value("Affichage", "Commentaire"), "a  [Emplanture] NombrePoints=0 b");
}

TEST(IniWriting, ClearingASectionRemovesItsKeysAndKeepsItsHeader)
{
    IniDocument doc =
        parsed("[Emplanture]\r\nNombrePoints=2\r\n1=0:0:0\r\n\r\n[Position]\r\nEcartement=10\r\n");
    EXPECT_TRUE(clearSection(doc, "emplanture"));
    EXPECT_FALSE(doc.find("Emplanture", "NombrePoints").has_value());
    EXPECT_EQ(doc.value("Position", "Ecartement"), "10");
    EXPECT_EQ(doc.toBytes(), "[Emplanture]\r\n\r\n[Position]\r\nEcartement=10\r\n");
    doc.setValue("Emplanture", "NombrePoints", "0");
    EXPECT_EQ(doc.toBytes(), "[Emplanture]\r\nNombrePoints=0\r\n\r\n[Position]\r\nEcartement=10\r\n");
}

TEST(IniWriting, ClearingAMissingSectionCreatesItEmpty)
{
    IniDocument doc;
    EXPECT_TRUE(clearSection(doc, "Emplanture"));
    EXPECT_EQ(doc.toBytes(), "[Emplanture]\r\n");
}

// A project written key by key in the order of the save command.
TEST(IniWriting, AProjectIsWrittenToTheExactBytes)
{
    IniDocument doc = parsed("[Emplanture]\r\nNombrePoints=9\r\n9=1:1:0\r\n[Affichage]\r\nAlpha=3\r\n");
    for (const char *section : {"Emplanture", "Saumon", "Position", "Affichage"})
        clearSection(doc, section);
    writeSetting(doc, "Emplanture", "NomFichier", "aile.dat");
    writeSetting(doc, "Emplanture", "NombrePoints", "2");
    writeSetting(doc, "Emplanture", " 1", "100.000000:0.000000:5");
    writeSetting(doc, "Emplanture", " 2", "0.000000:0.000000:0");
    writeSetting(doc, "Saumon", "NomFichier", "");
    writeSetting(doc, "Saumon", "NombrePoints", "1");
    writeSetting(doc, "Saumon", " 1", "-3.250000:12.500000:7");
    writeSetting(doc, "Position", "Ecartement", "100.000000");
    writeSetting(doc, "Position", "BoutonFleche", "-1");
    writeSetting(doc, "Affichage", "Commentaire", "a;b");
    EXPECT_EQ(doc.toBytes(), "[Emplanture]\r\n"
                             "NomFichier=aile.dat\r\n"
                             "NombrePoints=2\r\n"
                             "1=100.000000:0.000000:5\r\n"
                             "2=0.000000:0.000000:0\r\n"
                             "[Affichage]\r\n"
                             "Commentaire=a;b\r\n"
                             "[Saumon]\r\n"
                             "NomFichier=\r\n"
                             "NombrePoints=1\r\n"
                             "1=-3.250000:12.500000:7\r\n"
                             "[Position]\r\n"
                             "Ecartement=100.000000\r\n"
                             "BoutonFleche=-1\r\n");
}

TEST(IniWriting, AccentsAreWrittenAsUtf8EvenWhenTheFileWasRead1252)
{
    IniDocument doc = parsed("[Fen\xEAtre]\r\nLeft=0\r\n");
    doc.setValue("Fichiers", "Sauvegarde", "/données");
    EXPECT_EQ(doc.toBytes(), "[Fen\xC3\xAAtre]\r\nLeft=0\r\n[Fichiers]\r\nSauvegarde=/donn\xC3\xA9"
                             "es\r\n");
}

TEST(IniWriting, ManyPointKeysAreAllFoundAgain)
{
    IniDocument doc;
    for (int i = 1; i <= 20000; ++i)
        doc.setValue("Emplanture", u' ' + QString::number(i), QString::number(i) + ".000000:0.000000:0");
    const IniDocument back = IniDocument::parse(doc.toBytes());
    EXPECT_EQ(back.value("Emplanture", "1"), "1.000000:0.000000:0");
    EXPECT_EQ(back.value("Emplanture", " 20000"), "20000.000000:0.000000:0");
    EXPECT_EQ(back.toBytes().count("\r\n"), 20001);
}

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(IniFileTest, AMissingFileIsCreatedOnlyByItsFirstWrite)
{
    IniFile file(path("Orvalis.ini"));
    EXPECT_FALSE(file.existed());
    EXPECT_TRUE(file.save());
    EXPECT_FALSE(QFile::exists(file.path()));
    file.document().setValue("Fenêtre", "Left", "0");
    EXPECT_TRUE(file.save());
    EXPECT_EQ(readAll(file.path()), "[Fen\xC3\xAAtre]\r\nLeft=0\r\n");
}

TEST_F(IniFileTest, SavingRewritesTheWholeFileAndKeepsWhatItDidNotTouch)
{
    writeAll(path("p.orv"), "[Autre]\nCle=garde\n[Position]\nEcartement=5\n");
    IniFile file(path("p.orv"));
    file.document().setValue("Position", "Ecartement", "10.000000");
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readAll(path("p.orv")), "[Autre]\r\nCle=garde\r\n[Position]\r\nEcartement=10.000000\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.orv"}); // no temporary left
}

TEST_F(IniFileTest, AWriteThatFailsHalfwayLeavesTheOldFileIntact)
{
    const QByteArray old = "[Position]\r\nEcartement=5\r\n";
    writeAll(path("p.orv"), old);
    IniFile file(path("p.orv"));
    file.document().setValue("Position", "Ecartement", "10.000000");
    orv::testing::failNextSave();
    EXPECT_FALSE(file.save());
    EXPECT_EQ(readAll(path("p.orv")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.orv"});
    EXPECT_TRUE(file.save()); // still modified: the next save writes it
    EXPECT_EQ(IniFile(path("p.orv")).document().value("Position", "Ecartement"), "10.000000");
}

TEST_F(IniFileTest, ASaveIntoAReadOnlyFolderFailsAndLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const QString folder = path("ro");
    QDir().mkpath(folder);
    const QByteArray old = "[Position]\r\nEcartement=5\r\n";
    writeAll(folder + "/p.orv", old);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    IniFile file(folder + "/p.orv");
    file.document().setValue("Position", "Ecartement", "10.000000");
    EXPECT_FALSE(file.save());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readAll(folder + "/p.orv"), old);
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    QDir().mkpath(path("dossier.orv")); // exists, but is no readable file
    IniFile file(path("dossier.orv"));
    EXPECT_FALSE(file.readable());
    file.document().setValue("Position", "Ecartement", "1");
    EXPECT_FALSE(file.save());
    EXPECT_TRUE(QFileInfo(path("dossier.orv")).isDir());
}
