// Path routines with both separators, the command line, and the decoding of
// 8-bit text.
#include "platform/command_line.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

#include "qt_print.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(Paths, FileNameIsTheTextAfterTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ(fileNameOf("/home/moi/aile.dat"), "aile.dat");
    EXPECT_EQ(fileNameOf("C:\\Profils\\aile.dat"), "aile.dat");
    EXPECT_EQ(fileNameOf("/mnt/c\\Profils/sous\\aile.dxf"), "aile.dxf");
    EXPECT_EQ(fileNameOf("aile.dat"), "");
    EXPECT_EQ(fileNameOf("/home/moi/"), "");
    EXPECT_EQ(fileNameOf("C:\\Profils\\"), "");
    EXPECT_EQ(fileNameOf(""), "");
}

TEST(Paths, ExtensionIsTakenFromTheLastPartOnly)
{
    EXPECT_EQ(extensionOf("/home/moi/aile.dat"), "dat");
    EXPECT_EQ(extensionOf("C:\\Profils\\AILE.DXF"), "DXF");
    EXPECT_EQ(extensionOf("/home/moi/aile.v2.orv"), "orv");
    EXPECT_EQ(extensionOf("aile.dat"), "dat"); // a bare file name, as the windows pass it
    EXPECT_EQ(extensionOf("/home/moi/aile"), "");
    EXPECT_EQ(extensionOf("/home/moi.v2/aile"), "");
    EXPECT_EQ(extensionOf("C:\\mes.profils\\aile"), "");
    EXPECT_EQ(extensionOf("/home/moi/aile."), "");
}

TEST(Paths, WithoutExtensionKeepsADotInAFolderName)
{
    EXPECT_EQ(withoutExtension("/home/moi/aile.dat"), "/home/moi/aile");
    EXPECT_EQ(withoutExtension("aile.dxf"), "aile");
    EXPECT_EQ(withoutExtension("C:\\Profils\\aile.v2.dat"), "C:\\Profils\\aile.v2");
    EXPECT_EQ(withoutExtension("/home/moi.v2/aile"), "/home/moi.v2/aile");
    EXPECT_EQ(withoutExtension("C:\\mes.profils\\aile"), "C:\\mes.profils\\aile");
    EXPECT_EQ(withoutExtension("aile"), "aile");
}

TEST(Paths, FolderKeepsItsTrailingSeparator)
{
    EXPECT_EQ(folderOf("/home/moi/aile.dat"), "/home/moi/");
    EXPECT_EQ(folderOf("C:\\Profils\\aile.dat"), "C:\\Profils\\");
    EXPECT_EQ(folderOf("/home/moi/"), "/home/moi/");
    EXPECT_EQ(folderOf("aile.dat"), "");
    EXPECT_EQ(folderOf("/aile.dat"), "/");
}

TEST(CommandLine, ArgumentsAreJoinedWithSingleSpaces)
{
    EXPECT_EQ(joinedCommandLine({"/home/moi/mes", "projets/aile.orv"}), "/home/moi/mes projets/aile.orv");
    EXPECT_EQ(joinedCommandLine({}), "");
}

TEST(CommandLine, AQuotedProjectPathLosesItsQuotes)
{
    EXPECT_EQ(projectOnCommandLine("\"/home/moi/mes projets/aile.orv\""), "/home/moi/mes projets/aile.orv");
    EXPECT_EQ(projectOnCommandLine("\"C:\\AILE.ORV\""), "C:\\AILE.ORV");
}

TEST(CommandLine, AnUnquotedProjectPathIsTakenWhole)
{
    EXPECT_EQ(projectOnCommandLine("/home/moi/mes projets/aile.orv"), "/home/moi/mes projets/aile.orv");
    EXPECT_EQ(projectOnCommandLine("AILE.ORV"), "AILE.ORV");
}

TEST(CommandLine, AnythingElseNamesNoProject)
{
    EXPECT_FALSE(projectOnCommandLine("").has_value());
    EXPECT_FALSE(projectOnCommandLine("\"/home/moi/aile.Orv\"").has_value());
    EXPECT_FALSE(projectOnCommandLine("/home/moi/aile.Orv").has_value());
    EXPECT_FALSE(projectOnCommandLine("/home/moi/aile.dat").has_value());
    EXPECT_FALSE(projectOnCommandLine("--aide").has_value());
}

TEST(TextCodec, ValidUtf8IsReadAsUtf8)
{
    EXPECT_EQ(decodeText("Corde: 100 Fl\xC3\xA8"
                         "che"),
              "Corde: 100 Flèche");
    EXPECT_EQ(decodeText("\xF0\x9F\x98\x80"), QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(decodeText("\xEF\xBB\xBFNACA"), "NACA");
    EXPECT_EQ(decodeText(""), "");
}

TEST(TextCodec, AnythingElseIsWindows1252WithItsHighTable)
{
    EXPECT_EQ(decodeText("Fl\xE8"
                         "che \x80 \x9C \x85 \x92"),
              "Flèche € œ … ’");
    // Undefined bytes of the code page keep their value.
    EXPECT_EQ(decodeText("\x81\x8D\x8F\x90\x9D"), QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D"));
}

TEST(TextCodec, MalformedUtf8IsNotTakenForUtf8)
{
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("ab\xC3"));           // cut at the end
    EXPECT_FALSE(isValidUtf8(QByteArray("\xC3(", 2)));
    EXPECT_TRUE(isValidUtf8("\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(decodeText("caf\xC3"), "cafÃ");
}

TEST(TextCodec, ATitleEndsAtItsTerminatorAndLosesItsPaddingSpaces)
{
    QByteArray buffer(260, ' ');
    buffer.replace(0, 12, "  NACA 2412 ");
    EXPECT_EQ(decodeTitle(buffer), "NACA 2412");
    EXPECT_EQ(decodeTitle(QByteArray("Profil \xE9tudi\xE9\0    ", 18)), "Profil étudié");
    EXPECT_EQ(decodeTitle(QByteArray(260, ' ')), "");
}
