// The DXF reader on large tables, long lines, self-referencing blocks and
// damaged files: a sound result or a negative code, never a crash or a hang.
#include "readers/dxf_reader.h"
#include "dxf_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace dxftest;

namespace {

std::string withLineEnds(std::string text, const std::string &end)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += end;
        else
            out += c;
    }
    return out;
}

// A drawing with one block of each kind of entity, inserted twice, and a
// switched-off layer: every path of the reader.
std::string everyKind()
{
    Dxf d;
    d.section("HEADER").pair(9, "$ACADVER").pair(1, "AC1015").endSection();
    d.section("TABLES").entity("TABLE").pair(2, "LAYER").layer("OFF", -3).entity("ENDTAB").endSection();
    d.section("BLOCKS").block("PART", 1, 1).line(1, 1, 5, 1).circle(3, 3, 1).endBlock().endSection();
    d.section("ENTITIES");
    d.entity("TEXT").pair(8, "0").xy(10, 0, 0).pair(1, "Title");
    d.line(0, 0, 10, 0).line(10, 0, 10, 10).line(10, 10, 0, 10).line(0, 10, 0, 0);
    d.line(50, 50, 60, 60, "OFF");
    d.entity("LWPOLYLINE").pair(8, "0").pair(90, 3).pair(70, 1).xy(10, 20, 0).pair(42, 0.5).xy(10, 30, 0).xy(10, 25, 8);
    d.entity("ARC").pair(8, "0").xy(10, 40, 0).pair(40, 2.0).pair(50, 10.0).pair(51, 200.0);
    d.entity("ELLIPSE").pair(8, "0").xy(10, 60, 0).xy(11, 5, 0).pair(40, 0.5).pair(41, 0.0).pair(42, 6.283185307179586);
    d.entity("POLYLINE").pair(8, "0").pair(66, 1).pair(70, 1);
    d.entity("VERTEX").pair(8, "0").xy(10, 70, 0).pair(42, 0.3);
    d.entity("VERTEX").pair(8, "0").xy(10, 75, 0);
    d.entity("VERTEX").pair(8, "0").xy(10, 75, 5);
    d.entity("SEQEND").pair(8, "0");
    d.entity("SPLINE").pair(8, "0").pair(70, 8).pair(71, 2).pair(72, 6).pair(73, 3);
    for (double k : {0.0, 0.0, 0.0, 1.0, 1.0, 1.0})
        d.pair(40, k);
    d.xy(10, 80, 0).xy(10, 85, 10).xy(10, 90, 0);
    d.entity("POINT").pair(8, "0").xy(10, 100, 100);
    d.insert("PART", 0, 30).insert("PART", 20, 30, 2, 45);
    d.endSection();
    return d.file();
}

} // namespace

TEST(DxfTables, MoreThan99SwitchedOffLayersAndBlocksAreAllKept)
{
    Dxf d;
    d.section("TABLES").entity("TABLE").pair(2, "LAYER");
    for (int i = 0; i < 150; ++i)
        d.layer(("OFF" + std::to_string(i)).c_str(), -1);
    d.entity("ENDTAB").endSection();
    d.section("BLOCKS");
    for (int i = 0; i < 150; ++i)
        d.block(("B" + std::to_string(i)).c_str()).line(0, i, 1, i).endBlock();
    d.endSection();
    d.section("ENTITIES");
    for (int i = 0; i < 150; ++i) {
        d.line(0, -i, 1, -i, ("OFF" + std::to_string(i)).c_str());
        d.insert(("B" + std::to_string(i)).c_str(), 0, 0);
    }
    d.endSection();
    const Working w = readWorking(d.file());
    const auto parts = contours(w.list);
    ASSERT_EQ(parts.size(), 150u);
    for (size_t i = 0; i < parts.size(); ++i)
        EXPECT_EQ(parts[i][0].y, static_cast<double>(i));
}

TEST(DxfTables, LinesLongerThan254CharactersAreReadWhole)
{
    const std::string longName(400, 'L');
    const std::string cut = longName.substr(0, 254);
    Dxf d;
    d.section("TABLES").entity("TABLE").pair(2, "LAYER").layer(longName.c_str(), -1).entity("ENDTAB").endSection();
    d.section("ENTITIES");
    d.line(0, 0, 1, 0, longName.c_str());
    d.line(0, 1, 1, 1, cut.c_str());
    d.entity("LINE").pair(8, "0").pair(10, std::string(300, ' ') + "7.5").pair(20, 2.0).xy(11, 9, 2);
    d.entity("TEXT").pair(8, "0").pair(1, std::string(300, 'T'));
    d.endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.list.size(), 4u);
    EXPECT_EQ(w.list[0].y, 1);
    EXPECT_EQ(w.list[2].x, 7.5);
    // The title buffer holds 254 characters and its terminator.
    EXPECT_EQ(w.title, std::string(254, 'T'));
}

