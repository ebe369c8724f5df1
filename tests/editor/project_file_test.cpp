// The project file itself: the bytes a save writes, and what a read makes of
// sound and of damaged files.
#include "editor/project_file.h"

#include "core/numeric_entry.h"
#include "platform/ini_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace orv;

namespace {

ProjectData smallProject()
{
    ProjectData d;
    d.fileNames = {QStringLiteral("naca2412.dat"), QStringLiteral("naca0012.dat")};
    d.points[0] = ProfilePoints({{100, 0, 5}, {12.5f, -3.25f, 0}, {0, 0, 7}});
    d.points[1] = ProfilePoints({{1, 2, 0}, {3, 4, 1}, {5, 6, 2}, {7, 8, 4}});
    d.Ecartement = 500;
    d.boutonFleche = 1;
    d.CoeffZoom = 2.5f;
    d.XCentreZoom = -10.25f;
    d.YCentreZoom = 3;
    d.omega = 90;
    d.alpha = 180;
    d.comment = QStringLiteral("a\r\nb");
    return d;
}

const QByteArray kSmallProject =
    "[Emplanture]\r\nNomFichier=naca2412.dat\r\nNombrePoints=3\r\n"
    "1=100.000000:0.000000:5\r\n2=12.500000:-3.250000:0\r\n3=0.000000:0.000000:7\r\n"
    "[Saumon]\r\nNomFichier=naca0012.dat\r\nNombrePoints=4\r\n"
    "1=1.000000:2.000000:0\r\n2=3.000000:4.000000:1\r\n3=5.000000:6.000000:2\r\n"
    "4=7.000000:8.000000:4\r\n"
    "[Position]\r\nEcartement=500.000000\r\nBoutonFleche=1\r\nBoutonDiedre=-1\r\n"
    "BoutonAligner=-1\r\n"
    "[Affichage]\r\nCoeffZoom=2.500000\r\nXCentreZoom=-10.250000\r\nYCentreZoom=3.000000\r\n"
    "Omega=90.000000\r\nAlpha=180.000000\r\nCommentaire=a;b\r\n";

ProjectRead readBytes(const QByteArray &bytes)
{
    return readProject(IniDocument::parse(bytes));
}

// A sound project around the given root section body.
QByteArray withRoot(const QByteArray &rootBody)
{
    return "[Emplanture]\r\n" + rootBody + "[Saumon]\r\nNombrePoints=1\r\n1=1.000000:1.000000:0\r\n";
}

} // namespace

TEST(ProjectFile, WritesEveryKeyInOrderWithSixDecimalsAndPointValues)
{
    IniDocument file;
    writeProject(file, smallProject());
    EXPECT_EQ(file.toBytes(), kSmallProject);
}

TEST(ProjectFile, ReadsBackEverythingItWrote)
{
    const ProjectRead r = readBytes(kSmallProject);
    EXPECT_EQ(r.refusal, ProjectRefusal::None);
    EXPECT_FALSE(r.damage.any());
    const ProjectData expected = smallProject();
    EXPECT_EQ(r.data.fileNames, expected.fileNames);
    EXPECT_EQ(r.data.points[0], expected.points[0]);
    EXPECT_EQ(r.data.points[1], expected.points[1]);
    EXPECT_EQ(r.data.Ecartement, 500);
    EXPECT_EQ(r.data.boutonFleche, 1);
    EXPECT_EQ(r.data.boutonDiedre, -1);
    EXPECT_EQ(r.data.boutonAligner, -1);
    EXPECT_EQ(r.data.CoeffZoom, 2.5f);
    EXPECT_EQ(r.data.XCentreZoom, -10.25f);
    EXPECT_EQ(r.data.omega, 90);
    EXPECT_EQ(r.data.alpha, 180);
    EXPECT_EQ(r.data.comment, QStringLiteral("a\r\nb"));
}

