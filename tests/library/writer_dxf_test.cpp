// The 2-D and 3-D DXF writers, byte for byte.
#include "writer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace vxtest;

namespace {

std::vector<ContourPoint> twoContours()
{
    return {contourPoint(0, 0, " A"), contourPoint(12.5f, -3.25f, " A"), contourPoint(100, 7, " A"),
            contourPoint(20, 1, " B"), contourPoint(30.125f, 2, " B")};
}

int count(const std::vector<std::string> &lines, const std::string &what)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), what));
}

} // namespace

TEST(DxfWriter, TwoTagsGiveTwoPolylinesEachEndedBySeqend)
{
    TempDir dir;
    Array a(twoContours());
    ASSERT_EQ(ecrire(a, dir.path("two.dxf"), "Aile"), VX_OK);
    EXPECT_EQ(readBytes(dir.path("two.dxf")), readBytes(fixture("writers/two_contours.dxf")));
    EXPECT_EQ(a.get()->locks, 0);

    // The same drawing from SequencePoint records, the extension in capitals.
    Array s(std::vector<SequencePoint>{sequencePoint(0, 0, 0), sequencePoint(12.5f, -3.25f, 0),
                                       sequencePoint(100, 7, 0), sequencePoint(20, 1, 1),
                                       sequencePoint(30.125f, 2, 1, 4)});
    EXPECT_EQ(seq2file(s, dir.path("two.DXF"), "Aile\nmore"), 1);
    EXPECT_EQ(readBytes(dir.path("two.DXF")), readBytes(fixture("writers/two_contours.dxf")));
}

TEST(DxfWriter, AnEmptyArrayAndAnEmptyTitleGiveTheBareSection)
{
    TempDir dir;
    Array none(sizeof(ContourPoint));
    ASSERT_EQ(ecrire(none, dir.path("e.dxf"), ""), VX_OK);
    EXPECT_EQ(readBytes(dir.path("e.dxf")), readBytes(fixture("writers/empty.dxf")));

    Array a(twoContours());
    ASSERT_EQ(ecrire(a, dir.path("n.dxf"), "\r\nafter the break"), VX_OK);
    const std::vector<std::string> lines = crlfLines(readBytes(dir.path("n.dxf")));
    EXPECT_EQ(count(lines, "TEXT"), 0);
    EXPECT_EQ(lines.back(), "EOF");
}

TEST(DxfWriter, EitherTagCharacterStartsANewPolylineButOnlyItsLowByteCounts)
{
    TempDir dir;
    std::vector<ContourPoint> pts = {contourPoint(0, 0, " A"), contourPoint(1, 0, "BA"), contourPoint(2, 0, "BB"),
                                     contourPoint(3, 0, "BB"), contourPoint(4, 0, "BB")};
    pts[4].Tag[1] = 0x0100 | 'B'; // same low byte
    pts[3].Pen[1] = 'U';          // the pen is not read
    Array a(pts);
    ASSERT_EQ(ecrire(a, dir.path("t.dxf"), ""), VX_OK);
    bool clean = false;
    const std::vector<std::string> lines = crlfLines(readBytes(dir.path("t.dxf")), &clean);
    EXPECT_TRUE(clean);
    EXPECT_EQ(count(lines, "POLYLINE"), 3);
    EXPECT_EQ(count(lines, "SEQEND"), 3);
    EXPECT_EQ(count(lines, "VERTEX"), 5);
}

TEST(DxfWriter, TheTextHeightIsASingleFiftiethOfTheWidth)
{
    TempDir dir;
    // Width 1/3: the height is 1/150, the text two heights below the drawing.
    Array a(std::vector<ContourPoint>{contourPoint(1.0f, 2.0f), contourPoint(1.0f + 1.0f / 3.0f, 2.5f)});
    ASSERT_EQ(ecrire(a, dir.path("h.dxf"), "T"), VX_OK);
    const std::vector<std::string> lines = crlfLines(readBytes(dir.path("h.dxf")));
    const auto text = std::find(lines.begin(), lines.end(), "TEXT");
    ASSERT_NE(text, lines.end());
    ASSERT_GT(lines.end() - text, 12);
    EXPECT_EQ(*(text + 4), " 1.000000");
    EXPECT_EQ(*(text + 6), " 1.986667");
    EXPECT_EQ(*(text + 10), " 0.006667");
    EXPECT_EQ(*(text + 11), "  1");
    EXPECT_EQ(*(text + 12), " T");
}