TEST(DxfBlocks, ABlockThatInsertsItselfIsExpandedOnce)
{
    Dxf d;
    d.section("BLOCKS");
    d.block("SELF").line(0, 0, 1, 0).insert("SELF", 5, 0).endBlock();
    d.block("A").line(0, 1, 1, 1).insert("B", 0, 0).endBlock();
    d.block("B").line(0, 2, 1, 2).insert("A", 0, 0).endBlock();
    d.endSection();
    d.section("ENTITIES").insert("SELF", 0, 0).insert("A", 0, 0).endSection();
    const Working w = readWorking(d.file());
    const auto parts = contours(w.list);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0][0].y, 0);
    EXPECT_EQ(parts[1][0].y, 1);
    EXPECT_EQ(parts[2][0].y, 2);
}

TEST(DxfBlocks, NestingStopsAt32Levels)
{
    Dxf d;
    d.section("BLOCKS");
    for (int i = 0; i < 40; ++i) {
        d.block(("N" + std::to_string(i)).c_str()).line(0, i, 1, i);
        d.insert(("N" + std::to_string(i + 1)).c_str(), 0, 0).endBlock();
    }
    d.endSection();
    d.section("ENTITIES").insert("N0", 0, 0).endSection();
    const Working w = readWorking(d.file());
    EXPECT_EQ(contours(w.list).size(), static_cast<size_t>(vx::dxf::kMaxBlockDepth));
}

TEST(DxfBlocks, ExponentialNestingIsCutAtTheExpansionBudget)
{
    // Each level inserts the one below ten times: 10^25 lines if expanded.
    Dxf d;
    d.section("BLOCKS").block("L0").line(0, 0, 1, 0).endBlock();
    for (int level = 1; level <= 25; ++level) {
        d.block(("L" + std::to_string(level)).c_str());
        for (int k = 0; k < 10; ++k)
            d.insert(("L" + std::to_string(level - 1)).c_str(), k, level);
        d.endBlock();
    }
    d.endSection();
    d.section("ENTITIES").insert("L25", 0, 0).line(0, -5, 1, -5).endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.result, 1);
    EXPECT_LE(w.list.size(), size_t(1) << 23);
    // What follows the cut is still read.
    EXPECT_EQ(w.list.back().y, -5);
}

TEST(DxfBlocks, ABlockBodyIsNeverTakenForSections)
{
    Dxf d;
    d.section("BLOCKS").block("TRAP");
    d.entity("TEXT").pair(8, "0").pair(1, "ENTITIES");
    d.entity("LAYER").pair(2, "0").pair(62, -1);
    d.line(0, 0, 1, 1);
    d.endBlock().endSection();
    d.section("ENTITIES").line(0, 0, 0, 3).endSection();
    const Working w = readWorking(d.file());
    EXPECT_EQ(w.list.size(), 2u);
    EXPECT_EQ(w.list[1].y, 3);
    EXPECT_EQ(w.title, "");
}

TEST(DxfBlocks, SkippedBlocksAndBlockCaseFolding)
{
    Dxf d;
    d.section("TABLES").entity("TABLE").pair(2, "LAYER").layer("OFF", -1).entity("ENDTAB").endSection();
    d.section("BLOCKS");
    d.block("$DOLLAR").line(0, 0, 1, 0).endBlock();
    d.entity("BLOCK").pair(8, "OFF").pair(2, "ONOFF").xy(10, 0, 0).line(0, 0, 1, 0).endBlock();
    d.entity("BLOCK").pair(67, 1).pair(8, "0").pair(2, "PAPER").xy(10, 0, 0).line(0, 0, 1, 0).endBlock();
    d.block("Mixed").line(0, 7, 1, 7).endBlock();
    d.endSection();
    d.section("ENTITIES").insert("$DOLLAR", 0, 0).insert("ONOFF", 0, 0).insert("PAPER", 0, 0);
    d.insert("MIXED", 0, 0).endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.list.size(), 2u);
    EXPECT_EQ(w.list[0].y, 7);
}

