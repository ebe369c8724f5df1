// The ".dat" writer: normalisation, title line, degenerate profiles.
#include "writer_test_support.h"

#include <gtest/gtest.h>

using namespace vxtest;

TEST(DatWriter, AWideProfileGetsAChordOfOneAndIsCentredOnItsMiddleHeight)
{
    TempDir dir;
    Array a(std::vector<ContourPoint>{contourPoint(110, 0), contourPoint(60, 7), contourPoint(10, 1),
                                      contourPoint(60, -5), contourPoint(110, 0)});
    ASSERT_EQ(ecrire(a, dir.path("wide.dat"), "Profil E"), VX_OK);
    EXPECT_EQ(readBytes(dir.path("wide.dat")), readBytes(fixture("writers/profile_wide.dat")));
    EXPECT_EQ(a.get()->locks, 0);
}

TEST(DatWriter, AProfileMoreThanTwiceAsTallAsWideIsScaledByHalfItsHeight)
{
    TempDir dir;
    Array a(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(10, 15), contourPoint(0, 30)});
    ASSERT_EQ(ecrire(a, dir.path("tall.dat"), ""), VX_OK);
    EXPECT_EQ(readBytes(dir.path("tall.dat")), readBytes(fixture("writers/profile_tall.dat")));

    // Half the height, not the middle height: off-centre when minY is not 0.
    Array raised(std::vector<ContourPoint>{contourPoint(0, 10), contourPoint(10, 25), contourPoint(0, 40)});
    ASSERT_EQ(ecrire(raised, dir.path("raised.dat"), ""), VX_OK);
    EXPECT_EQ(readBytes(dir.path("raised.dat")), "0.000000\t-0.333333\r\n"
                                                 "0.666667\t0.666667\r\n"
                                                 "0.000000\t1.666667\r\n");
}

TEST(DatWriter, DegenerateProfilesNeverGiveNanOrInfinity)
{
    TempDir dir;
    const std::string path = dir.path("d.dat");
    // One point, or points all in one place: written relative to the minimum.
    Array one(std::vector<ContourPoint>{contourPoint(5, 5)});
    ASSERT_EQ(ecrire(one, path, ""), VX_OK);
    EXPECT_EQ(readBytes(path), "0.000000\t0.000000\r\n");
    Array same(std::vector<ContourPoint>{contourPoint(-3, 4), contourPoint(-3, 4)});
    ASSERT_EQ(ecrire(same, path, ""), VX_OK);
    EXPECT_EQ(readBytes(path), "0.000000\t0.000000\r\n0.000000\t0.000000\r\n");

    // No width: the height scales.
    Array upright(std::vector<ContourPoint>{contourPoint(2, 0), contourPoint(2, 10)});
    ASSERT_EQ(ecrire(upright, path, ""), VX_OK);
    EXPECT_EQ(readBytes(path), "0.000000\t-1.000000\r\n0.000000\t1.000000\r\n");
    // No height: the width scales.
    Array flat(std::vector<ContourPoint>{contourPoint(0, 3), contourPoint(10, 3)});
    ASSERT_EQ(ecrire(flat, path, ""), VX_OK);
    EXPECT_EQ(readBytes(path), "0.000000\t0.000000\r\n1.000000\t0.000000\r\n");
    // The smallest widths still give finite numbers.
    Array tiny(std::vector<ContourPoint>{contourPoint(0, 1e30f), contourPoint(1e-45f, 1e30f)});
    ASSERT_EQ(ecrire(tiny, path, ""), VX_OK);
    EXPECT_EQ(readBytes(path), "0.000000\t0.000000\r\n1.000000\t0.000000\r\n");

    // An empty array writes the title alone.
    Array none(sizeof(ContourPoint));
    ASSERT_EQ(ecrire(none, path, "Vide"), VX_OK);
    EXPECT_EQ(readBytes(path), "Vide\r\n");
}

TEST(DatWriter, TheTitleIsCutAtItsFirstLineBreakInTheCallersBuffer)
{
    TempDir dir;
    Array a(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(1, 0)});
    for (const char *title : {"NACA 2412\r\nsecond line", "NACA 2412\nsecond", "NACA 2412\rsecond"}) {
        std::string after;
        ASSERT_EQ(ecrire(a, dir.path("t.dat"), title, &after), VX_OK);
        EXPECT_EQ(after, "NACA 2412");
        EXPECT_EQ(readBytes(dir.path("t.dat")), "NACA 2412\r\n0.000000\t0.000000\r\n1.000000\t0.000000\r\n");
    }
    // A title that starts with a break is empty: no title line.
    std::string after;
    ASSERT_EQ(ecrire(a, dir.path("t.dat"), "\nhidden", &after), VX_OK);
    EXPECT_EQ(after, "");
    EXPECT_EQ(readBytes(dir.path("t.dat")), "0.000000\t0.000000\r\n1.000000\t0.000000\r\n");

    // No title at all.
    std::string name = dir.path("n.dat");
    char *namePtr = name.data();
    EXPECT_EQ(EcrireFichier(a.ref(), &namePtr, nullptr), VX_OK);
    char *nullTitle = nullptr;
    EXPECT_EQ(EcrireFichier(a.ref(), &namePtr, &nullTitle), VX_OK);
    EXPECT_EQ(readBytes(name), "0.000000\t0.000000\r\n1.000000\t0.000000\r\n");
}

TEST(DatWriter, Seq2FileWritesTheSameFileFromSequencePoints)
{
    TempDir dir;
    Array a(std::vector<SequencePoint>{sequencePoint(110, 0, 0), sequencePoint(60, 7, 0), sequencePoint(10, 1, 3),
                                       sequencePoint(60, -5, 3, 4), sequencePoint(110, 0, 3)});
    const int16_t r = seq2file(a, dir.path("UPPER.DAT"), "Profil E\r\n");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(readBytes(dir.path("UPPER.DAT")), readBytes(fixture("writers/profile_wide.dat")));
}

TEST(DatWriter, ReadingTheWrittenFileGivesTheProfileBack)
{
    TempDir dir;
    const Read clark = lire(fixture("dat/clarky.dat"));
    ASSERT_GT(clark.result, 100);
    Array a(clark.points);
    ASSERT_EQ(ecrire(a, dir.path("clark.dat"), clark.title), VX_OK);
    const Read again = lire(dir.path("clark.dat"));
    ASSERT_EQ(again.result, clark.result);
    EXPECT_EQ(again.title, clark.title);
    for (size_t i = 0; i < clark.points.size(); ++i) {
        EXPECT_NEAR(again.points[i].X, clark.points[i].X / clark.xMax, 1e-6);
        EXPECT_NEAR(again.points[i].Y, clark.points[i].Y / clark.xMax, 1e-6);
    }
}