TEST(Dxf3dWriter, FacesJoinNeighbouringPointsOfRootAndTip)
{
    TempDir dir;
    Array root(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(50, 5), contourPoint(100, 0)});
    Array tip(std::vector<ContourPoint>{contourPoint(10, 1), contourPoint(45, 4), contourPoint(90, 1)});
    ASSERT_EQ(ecrire3d(root, tip, dir.path("p.dxf"), 250.5f), VX_OK);
    EXPECT_EQ(readBytes(dir.path("p.dxf")), readBytes(fixture("writers/panel_3d.dxf")));
    EXPECT_EQ(root.get()->locks, 0);
    EXPECT_EQ(tip.get()->locks, 0);

    Array sRoot(std::vector<SequencePoint>{sequencePoint(0, 0, 0), sequencePoint(50, 5, 0), sequencePoint(100, 0, 1)});
    Array sTip(std::vector<SequencePoint>{sequencePoint(10, 1, 0), sequencePoint(45, 4, 2), sequencePoint(90, 1, 0)});
    ASSERT_EQ(pt2file3d(sRoot, sTip, dir.path("s.DXF"), 250.5f), VX_OK);
    EXPECT_EQ(readBytes(dir.path("s.DXF")), readBytes(fixture("writers/panel_3d.dxf")));
}

TEST(Dxf3dWriter, ProfilesOfOnePointGiveTheSectionWithoutAFace)
{
    TempDir dir;
    Array root(std::vector<ContourPoint>{contourPoint(3, 4)});
    Array tip(std::vector<ContourPoint>{contourPoint(5, 6)});
    ASSERT_EQ(ecrire3d(root, tip, dir.path("one.dxf"), 100), VX_OK);
    EXPECT_EQ(readBytes(dir.path("one.dxf")), readBytes(fixture("writers/panel_3d_one_point.dxf")));
    Array none1(sizeof(ContourPoint)), none2(sizeof(ContourPoint));
    ASSERT_EQ(ecrire3d(none1, none2, dir.path("zero.dxf"), 100), VX_OK);
    EXPECT_EQ(readBytes(dir.path("zero.dxf")), readBytes(fixture("writers/panel_3d_one_point.dxf")));
}

TEST(Dxf3dWriter, DifferentCountsAreRefusedBeforeTheExtension)
{
    TempDir dir;
    Array root(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(1, 1)});
    Array tip(std::vector<ContourPoint>{contourPoint(0, 0)});
    EXPECT_EQ(ecrire3d(root, tip, dir.path("p.txt"), 1), VX_ERR_COUNT_MISMATCH);
    EXPECT_EQ(ecrire3d(root, root, dir.path("p.txt"), 1), VX_ERR_EXTENSION);
    EXPECT_EQ(ecrire3d(root, root, dir.path("p.dat"), 1), VX_ERR_EXTENSION);
    // Records of the wrong size are a lock failure, after the extension.
    Array seq(std::vector<SequencePoint>{sequencePoint(0, 0, 0), sequencePoint(1, 1, 0)});
    EXPECT_EQ(ecrire3d(root, seq, dir.path("p.txt"), 1), VX_ERR_EXTENSION);
    EXPECT_EQ(ecrire3d(root, seq, dir.path("p.dxf"), 1), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(root.get()->locks, 0);
    EXPECT_EQ(pt2file3d(seq, root, dir.path("p.dxf"), 1), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(seq.get()->locks, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path("p.dxf")));
    EXPECT_FALSE(std::filesystem::exists(dir.path("p.txt")));
}

TEST(DxfWriter, AReadDrawingWrittenAndReadAgainKeepsItsContours)
{
    TempDir dir;
    const Read logo = lire(fixture("eps/gen_pstoedit_flat_tk_logo.eps"));
    ASSERT_GT(logo.result, 0);
    Array a(logo.points);
    ASSERT_EQ(ecrire(a, dir.path("logo.dxf"), "Logo"), VX_OK);
    bool clean = false;
    const std::vector<std::string> lines = crlfLines(readBytes(dir.path("logo.dxf")), &clean);
    EXPECT_TRUE(clean);
    EXPECT_EQ(count(lines, "POLYLINE"), contourCount(logo.points));
    EXPECT_EQ(count(lines, "VERTEX"), logo.result);
}
