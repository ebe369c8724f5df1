// PostScript outlines: path operators, the graphics state and the marker.
#include "eps_test_support.h"

#include <gtest/gtest.h>

using namespace epstest;
using namespace vxtest;

TEST(EpsReader, PointsAreConvertedToMillimetres)
{
    TempDir dir;
    int result = 0;
    const vx::PointList list = readOutline(dir, "newpath\n72 72 moveto\n144 72 lineto\nstroke\n", &result);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_FLOAT_EQ(static_cast<float>(list[0].x), 25.4f);
    EXPECT_FLOAT_EQ(static_cast<float>(list[0].y), 25.4f);
    EXPECT_FLOAT_EQ(static_cast<float>(list[1].x), 50.8f);
    EXPECT_FLOAT_EQ(static_cast<float>(list[1].y), 25.4f);
    EXPECT_EQ(list[0].contour, list[1].contour);
}

TEST(EpsReader, AFileWithoutThePostScriptFirstLineHoldsNoPoint)
{
    TempDir dir;
    EXPECT_EQ(lire(dir.write("a.eps", "72 72 moveto 144 72 lineto\n")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("b.eps", "%!PS\n72 72 moveto 144 72 lineto\n")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("c.eps", "\n%!PS-Adobe-3.0\n72 72 moveto 144 72 lineto\n")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("d.eps", "%!PS-Adobe-2.0\r72 72 moveto 144 72 lineto\r")).result, 2);
    EXPECT_EQ(lire(dir.path("missing.eps")).result, VX_ERR_OPEN);
}

TEST(EpsReader, ClosepathReturnsToTheFirstPointAndEndsTheContour)
{
    TempDir dir;
    const vx::PointList list = readOutline(dir, "0 0 moveto 72 0 rlineto 0 72 rlineto closepath 72 72 lineto\n"
                                                "144 0 moveto 216 0 lineto\n");
    EXPECT_EQ(describe(list), "0.0000,0.0000/1 25.4000,0.0000/1 25.4000,25.4000/1 0.0000,0.0000/1 "
                              "50.8000,0.0000/3 76.2000,0.0000/3");
    // The closed square and the separate stroke: two contours.
    EXPECT_EQ(contourCount(lire(dir.path("p.eps")).points), 2);
}

TEST(EpsReader, LinetoNeedsACurrentPointOfItsOwnContour)
{
    TempDir dir;
    EXPECT_EQ(describe(readOutline(dir, "72 0 lineto newpath 72 72 lineto\n")), "");
    EXPECT_EQ(describe(readOutline(dir, "0 0 moveto newpath 72 0 lineto 72 72 rlineto\n")), "0.0000,0.0000/1");
    // closepath without an open path adds nothing.
    EXPECT_EQ(describe(readOutline(dir, "0 0 moveto 72 0 lineto newpath closepath\n")),
              "0.0000,0.0000/1 25.4000,0.0000/1");
}

TEST(EpsReader, TranslateAndScaleReplaceTheirValuesAndGsaveKeepsOneCopy)
{
    TempDir dir;
    const vx::PointList list = readOutline(dir, "72 144 translate 2 3 scale 90 rotate\n"
                                                "gsave 0 0 translate 1 1 scale 72 72 moveto\n"
                                                "grestore 72 72 lineto\n"
                                                "36 0 translate 72 72 lineto\n");
    // rotate is kept but never applied; translate is in points, not scaled.
    EXPECT_EQ(describe(list), "25.4000,25.4000/1 76.2000,127.0000/1 63.5000,76.2000/1");
}

TEST(EpsReader, GrestoreWithoutGsaveGoesBackToTheStartingState)
{
    TempDir dir;
    EXPECT_EQ(describe(readOutline(dir, "2 2 scale 72 72 translate grestore 72 0 moveto\n")), "25.4000,0.0000/1");
}

TEST(EpsReader, OperatorsTakeTheLastOperandsAndIgnoreCase)
{
    TempDir dir;
    // Twelve numbers: the last ten are kept, the operator takes the last two.
    EXPECT_EQ(describe(readOutline(dir, "1 2 3 4 5 6 7 8 9 10 72 0 MoveTo 0 72 LINETO\n")),
              "25.4000,0.0000/1 0.0000,25.4000/1");
    // Any other token clears the operands; too few operands do nothing.
    EXPECT_EQ(describe(readOutline(dir, "72 72 m moveto 72 lineto 0 0 moveto\n")), "0.0000,0.0000/2");
    EXPECT_EQ(describe(readOutline(dir, "0 0 moveto 72 /x 72 lineto 36 36 lineto\n")),
              "0.0000,0.0000/1 12.7000,12.7000/1");
}