TEST(ProjectFile, SavingOverAProjectReplacesItsSectionsAndKeepsTheRest)
{
    IniDocument file = IniDocument::parse("[Autre]\r\nx=1\r\n[Emplanture]\r\nNombrePoints=10\r\n7=1:1:0\r\n");
    writeProject(file, smallProject());
    EXPECT_EQ(file.toBytes(), "[Autre]\r\nx=1\r\n" + kSmallProject);
}

TEST(ProjectFile, ReadsPointKeysWithOrWithoutTheirBlankAndOlderFiles)
{
    const ProjectRead r = readBytes(withRoot("NombrePoints=2\r\n 1 = 1,5:2:0\r\n2=3:4:1\r\n"));
    ASSERT_EQ(r.refusal, ProjectRefusal::None);
    EXPECT_FALSE(r.damage.any());
    EXPECT_EQ(r.data.points[0], ProfilePoints({{1.5f, 2, 0}, {3, 4, 1}}));
    // Keys that are absent tick nothing and leave the perspective as it starts.
    EXPECT_EQ(r.data.boutonFleche, -1);
    EXPECT_EQ(r.data.boutonDiedre, -1);
    EXPECT_EQ(r.data.omega, kPerspectiveOmega);
    EXPECT_EQ(r.data.alpha, kPerspectiveAlpha);
    EXPECT_EQ(r.data.CoeffZoom, 1.0f);
    EXPECT_EQ(r.data.comment, QString());
}

TEST(ProjectFile, AFileThatIsNoProjectOrHasAnEmptySideIsRefused)
{
    EXPECT_EQ(readBytes("[Fenêtre]\r\nLeft=0\r\n").refusal, ProjectRefusal::NotAProject);
    EXPECT_EQ(readBytes({}).refusal, ProjectRefusal::NotAProject);
    EXPECT_EQ(readBytes(withRoot("NombrePoints=0\r\n")).refusal, ProjectRefusal::NoRootPoint);
    EXPECT_EQ(readBytes(withRoot("NombrePoints=2\r\n1=x\r\n2=:\r\n")).refusal, ProjectRefusal::NoRootPoint);
    EXPECT_EQ(
        readBytes("[Emplanture]\r\nNombrePoints=1\r\n1=0:0:0\r\n[Saumon]\r\nNombrePoints=3\r\n").refusal,
        ProjectRefusal::NoTipPoint);
}

TEST(ProjectFile, UnreadablePointValuesAreSkippedAndCounted)
{
    const ProjectRead r = readBytes(withRoot("NombrePoints=4\r\n1=1:1:0\r\n2=abc\r\n3=7\r\n4=2:2:1\r\n"));
    ASSERT_EQ(r.refusal, ProjectRefusal::None);
    EXPECT_EQ(r.data.points[0], ProfilePoints({{1, 1, 0}, {2, 2, 1}}));
    EXPECT_EQ(r.damage.unreadablePoints[0], 2);
    EXPECT_EQ(r.damage.pointsRead[0], 2);
    EXPECT_TRUE(r.damage.any());
}

TEST(ProjectFile, ACountTheKeysDoNotBearOutEndsAtTheLastKey)
{
    ProjectRead r = readBytes(withRoot("NombrePoints=2000000000\r\n1=1:1:0\r\n2=2:2:0\r\n3=3:3:0\r\n"));
    EXPECT_EQ(r.data.points[0].count(), 3);
    EXPECT_EQ(r.damage.missingPoints[0], 2000000000 - 3);
    r = readBytes(withRoot("NombrePoints=-4\r\n1=1:1:0\r\n2=2:2:0\r\n"));
    EXPECT_EQ(r.data.points[0].count(), 2);
    EXPECT_TRUE(r.damage.badCount[0]);
    r = readBytes(withRoot("NombrePoints=beaucoup\r\n1=1:1:0\r\n"));
    EXPECT_EQ(r.data.points[0].count(), 1);
    EXPECT_TRUE(r.damage.badCount[0]);
    // A count below the keys reads only what it announces.
    r = readBytes(withRoot("NombrePoints=1\r\n1=1:1:0\r\n2=2:2:0\r\n"));
    EXPECT_EQ(r.data.points[0].count(), 1);
    EXPECT_FALSE(r.damage.any());
}

