// PostScript curves, arcs, the transform stack and the procedures of the
// prologs that Illustrator and cairo (Inkscape) write.
#include "eps_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace epstest;
using namespace vxtest;

namespace {

constexpr double kMm = 25.4 / 72;

void expectAt(const vx::Node &n, double xPoints, double yPoints)
{
    EXPECT_NEAR(n.x, xPoints * kMm, 1e-9);
    EXPECT_NEAR(n.y, yPoints * kMm, 1e-9);
}

} // namespace

TEST(EpsCurves, CurvetoAndRcurvetoAreSampledAtElevenParameters)
{
    TempDir dir;
    const vx::PointList c = readOutline(dir, "0 0 moveto 0 72 72 72 72 0 curveto\n");
    // The current point, then t = 0.1 .. 1.
    ASSERT_EQ(c.size(), 11u);
    expectAt(c[5], 36, 54);
    expectAt(c[10], 72, 0);
    EXPECT_EQ(c[10].contour, c[0].contour);

    // Relative: every control point from the current point.
    const vx::PointList r = readOutline(dir, "72 72 moveto 0 72 72 72 72 0 rcurveto\n");
    ASSERT_EQ(r.size(), 11u);
    expectAt(r[5], 108, 126);
    expectAt(r[10], 144, 72);

    // Without a current point, or without its six operands, nothing.
    EXPECT_EQ(describe(readOutline(dir, "0 72 72 72 72 0 curveto\n")), "");
    EXPECT_EQ(readOutline(dir, "0 0 moveto 72 72 72 0 curveto\n").size(), 1u);
}

TEST(EpsCurves, ArcsHaveAHundredAndOnePointsAndTurnTheWayTheirOperatorSays)
{
    TempDir dir;
    // No current point: the arc starts with a move to its first point.
    const vx::PointList ccw = readOutline(dir, "0 0 72 0 90 arc\n");
    ASSERT_EQ(ccw.size(), 101u);
    expectAt(ccw[0], 72, 0);
    expectAt(ccw[50], 72 * std::cos(std::numbers::pi / 4), 72 * std::sin(std::numbers::pi / 4));
    expectAt(ccw[100], 0, 72);

    const vx::PointList cw = readOutline(dir, "0 0 72 90 0 arcn\n");
    ASSERT_EQ(cw.size(), 101u);
    expectAt(cw[0], 0, 72);
    expectAt(cw[100], 72, 0);

    // With a current point, a line to the start of the arc comes first.
    const vx::PointList joined = readOutline(dir, "0 0 moveto 100 0 10 0 180 arc closepath\n");
    ASSERT_EQ(joined.size(), 103u);
    expectAt(joined[1], 110, 0);
    expectAt(joined[102], 0, 0);
    EXPECT_EQ(joined[102].contour, joined[0].contour);

    // An end before the start moves by whole turns: 350° to 10° passes 0°.
    const vx::PointList wrap = readOutline(dir, "0 0 72 350 10 arc\n");
    expectAt(wrap[50], 72, 0);
    const vx::PointList wrapCw = readOutline(dir, "0 0 72 10 350 arcn\n");
    expectAt(wrapCw[50], 72, 0);
    // More than a turn draws the circle once; an endless sweep draws nothing.
    const vx::PointList full = readOutline(dir, "0 0 72 0 1e300 arc\n");
    ASSERT_EQ(full.size(), 101u);
    expectAt(full[25], 0, 72);
    EXPECT_EQ(describe(readOutline(dir, "0 0 72 -1e308 1e308 arc\n")), "");
}

