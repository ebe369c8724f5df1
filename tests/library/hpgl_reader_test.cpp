// HP-GL plotter files: the reader's own list, and the records LireFichier
// makes of it.
#include "readers/readers.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vxtest;

namespace {

struct Raw {
    int result = 0;
    vx::PointList list;
};

Raw readPlotter(const TempDir &dir, const std::string &bytes, const std::string &name = "p.plt")
{
    Raw r;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    r.result = vx::readHpgl(dir.write(name, bytes).c_str(), title, r.list);
    return r;
}

// "x,y/c" for each node, to compare whole lists at a glance.
std::string describe(const vx::PointList &list)
{
    std::string s;
    for (const vx::Node &n : list) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s%g,%g/%d", s.empty() ? "" : " ", n.x, n.y, n.contour);
        s += buf;
    }
    return s;
}

} // namespace

TEST(HpglReader, PenUpToTheOriginThenASquareCornerGivesOneContour)
{
    TempDir dir;
    const Raw r = readPlotter(dir, "IN;PU0,0;PD400,0,400,400;");
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(describe(r.list), "0,0/1 10,0/1 10,10/1");

    // As an open single contour it comes out from its end of larger X.
    const Read lf = lire(dir.path("p.plt"));
    ASSERT_EQ(lf.result, 3);
    EXPECT_EQ(contourCount(lf.points), 1);
    EXPECT_FLOAT_EQ(lf.points[0].X, 10.0f);
    EXPECT_FLOAT_EQ(lf.points[0].Y, 10.0f);
    EXPECT_FLOAT_EQ(lf.points[2].X, 0.0f);
    EXPECT_FLOAT_EQ(lf.xMax, 10.0f);
    EXPECT_FLOAT_EQ(lf.yMax, 10.0f);
}

TEST(HpglReader, EachPenUpMoveStartsAContour)
{
    TempDir dir;
    const Raw r = readPlotter(dir, "PU0,0;PD40,0;PU400,400;PD440,400;");
    EXPECT_EQ(describe(r.list), "0,0/1 1,0/1 10,10/2 11,10/2");
    EXPECT_EQ(contourCount(lire(dir.path("p.plt")).points), 2);

    // Several pairs in one pen-up command count once each.
    const Raw twice = readPlotter(dir, "PU0,0,40,40;PD80,40;");
    EXPECT_EQ(describe(twice.list), "1,1/2 2,1/2");
}

TEST(HpglReader, ThePenStartsDownAtTheOriginInAbsoluteMode)
{
    TempDir dir;
    EXPECT_EQ(describe(readPlotter(dir, "PA80,40;").list), "0,0/0 2,1/0");
}

TEST(HpglReader, RelativeMovesAddToThePenPosition)
{
    TempDir dir;
    const Raw r = readPlotter(dir, "PU40,40;PD;PR40,0,0,40,-40,0;PA0,0;");
    EXPECT_EQ(describe(r.list), "1,1/1 2,1/1 2,2/1 1,2/1 0,0/1");
}

TEST(HpglReader, ASegmentThatContinuesTheContourDoesNotRepeatItsStart)
{
    TempDir dir;
    // The join tolerance is 0.0001 mm: 0.004 plotter units would be needed to
    // break it, so every continued segment adds only its new end.
    const Raw r = readPlotter(dir, "PU0,0;PD40,0;PD80,0;PA120,0;");
    EXPECT_EQ(describe(r.list), "0,0/1 1,0/1 2,0/1 3,0/1");
}

TEST(HpglReader, APenUpMoveOnTheSpotStillStartsTheNextContourThere)
{
    TempDir dir;
    // The new contour begins where the last one ended; its first segment is
    // kept and the two pieces join again when the drawing is ordered.
    const Raw r = readPlotter(dir, "PU0,0;PD400,0;PU400,0;PD400,400;");
    EXPECT_EQ(describe(r.list), "0,0/1 10,0/1 10,0/2 10,10/2");
    const Read lf = lire(dir.path("p.plt"));
    EXPECT_EQ(lf.result, 3);
    EXPECT_EQ(contourCount(lf.points), 1);
}

TEST(HpglReader, AFractionEndsTheParameterListUntilTheNextCommand)
{
    TempDir dir;
    // 100 is read as X; ".5,200" is skipped; the next PD starts with an X.
    const Raw r = readPlotter(dir, "PU0,0;PD100.5,200;PD40,40;");
    EXPECT_EQ(describe(r.list), "2.5,0/1 1,1/1");
}