TEST(ProjectFile, FlagsOutsideTheThreeSelectionBitsAreMended)
{
    const ProjectRead r = readBytes(
        withRoot("NombrePoints=6\r\n1=0:0:70000\r\n2=1:0:13\r\n3=2:0\r\n4=3:0:-1\r\n5=4:0:x\r\n6=5:0:6\r\n"));
    ASSERT_EQ(r.data.points[0].count(), 6);
    const std::vector<int16_t> flags{0, 5, 0, 7, 0, 6};
    for (int32_t i = 1; i <= 6; ++i)
        EXPECT_EQ(r.data.points[0][i].Flags, flags[size_t(i - 1)]) << i;
    EXPECT_EQ(r.damage.badFlags[0], 5);
}

TEST(ProjectFile, LayoutBoxIndexesOutOfRangeTickNothing)
{
    const QByteArray position =
        "[Position]\r\nEcartement=10\r\nBoutonFleche=3\r\nBoutonDiedre=5\r\nBoutonAligner=1\r\n";
    ProjectRead r = readBytes(withRoot("NombrePoints=1\r\n1=0:0:0\r\n") + position);
    EXPECT_EQ(r.data.boutonFleche, -1);
    EXPECT_EQ(r.data.boutonDiedre, -1);
    EXPECT_EQ(r.data.boutonAligner, 1);
    EXPECT_TRUE(r.damage.badButtons);
    r = readBytes(withRoot("NombrePoints=1\r\n1=0:0:0\r\n") +
                  "[Position]\r\nBoutonFleche=2\r\nBoutonDiedre=4\r\nBoutonAligner=-1\r\n");
    EXPECT_EQ(r.data.boutonFleche, 2);
    EXPECT_EQ(r.data.boutonDiedre, 4);
    EXPECT_FALSE(r.damage.any());
}

TEST(ProjectFile, PointCoordinatesAreWrittenAsThePatternWritesThem)
{
    const NumberPattern pattern(kFmtFile6);
    auto same = [&](float v) {
        std::string fast;
        projectdetail::appendSixDecimals(fast, v);
        EXPECT_EQ(fast, pattern.format(v)) << v;
    };
    // Exact halves at the seventh decimal round away from zero.
    for (float v : {0.0f, -0.0f, 0.0078125f, -0.0078125f, 0.0234375f, 1e-7f, -4e-7f, -5e-7f, 12.5f, -3.25f,
                    999999.9f, 16777216.0f, 1e11f, 9.9e11f, 2e12f, -3e15f, 1e-30f, 1.17549435e-38f})
        same(v);
    uint32_t bits = 0x2545F491u;
    for (int i = 0; i < 200000; ++i) {
        bits ^= bits << 13;
        bits ^= bits >> 17;
        bits ^= bits << 5;
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            same(v);
    }
}

TEST(ProjectFile, PointCoordinatesAreReadAsTheLenientConversionReadsThem)
{
    for (const char *text :
         {"0", "-0.000000", "12.500000", "-3.250000", "0.1", "123456789012345", "1234567890123456",
          "0.000000000000001", "1.", ".5", "-", "", "1,5", " 2", "7e3", "1.2.3", "99999999999999.9"})
        EXPECT_EQ(projectdetail::readNumber(text), parseLenient(text)) << text;
    uint32_t bits = 0x9E3779B9u;
    for (int i = 0; i < 100000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v) || std::fabs(v) > 1e9f)
            continue;
        std::string text;
        projectdetail::appendSixDecimals(text, v);
        EXPECT_EQ(projectdetail::readNumber(text), parseLenient(text)) << text;
    }
}
