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

namespace {

// One PE number: sign in the lowest bit, low digits first, the last (most
// significant) one in the upper range.
std::string peNumber(int64_t n, bool base32 = false)
{
    uint64_t v = n >= 0 ? 2 * static_cast<uint64_t>(n) : 2 * static_cast<uint64_t>(-n) + 1;
    const uint64_t base = base32 ? 32 : 64;
    std::string out;
    while (v >= base) {
        out += static_cast<char>(63 + v % base);
        v /= base;
    }
    out += static_cast<char>((base32 ? 95 : 191) + v);
    return out;
}

std::string pePairs(const std::vector<std::pair<int64_t, int64_t>> &points, bool base32 = false)
{
    std::string s;
    for (const auto &[x, y] : points)
        s += peNumber(x, base32) + peNumber(y, base32);
    return s;
}

const std::vector<std::pair<int64_t, int64_t>> kSquareSides = {{400, 0}, {0, 400}, {-400, 0}, {0, -400}};

} // namespace

TEST(HpglEncodedPolyline, ARelativeSquareDecodesInBase64AndBase32)
{
    TempDir dir;
    // A pen-up move to (1, 1) mm, then the four sides of a 10 mm square.
    const std::string square = "<" + pePairs({{40, 40}}) + pePairs(kSquareSides);
    const Raw r64 = readPlotter(dir, "IN;PE" + square + ";");
    EXPECT_EQ(r64.result, 1);
    EXPECT_EQ(describe(r64.list), "1,1/1 11,1/1 11,11/1 1,11/1 1,1/1");

    const std::string square32 = "7<" + pePairs({{40, 40}}, true) + pePairs(kSquareSides, true);
    EXPECT_EQ(describe(readPlotter(dir, "IN;PE" + square32 + ";").list), describe(r64.list));

    // LireFichier makes one closed contour of it.
    const Read lf = lire(dir.path("p.plt"));
    EXPECT_EQ(lf.result, 5);
    EXPECT_EQ(contourCount(lf.points), 1);
    EXPECT_FLOAT_EQ(lf.xMax, 10.0f);
}

TEST(HpglEncodedPolyline, AbsolutePairsPenUpAndFractionalBits)
{
    TempDir dir;
    // "=" makes only the next pair absolute; "<" lifts the pen for one move.
    const std::string body = "=<" + pePairs({{400, 400}}) + "=" + pePairs({{800, 400}}) + pePairs({{0, 400}}) +
                             "<" + pePairs({{400, 0}}) + pePairs({{0, 40}});
    EXPECT_EQ(describe(readPlotter(dir, "PE" + body + ";").list), "10,10/1 20,10/1 20,20/1 30,20/2 30,21/2");

    // Two fractional bits: the numbers are quarters of plotter units.
    const std::string quarters = ">" + peNumber(2) + "<" + pePairs({{160, 160}}) + pePairs({{1600, 0}});
    EXPECT_EQ(describe(readPlotter(dir, "PE" + quarters + ";").list), "1,1/1 11,1/1");
    // Flags keep their meaning with the eighth bit set (">" as 190).
    const std::string high = std::string(1, static_cast<char>(0xBE)) + peNumber(2) + "<" + pePairs({{160, 160}}) +
                             pePairs({{1600, 0}});
    EXPECT_EQ(describe(readPlotter(dir, "PE" + high + ";").list), "1,1/1 11,1/1");
}

TEST(HpglEncodedPolyline, OtherInstructionsGoOnAfterThePolyline)
{
    TempDir dir;
    // Blanks and line ends inside the data are skipped; a pen selection is
    // read and ignored; after the ";" ordinary commands are read as before.
    const std::string body = ":" + peNumber(1) + "<" + pePairs({{0, 0}}) + " \r\n" + pePairs({{400, 0}});
    const Raw r = readPlotter(dir, "SP1;PE" + body + ";PA400,400;PU0,0;PD40,0;");
    EXPECT_EQ(describe(r.list), "0,0/1 10,0/1 10,10/1 0,0/2 1,0/2");
    // A PE without parameters changes nothing.
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;PE;PD40,0;").list), "0,0/1 1,0/1");
}

TEST(HpglEncodedPolyline, AbsurdDataEndsWithWhatWasRead)
{
    TempDir dir;
    // Fractional bits outside -26..26 are ignored.
    const std::string absurd = ">" + peNumber(1000000) + pePairs({{40, 0}});
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;PE" + absurd + ";").list), "0,0/1 1,0/1");
    // A number of more than 60 bits spoils its pair only.
    const std::string tooLong = std::string(20, '?') + static_cast<char>(200) + peNumber(0) + pePairs({{40, 0}});
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;PE" + tooLong + ";").list), "0,0/1 1,0/1");
    // A polyline without its ";" ends with the file; an odd number is dropped.
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;PE" + pePairs({{40, 0}}) + peNumber(5)).list), "0,0/1 1,0/1");
    // Hundreds of thousands of digits without an end.
    const Raw many = readPlotter(dir, "PE" + std::string(500000, 'A'));
    EXPECT_EQ(many.result, 0);
}

TEST(HpglPcl, TheHpgl2PartOfAPclJobIsReadAndThePclTextSkipped)
{
    TempDir dir;
    // Raster data after ESC*b#W is skipped whole, even when it holds an ESC;
    // text after ESC%0A is PCL, not HP-GL.
    const std::string esc = "\x1b";
    const std::string job = esc + "%-12345X@PJL ENTER LANGUAGE=PCL\r\n" + esc + "E" + esc + "*b4W" + esc +
                            "%1BPD" + esc + "%1BIN;PU0,0;PD400,0;" + esc + "%0APD400,400;" + esc + "E" + esc +
                            "%-12345X";
    EXPECT_EQ(describe(readPlotter(dir, job).list), "0,0/1 10,0/1");
    // PJL can hand the job to HP-GL/2 directly, as plotter drivers do.
    EXPECT_EQ(describe(readPlotter(dir, esc + "%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE = HPGL2\r\nIN;PU0,0;PD400,0;" +
                                            esc + "%-12345X@PJL EOJ\r\nPD400,400;")
                           .list),
              "0,0/1 10,0/1");
    // An ESC that starts no PCL sequence is the plain character it was.
    EXPECT_EQ(describe(readPlotter(dir, "PU0,0;" + esc + "PD400,0;" + esc + ".I81;;17:PD400,400;").list),
              "0,0/1 10,0/1 10,10/1");
    // Without ESC%#B after the job's start nothing is HP-GL.
    EXPECT_EQ(readPlotter(dir, esc + "%0APU0,0;PD400,0;").result, 0);

    // A job written as drivers write it: PJL, PCL set-up, two encoded squares.
    const Read r = lire(fixture("hpgl/gen_pcl_pe_squares.plt"));
    ASSERT_EQ(r.result, 10);
    EXPECT_EQ(contourCount(r.points), 2);
    EXPECT_FLOAT_EQ(r.xMax, 70.0f);
    EXPECT_FLOAT_EQ(r.yMax, 40.0f);
}