TEST(DxfDamagedFiles, BinaryAndEmptyFilesAreRefused)
{
    vxtest::TempDir dir;
    EXPECT_EQ(vxtest::lire(dir.write("b.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "rest")).result,
              VX_ERR_READ);
    EXPECT_EQ(vxtest::lire(dir.write("e.dxf", "")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(vxtest::lire(dir.path("missing.dxf")).result, VX_ERR_OPEN);
}

TEST(DxfDamagedFiles, EveryTruncationGivesASoundResult)
{
    const std::string full = everyKind();
    const Working whole = readWorking(full);
    ASSERT_EQ(whole.result, 1);
    vxtest::TempDir dir;
    for (size_t cut = 0; cut < full.size(); cut += 7) {
        const Working w = readWorking(full.substr(0, cut));
        EXPECT_LE(w.list.size(), whole.list.size());
        const vxtest::Read r = vxtest::lire(dir.write("t.dxf", full.substr(0, cut)));
        EXPECT_TRUE(r.result > 0 || r.result == VX_ERR_NO_POINT) << cut;
    }
}

TEST(DxfDamagedFiles, NumbersThatAreNotNumbersAreSkipped)
{
    Dxf d;
    d.entity("LINE").pair(8, "0").pair(10, "nan").pair(20, "inf").pair(11, "1e400").pair(21, "-1e999");
    d.entity("CIRCLE").pair(8, "0").pair(10, "0x10").pair(20, "1,5").pair(40, "abc");
    d.entity("LINE").pair(8, "0").xy(10, 1e300, -1e300).xy(11, 2, 2);
    d.entity("ARC").pair(8, "0").xy(10, 0, 0).pair(40, 1.0).pair(50, -1.7e308).pair(51, 1.7e308);
    d.entity("INSERT").pair(8, "0").pair(2, "none").pair(41, 1e308).pair(50, 1e308);
    d.raw("abc\nLINE\n   \n1\n-5\nfoo\n");
    d.line(3, 3, 4, 4);
    const Working w = readWorking(entitiesFile(d));
    ASSERT_EQ(w.result, 1);
    // Through LireFichier, unusable coordinates are dropped and the rest read.
    vxtest::TempDir dir;
    const vxtest::Read r = vxtest::lire(dir.write("n.dxf", entitiesFile(d)));
    ASSERT_GT(r.result, 0);
    for (const ContourPoint &p : r.points) {
        EXPECT_TRUE(std::isfinite(p.X));
        EXPECT_TRUE(std::isfinite(p.Y));
    }
}

TEST(DxfDamagedFiles, HugeBulgesAndRadiiStaySound)
{
    Dxf d;
    d.entity("LWPOLYLINE").pair(8, "0").pair(70, 1).xy(10, 0, 0).pair(42, 1e300).xy(10, 1, 0).pair(42, -1e-300).xy(10, 1, 1);
    d.circle(0, 0, 1e308);
    d.entity("ELLIPSE").pair(8, "0").xy(10, 0, 0).xy(11, 1e308, 1e308).pair(40, 1e308).pair(41, 0.0).pair(42, 1.0);
    const Working w = readWorking(entitiesFile(d));
    EXPECT_EQ(w.result, 1);
    vxtest::TempDir dir;
    const vxtest::Read r = vxtest::lire(dir.write("h.dxf", entitiesFile(d)));
    EXPECT_TRUE(r.result > 0 || r.result == VX_ERR_NO_POINT);
}

TEST(DxfLineEnds, CrLfLoneCrAndAByteOrderMarkReadTheSame)
{
    const std::string lf = everyKind();
    const Working base = readWorking(lf);
    ASSERT_EQ(base.result, 1);
    EXPECT_EQ(base.title, "Title\n");
    for (const std::string &text : {withLineEnds(lf, "\r\n"), withLineEnds(lf, "\r"), "\xEF\xBB\xBF" + lf}) {
        const Working w = readWorking(text);
        ASSERT_EQ(w.list.size(), base.list.size());
        for (size_t i = 0; i < w.list.size(); ++i) {
            EXPECT_EQ(w.list[i].x, base.list[i].x);
            EXPECT_EQ(w.list[i].y, base.list[i].y);
            EXPECT_EQ(w.list[i].contour, base.list[i].contour);
        }
    }
}

TEST(DxfLineEnds, PaddedGroupCodesAndAStrayEndblkInTheEntities)
{
    Dxf d;
    d.raw("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n1.0\n 20\n2.0\n 11\n3.0\n 21\n4.0\n");
    d.raw("  0\nENDBLK\n  0\nLINE\n 10\n0\n 20\n0\n 11\n1\n 21\n0\n  0\nENDSEC\n");
    const Working w = readWorking(d.file());
    EXPECT_EQ(w.list.size(), 4u);
}

TEST(DxfDamagedFiles, GroupCodesAreIntegersWithinTheirLine)
{
    auto code = [](std::string_view s) { return vx::dxf::PairCursor::parseCode(s.data(), s.data() + s.size()); };
    EXPECT_EQ(code("  10 "), 10);
    EXPECT_EQ(code("-1"), -1);
    EXPECT_EQ(code(""), vx::dxf::kBadCode);
    EXPECT_EQ(code("1 0"), vx::dxf::kBadCode);
    EXPECT_EQ(code("9999999999"), vx::dxf::kBadCode);
}