TEST(EpsTransform, GsaveAndGrestoreNestAroundConcat)
{
    TempDir dir;
    const vx::PointList list = readOutline(dir, "gsave [1 0 0 1 72 0] concat\n"
                                                "gsave [2 0 0 1 72 0] concat 0 0 moveto 36 72 lineto\n"
                                                "grestore 0 0 lineto\n"
                                                "grestore 0 0 lineto\n");
    ASSERT_EQ(list.size(), 4u);
    expectAt(list[0], 144, 0);
    expectAt(list[1], 216, 72);
    expectAt(list[2], 72, 0);
    expectAt(list[3], 0, 0);

    // A rotation: the x axis turns to the y axis.
    const vx::PointList turned = readOutline(dir, "[0 1 -1 0 0 0] concat 72 0 moveto 72 72 lineto\n");
    expectAt(turned[0], 0, 72);
    expectAt(turned[1], -72, 72);

    // concat applies before translate and scale, which still replace their values.
    const vx::PointList mixed = readOutline(dir, "72 0 translate [1 0 0 1 72 0] concat 0 0 moveto\n");
    expectAt(mixed[0], 144, 0);
    // An array of another length is no matrix.
    const vx::PointList five = readOutline(dir, "[1 0 0 1 72] concat 0 0 moveto\n");
    expectAt(five[0], 0, 0);
}

TEST(EpsProlog, ProceduresThatAliasAnOperatorAreThatOperator)
{
    TempDir dir;
    // Matplotlib's definer, cairo's bind def, and load.
    const std::string prolog = "/_d { bind def } bind def\n/m { moveto } _d\n/l { lineto } bind def\n"
                               "/L /lineto load def\n/ml { m } def\n";
    EXPECT_EQ(describe(readOutline(dir, prolog + "0 0 m 72 0 l 72 72 L 0 0 ml 0 72 l\n")),
              "0.0000,0.0000/1 25.4000,0.0000/1 25.4000,25.4000/1 0.0000,0.0000/2 0.0000,25.4000/2");

    // Names are compared with their case, and only defined ones act.
    EXPECT_EQ(readOutline(dir, prolog + "0 0 M 72 0 l\n").size(), 0u);
    EXPECT_EQ(readOutline(dir, "0 0 moveto 72 0 l\n").size(), 1u);
    // An operator keeps its meaning; a name defined as an unknown procedure does nothing.
    EXPECT_EQ(readOutline(dir, "/moveto { lineto } def /f { fill } def 0 0 moveto 72 0 lineto f\n").size(), 2u);
    // A procedure is not run where it is defined.
    EXPECT_EQ(readOutline(dir, "/box { 0 0 moveto 72 0 lineto } def\n").size(), 0u);
}

TEST(EpsProlog, IllustratorCurvesTakeTheCurrentPointOrTheEndAsAControlPoint)
{
    TempDir dir;
    // Bodies as Illustrator's procedure sets write them, not plain aliases.
    const std::string prolog = "/m { 0 /_pola exch def moveto } bind def\n"
                               "/v { currentpoint 6 2 roll curveto } bind def\n"
                               "/y { 2 copy curveto } bind def\n/c { curveto _pola } def\n";
    EXPECT_EQ(describe(readOutline(dir, prolog + "0 0 m 0 72 72 72 v\n")),
              describe(readOutline(dir, "0 0 moveto 0 0 0 72 72 72 curveto\n")));
    EXPECT_EQ(describe(readOutline(dir, prolog + "0 0 m 0 72 72 72 y\n")),
              describe(readOutline(dir, "0 0 moveto 0 72 72 72 72 72 curveto\n")));
    EXPECT_EQ(readOutline(dir, prolog + "0 0 m 0 72 72 72 72 0 c\n").size(), 11u);
}

TEST(EpsProlog, CairoRectanglesAndMatricesAsInkscapeWritesThem)
{
    TempDir dir;
    const std::string prolog = "/q { gsave } bind def\n/Q { grestore } bind def\n"
                               "/cm { 6 array astore concat } bind def\n"
                               "/re { exch dup neg 3 1 roll 5 3 roll moveto 0 rlineto\n"
                               "      0 exch rlineto 0 rlineto closepath } bind def\n";
    EXPECT_EQ(describe(readOutline(dir, prolog + "q 1 0 0 -1 0 144 cm 0 0 72 36 re Q 0 0 re\n")),
              "0.0000,50.8000/1 25.4000,50.8000/1 25.4000,38.1000/1 0.0000,38.1000/1 0.0000,50.8000/1");

    // Inkscape 1.2 (cairo 1.16): a wing with a round hole, all curves.
    const Read wing = lire(fixture("eps/inkscape_wing.eps"));
    ASSERT_GT(wing.result, 0);
    EXPECT_EQ(contourCount(wing.points), 2);
    EXPECT_NEAR(wing.xMax, 311.812 * kMm, 1e-3);
    // The hole comes first and runs clockwise.
    EXPECT_EQ(tag(wing.points.front()), " A");
    size_t holeEnd = 0;
    while (tag(wing.points[holeEnd]) == " A")
        ++holeEnd;
    EXPECT_LT(doubleArea(wing.points, 0, holeEnd), 0);
    EXPECT_GT(doubleArea(wing.points, holeEnd, wing.points.size()), 0);

    // cairo itself: a rectangle, a closed curve and a stroked circle.
    const Read shapes = lire(fixture("eps/cairo_shapes.eps"));
    ASSERT_GT(shapes.result, 0);
    EXPECT_EQ(contourCount(shapes.points), 3);
    // %%BoundingBox: 10 14 182 140, flipped by the page matrix.
    EXPECT_NEAR(shapes.xMax, (182 - 10) * kMm, 0.5);
    EXPECT_NEAR(shapes.yMax, (140 - 14) * kMm, 0.5);
}