TEST(HpglReader, NumbersMayFollowBlanksAndLineBreaksInsideAList)
{
    TempDir dir;
    EXPECT_EQ(describe(readPlotter(dir, "PU 0 , 0;PD 40,\r\n 40;").list), "0,0/1 1,1/1");
    // A tab or a comma before the sub-command letter changes nothing.
    EXPECT_EQ(describe(readPlotter(dir, "P\tU0,0;P,D40,40;").list), "0,0/1 1,1/1");
}

TEST(HpglReader, OtherCommandsAndEscapeSequencesAreSkipped)
{
    TempDir dir;
    const Raw r = readPlotter(dir, "\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;SC;SP1;LT;VS36;CI500,20;"
                                   "LBPLAIN TEXT\x03PU0,0;PD40,0;SP0;PG;");
    EXPECT_EQ(describe(r.list), "0,0/1 1,0/1");
    // "A" outside a P command makes the next number an X again.
    // The segment starts from the X just read and the Y before it.
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;PD40A80,40;").list), "1,0/1 2,1/1");
}

TEST(HpglReader, RealFilesReadWhole)
{
    // AutoCAD output: escape sequences, no line breaks, one move a command.
    // Counted independently: 2320 nodes spanning 76.15..182.775 x 63..154.475.
    Raw acad;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    acad.result = vx::readHpgl(fixture("hpgl/hp2xx_acad.plt").c_str(), title, acad.list);
    ASSERT_EQ(acad.result, 1);
    EXPECT_EQ(acad.list.size(), 2320u);
    const Read a = lire(fixture("hpgl/hp2xx_acad.plt"));
    ASSERT_GT(a.result, 0);
    EXPECT_FLOAT_EQ(a.xMax, 182.775f - 76.15f);
    EXPECT_FLOAT_EQ(a.yMax, 154.475f - 63.0f);

    // Two squares drawn as one path, the page border and 13 line samples;
    // labels and circles give nothing.
    const Read t = lire(fixture("hpgl/hpgl2ps_test1h.hpgl"));
    ASSERT_GT(t.result, 0);
    EXPECT_EQ(contourCount(t.points), 15);
    EXPECT_FLOAT_EQ(t.xMax, 270.0f);
    EXPECT_FLOAT_EQ(t.yMax, 192.0f);
}

TEST(HpglReader, AllThreeExtensionsUseThePlotterReader)
{
    TempDir dir;
    for (const char *name : {"a.plt", "b.PRN", "c.hpgl"})
        EXPECT_EQ(lire(dir.write(name, "PU0,0;PD40,0;")).result, 2) << name;
}

TEST(HpglReader, HostileInputGivesACodeOrASoundResult)
{
    TempDir dir;
    EXPECT_EQ(lire(dir.path("missing.plt")).result, VX_ERR_OPEN);
    EXPECT_EQ(lire(dir.write("empty.plt", "")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("pen-up-only.plt", "PU0,0;PU40,40;")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("no-numbers.plt", "PD;PD;PA;PR-;PD+;")).result, VX_ERR_NO_POINT);

    // Numbers beyond 64 bits are no numbers; the largest ones still are.
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;PD99999999999999999999999,40;PD80,40;").list), "0,0/1 2,1/1");
    const Raw big = readPlotter(dir, "PD9223372036854775807,-9223372036854775807;");
    ASSERT_EQ(big.list.size(), 2u);
    EXPECT_TRUE(std::isfinite(big.list[1].x) && std::isfinite(big.list[1].y));

    // A zero byte is one more character, not the end of the file.
    const Raw nul = readPlotter(dir, std::string("PU0,0;\0PD40,0;", 14));
    EXPECT_EQ(describe(nul.list), "0,0/1 1,0/1");

    // Binary garbage, and long runs of blanks inside an open list.
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    const Read g = lire(dir.write("garbage.plt", garbage));
    EXPECT_TRUE(g.result > 0 || g.result == VX_ERR_NO_POINT);
    const Raw blanks = readPlotter(dir, "PU0,0;PD40" + std::string(2'000'000, ' ') + ",0;");
    EXPECT_EQ(describe(blanks.list), "0,0/1 1,0/1");
}
