// Airfoil coordinate files through LireFichier.
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sys/stat.h>

using namespace vxtest;

TEST(DatReader, TitleLineThenPointsGiveOneContourShiftedToTheOrigin)
{
    TempDir dir;
    const Read r = lire(dir.write("p.dat", "My foil\n10 -2\n15 3\n12.5 1\n"));
    ASSERT_EQ(r.result, 3);
    EXPECT_EQ(r.title, "My foil");
    EXPECT_EQ(r.xMin, 0.0f);
    EXPECT_EQ(r.yMin, 0.0f);
    EXPECT_FLOAT_EQ(r.xMax, 5.0f);
    EXPECT_FLOAT_EQ(r.yMax, 5.0f);
    // File order is kept: a profile is not reorganised.
    EXPECT_FLOAT_EQ(r.points[0].X, 0.0f);
    EXPECT_FLOAT_EQ(r.points[0].Y, 0.0f);
    EXPECT_FLOAT_EQ(r.points[1].X, 5.0f);
    EXPECT_FLOAT_EQ(r.points[2].X, 2.5f);
    for (const ContourPoint &p : r.points) {
        EXPECT_EQ(tag(p), " A");
        EXPECT_EQ(pen(p), "PD");
    }
}

TEST(DatReader, RealSeligFilesReadWithTheirTitles)
{
    const Read clark = lire(fixture("dat/clarky.dat"));
    ASSERT_GT(clark.result, 100);
    EXPECT_EQ(clark.title, " CLARK Y AIRFOIL");
    EXPECT_NEAR(clark.xMax, 1.0f, 1e-6);
    EXPECT_EQ(contourCount(clark.points), 1);

    // Scientific notation written by XFOIL.
    const Read naca = lire(fixture("dat/xfoil_naca2412.dat"));
    ASSERT_GT(naca.result, 150);
    EXPECT_EQ(naca.title, "NACA 2412");

    // Free prose with decimal commas after the points is skipped.
    const Read hn = lire(fixture("dat/hn032.dat"));
    ASSERT_GT(hn.result, 50);
    EXPECT_LE(hn.xMax, 1.0001f);
    for (const ContourPoint &p : hn.points)
        EXPECT_LT(p.Y, 1.0f);
}

TEST(DatReader, LineEndsOfEveryKindAndAMissingFinalEnd)
{
    TempDir dir;
    for (const char *body : {"T\r\n0 0\r\n1 0\r\n1 1", "T\r0 0\r1 0\r1 1\r", "T\n0 0\n1 0\n1 1"}) {
        const Read r = lire(dir.write("e.dat", body));
        EXPECT_EQ(r.result, 3) << body;
        EXPECT_EQ(r.title, "T");
    }
}

TEST(DatReader, ABlankFirstLineMeansNoTitle)
{
    TempDir dir;
    const Read r = lire(dir.write("b.dat", "\nTitle later\n0 0\n1 1\n"));
    EXPECT_EQ(r.result, 2);
    EXPECT_EQ(r.title, "");
}

TEST(DatReader, LinesWithOneNumberOrACommaAreSkipped)
{
    TempDir dir;
    const Read r = lire(dir.write("s.dat", "T\n42\n0 0\n1,5 2\n1.5,2\n2\t3 rest ignored\n"));
    ASSERT_EQ(r.result, 2);
    EXPECT_FLOAT_EQ(r.points[1].X, 2.0f);
    EXPECT_FLOAT_EQ(r.points[1].Y, 3.0f);
}

TEST(DatReader, NonFiniteOrHugeNumbersAreNotPoints)
{
    TempDir dir;
    const Read r = lire(dir.write("n.dat", "T\nnan nan\n1e400 0\ninf 1\n0 0\n1 1\n"));
    ASSERT_EQ(r.result, 2);
    EXPECT_FLOAT_EQ(r.xMax, 1.0f);
}

TEST(DatReader, CountLineThatDoesNotMatchStaysAPoint)
{
    TempDir dir;
    const Read r = lire(dir.write("c.dat", "T\n61 61\n0 0\n1 0\n"));
    ASSERT_EQ(r.result, 3);
    EXPECT_FLOAT_EQ(r.xMax, 61.0f);
}