TEST(EpsReader, TheMarkedRedColourSuppressesDrawingAndTheLastContourIsDropped)
{
    TempDir dir;
    // Red before the marker draws; after it, red suppresses and other colours
    // allow again. The last contour of a marked file is not part of the outline.
    const vx::PointList list = readOutline(dir, "1 0 0 setrgbcolor 0 0 moveto 72 0 lineto\n"
                                                "slicer 1 0 0 setrgbcolor 0 72 moveto 72 72 lineto\n"
                                                "0 0 1 setrgbcolor 0 144 moveto 72 144 lineto\n"
                                                "0 216 moveto 72 216 lineto\n");
    EXPECT_EQ(describe(list), "0.0000,0.0000/1 25.4000,0.0000/1 0.0000,50.8000/3 25.4000,50.8000/3");

    int result = -1;
    EXPECT_TRUE(readOutline(dir, "slicer 0 0 moveto 72 0 lineto\n", &result).empty());
    EXPECT_EQ(result, 0);
    // Nearly red is not red.
    EXPECT_EQ(readOutline(dir, "slicer 1 0 0.001 setrgbcolor 0 0 moveto 72 0 lineto 0 9 moveto\n").size(), 2u);
}

TEST(EpsReader, LongLinesAreReadWhole)
{
    TempDir dir;
    std::string line;
    for (int i = 0; i < 200; ++i)
        line += "  " + std::to_string(i * 72) + " 0 " + (i == 0 ? "moveto" : "lineto");
    const vx::PointList list = readOutline(dir, line + "\n");
    ASSERT_EQ(list.size(), 200u);
    EXPECT_FLOAT_EQ(static_cast<float>(list.back().x), 199 * 25.4f);
}

TEST(EpsReader, RealFiles)
{
    // pstoedit's flattened output: 41 paths of moveto, 212 lineto, 138
    // curveto (10 points each after the current one) and 41 closepath.
    vx::PointList logo;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    EXPECT_EQ(vx::readEps(fixture("eps/gen_pstoedit_flat_tk_logo.eps").c_str(), title, logo), 1);
    EXPECT_EQ(logo.size(), 41u + 212u + 138u * 10u + 41u);
    const Read r = lire(fixture("eps/gen_pstoedit_flat_tk_logo.eps"));
    ASSERT_GT(r.result, 0);
    EXPECT_EQ(contourCount(r.points), 41);
    // %%BoundingBox: 251 331 370 511, in millimetres.
    EXPECT_NEAR(r.xMax, (370 - 251) * 25.4 / 72, 0.5);
    EXPECT_NEAR(r.yMax, (511 - 331) * 25.4 / 72, 0.5);

    // Matplotlib draws through the aliases it defines (/m { moveto } _d):
    // the page background and ten triangles. Its marker procedures, placed
    // by a translate they take from the stack, are not run, so nothing is
    // made up for them.
    const Read scatter = lire(fixture("eps/matplotlib_scatter.eps"));
    EXPECT_EQ(scatter.result, 5 + 10 * 4);
    EXPECT_EQ(contourCount(scatter.points), 11);
    EXPECT_NEAR(scatter.xMax, 576 * 25.4 / 72, 1e-3);
}

TEST(EpsReader, HostileInputGivesACodeOrASoundResult)
{
    TempDir dir;
    EXPECT_EQ(lire(dir.write("empty.eps", "")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("header.eps", "%!PS-Adobe-3.0")).result, VX_ERR_NO_POINT);
    // Texts that are not finite numbers are not operands.
    EXPECT_EQ(describe(readOutline(dir, "nan nan moveto inf 0 moveto 1e400 0 moveto\n")), "");
    // Huge but finite numbers give points that LireFichier leaves out.
    EXPECT_EQ(lire(dir.write("huge.eps", std::string(kHeader) + "1e300 1e300 scale 1e300 1 moveto 1 1 lineto\n"))
                  .result,
              VX_ERR_NO_POINT);

    // A million operands on one line keep ten.
    std::string many;
    many.reserve(4'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        many += "72 ";
    EXPECT_EQ(readOutline(dir, many + "moveto 0 0 lineto\n").size(), 2u);

    std::string garbage(kHeader);
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    const Read g = lire(dir.write("garbage.eps", garbage));
    EXPECT_TRUE(g.result > 0 || g.result == VX_ERR_NO_POINT);
}