TEST(EpsReaderLimits, HostileStructuresEndWithWhatWasRead)
{
    TempDir dir;
    // Unbalanced graphics states and operands.
    EXPECT_EQ(readOutline(dir, "grestore grestore Q ] ] } } 1 2 3 curveto 0 0 moveto 72 0 lineto\n").size(), 2u);

    // Very deep gsave: the levels beyond the kept ones share the last.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "gsave ";
    deep += "36 0 translate 0 0 moveto ";
    for (int i = 0; i < 100000; ++i)
        deep += "grestore ";
    deep += "0 0 lineto\n";
    const vx::PointList d = readOutline(dir, deep);
    ASSERT_EQ(d.size(), 2u);
    expectAt(d[0], 36, 0);
    expectAt(d[1], 0, 0);

    // A million nested procedures, strings and arrays left open.
    int result = -1;
    EXPECT_TRUE(readOutline(dir, "0 0 moveto " + std::string(1000000, '{'), &result).size() == 1u);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(readOutline(dir, "0 0 moveto (" + std::string(1000000, '(') + " 72 0 lineto\n").size(), 1u);
    EXPECT_EQ(readOutline(dir, std::string(100000, '[') + " 0 0 moveto 72 0 lineto").size(), 2u);

    // Thousands of definitions and absurdly long names.
    std::string defs;
    for (int i = 0; i < 10000; ++i)
        defs += "/n" + std::to_string(i) + " { moveto } def ";
    defs += "/" + std::string(100000, 'x') + " { lineto } def 0 0 n1 72 0 lineto\n";
    EXPECT_EQ(readOutline(dir, defs).size(), 2u);

    // Inline ASCII85 image data and encrypted font data are skipped up to their end.
    EXPECT_EQ(readOutline(dir, "currentfile /ASCII85Decode filter image\n(({{ 0 0 moveto ~>\n0 0 moveto 72 0 lineto\n")
                  .size(),
              2u);
    EXPECT_EQ(readOutline(dir, "currentfile eexec\n\x8f(\x01{ 0 0 moveto\n0000\ncleartomark 0 0 moveto 72 0 lineto\n")
                  .size(),
              2u);
}

TEST(EpsReaderLimits, TheBinaryHeaderOfAWindowsEpsLeadsToItsPostScript)
{
    TempDir dir;
    const std::string ps = "%!PS-Adobe-3.0 EPSF-3.0\n0 0 moveto 72 0 lineto\n";
    std::string file = "\xC5\xD0\xD3\xC6";
    const auto word = [&](uint32_t v) {
        for (int k = 0; k < 4; ++k)
            file += static_cast<char>((v >> (8 * k)) & 0xFF);
    };
    word(32);
    word(static_cast<uint32_t>(ps.size()));
    while (file.size() < 32)
        file += '\0';
    file += ps + "preview bytes";
    EXPECT_EQ(lire(dir.write("w.eps", file)).result, 2);
    // Offsets past the end hold nothing.
    std::string bad = file;
    bad[4] = '\x7F';
    bad[7] = '\x7F';
    EXPECT_EQ(lire(dir.write("bad.eps", bad)).result, VX_ERR_NO_POINT);
}