TEST(DatReader, LednicerFilesComeBackInSeligOrder)
{
    const Read r = lire(fixture("dat/naca631-412_lednicer.dat"));
    ASSERT_EQ(r.result, 26 + 26 - 1);
    EXPECT_EQ(r.title, "NACA 63-412 AIRFOIL");
    EXPECT_EQ(contourCount(r.points), 1);
    // Trailing edge, upper surface to the nose, lower surface back.
    EXPECT_FLOAT_EQ(r.points.front().X, 1.0f);
    EXPECT_FLOAT_EQ(r.points.back().X, 1.0f);
    size_t nose = 0;
    for (size_t i = 1; i < r.points.size(); ++i)
        if (r.points[i].X < r.points[nose].X)
            nose = i;
    EXPECT_EQ(nose, 25u);
    for (size_t i = 1; i <= nose; ++i)
        EXPECT_LE(r.points[i].X, r.points[i - 1].X);
    for (size_t i = nose + 1; i < r.points.size(); ++i)
        EXPECT_GE(r.points[i].X, r.points[i - 1].X);
    EXPECT_GT(r.points[10].Y, r.points[40].Y); // upper surface first
}

TEST(DatReader, RepeatedPointsOfOneContourGiveOneRecord)
{
    TempDir dir;
    const Read r = lire(dir.write("r.dat", "T\n0 0\n1 1\n1 1\n2 0\n"));
    EXPECT_EQ(r.result, 3);
}

TEST(DatReader, ASinglePointGetsItsPenUpPartner)
{
    TempDir dir;
    const Read r = lire(dir.write("one.dat", "T\n3 4\n"));
    ASSERT_EQ(r.result, 2);
    EXPECT_EQ(pen(r.points[0]), "PD");
    EXPECT_EQ(pen(r.points[1]), "PU");
    EXPECT_EQ(tag(r.points[0]), " A");
    EXPECT_EQ(tag(r.points[1]), " A");
    EXPECT_EQ(r.xMax, 0.0f);
}

TEST(DatReader, TitleIsWrittenOnlyIntoABufferOfSpaces)
{
    TempDir dir;
    const std::string path = dir.write("t.dat", "A title\n0 0\n1 0\n");
    Array a(sizeof(ContourPoint));
    std::string name = path;
    char *namePtr = name.data();
    std::string title = "caller text" + std::string(250, ' ');
    char *titlePtr = title.data();
    float x0, x1, y0, y1;
    EXPECT_EQ(LireFichier(a.ref(), &namePtr, &x0, &x1, &y0, &y1, &titlePtr), 2);
    EXPECT_EQ(title.substr(0, 11), "caller text");

    // A longer buffer is never written past its end.
    std::string big(300, ' ');
    char *bigPtr = big.data();
    EXPECT_EQ(LireFichier(a.ref(), &namePtr, &x0, &x1, &y0, &y1, &bigPtr), 2);
    EXPECT_EQ(big.substr(0, 8), "A title ");
    EXPECT_EQ(big.size(), 300u);
}

TEST(ReadDispatch, FailuresGiveTheirCodesAndLeaveTheArrayAlone)
{
    TempDir dir;
    EXPECT_EQ(lire(dir.path("missing.dat")).result, VX_ERR_OPEN);
    EXPECT_EQ(lire(dir.write("a.svg", "<svg/>")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("a.xyz", "0 0\n")).result, VX_ERR_EXTENSION);
    EXPECT_EQ(lire(dir.write("noextension", "0 0\n")).result, VX_ERR_EXTENSION);
    EXPECT_EQ(lire(dir.write("empty.dat", "")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("text.dat", "only words\nhere\n")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("UPPER.DAT", "0 0\n1 1\n")).result, 2);
    // A folder or a pipe named like a profile is not a file to read.
    std::filesystem::create_directory(dir.path("folder.dat"));
    EXPECT_EQ(lire(dir.path("folder.dat")).result, VX_ERR_OPEN);
    ASSERT_EQ(::mkfifo(dir.path("pipe.plt").c_str(), 0600), 0);
    EXPECT_EQ(lire(dir.path("pipe.plt")).result, VX_ERR_OPEN);

    Array a(std::vector<ContourPoint>{contourPoint(7, 8)});
    std::string name = dir.path("empty.dat");
    char *namePtr = name.data();
    float x0, x1, y0, y1;
    EXPECT_EQ(LireFichier(a.ref(), &namePtr, &x0, &x1, &y0, &y1, nullptr), VX_ERR_NO_POINT);
    ASSERT_EQ(a.get()->count, 1);
    EXPECT_EQ(a.items<ContourPoint>()[0].X, 7.0f);
}

TEST(ReadDispatch, File2SeqNumbersTheSequencesFromZero)
{
    TempDir dir;
    const SeqRead r = file2seq(dir.write("s.dat", "T\n5 5\n6 5\n6 6\n"));
    ASSERT_EQ(r.result, 3);
    for (const SequencePoint &p : r.points) {
        EXPECT_EQ(p.Sequence, 0);
        EXPECT_EQ(p.Mark, 0);
    }
    EXPECT_FLOAT_EQ(r.points[2].X, 1.0f);
}
