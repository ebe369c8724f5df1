// SVG drawings: shapes, path commands, transforms, units and viewports,
// hidden content, references, titles and files saved by other programs.
#include "readers/readers.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace vxtest;

namespace {

// A page of 100 × 100 mm whose user unit is the millimetre: a point (x, y)
// of the drawing is read as (x, 100 - y).
std::string page(const std::string &body)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\">" +
           body + "</svg>";
}

struct Raw {
    int result = 0;
    vx::PointList list;
    std::string title;
};

// The reader's working list, before the cutting order.
Raw readRaw(const std::string &path)
{
    Raw r;
    std::string buffer(255, ' ');
    char *p = buffer.data();
    vx::TitleBuffer title(&p);
    r.result = vx::readSvg(path.c_str(), title, r.list);
    r.title = buffer.substr(0, buffer.find('\0'));
    while (!r.title.empty() && r.title.back() == ' ')
        r.title.pop_back();
    return r;
}

Raw readRaw(const TempDir &dir, const std::string &text) { return readRaw(dir.write("d.svg", text)); }

std::string describe(const vx::PointList &list)
{
    std::string s;
    for (const vx::Node &n : list) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s%.4g,%.4g/%d", s.empty() ? "" : " ", n.x + 0.0, n.y + 0.0, n.contour);
        s += buf;
    }
    return s;
}

// Every point at distance r from (cx, cy), and as many points as a DXF arc.
void expectArcOfCircle(const vx::PointList &list, double cx, double cy, double r)
{
    ASSERT_EQ(list.size(), 101u);
    for (const vx::Node &n : list)
        EXPECT_NEAR(std::hypot(n.x - cx, n.y - cy), r, 1e-12);
}

} // namespace

TEST(SvgShapes, ARectOfTenByTwentyMillimetresIsOneCounterClockwiseContourOfThatSize)
{
    TempDir dir;
    const Read r = lire(dir.write("r.svg", page("<rect x=\"30\" y=\"40\" width=\"10\" height=\"20\"/>")));
    ASSERT_EQ(r.result, 5);
    EXPECT_EQ(contourCount(r.points), 1);
    EXPECT_FLOAT_EQ(r.xMax, 10);
    EXPECT_FLOAT_EQ(r.yMax, 20);
    EXPECT_NEAR(doubleArea(r.points, 0, r.points.size()), 400, 1e-3);
}

TEST(SvgShapes, ACircleOfRadiusFiveGivesPointsOnTheCircleClosedExactly)
{
    TempDir dir;
    const Raw r = readRaw(dir, page("<circle cx=\"50\" cy=\"40\" r=\"5\"/>"));
    ASSERT_NO_FATAL_FAILURE(expectArcOfCircle(r.list, 50, 60, 5));
    EXPECT_EQ(r.list.front().x, r.list.back().x);
    EXPECT_EQ(r.list.front().y, r.list.back().y);
}

TEST(SvgShapes, EllipsesLinesPolylinesPolygonsAndRoundedRects)
{
    TempDir dir;
    EXPECT_EQ(describe(readRaw(dir, page("<line x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\"/>")).list), "1,98/1 3,96/1");
    EXPECT_EQ(describe(readRaw(dir, page("<polyline points=\"0,0 10,0 10,10 5\"/>")).list),
              "0,100/1 10,100/1 10,90/1");
    EXPECT_EQ(describe(readRaw(dir, page("<polygon points=\"0 0 10 0 10 10\"/>")).list),
              "0,100/1 10,100/1 10,90/1 0,100/1");
    const Raw e = readRaw(dir, page("<ellipse cx=\"50\" cy=\"50\" rx=\"10\" ry=\"4\"/>"));
    ASSERT_EQ(e.list.size(), 101u);
    EXPECT_NEAR(e.list[25].y, 46, 1e-12); // a quarter on, at the end of the minor axis
    // Rounded corners are arcs of 101 points each; a radius past half the side is cut to it.
    EXPECT_EQ(readRaw(dir, page("<rect width=\"20\" height=\"10\" rx=\"2\"/>")).list.size(), 4u * 101 + 1);
    const Raw pill = readRaw(dir, page("<rect width=\"20\" height=\"10\" ry=\"50\"/>"));
    for (const vx::Node &n : pill.list)
        EXPECT_GE(n.y, 90 - 1e-12);
    // Shapes without size draw nothing.
    EXPECT_EQ(readRaw(dir, page("<rect width=\"0\" height=\"5\"/><circle r=\"-1\"/>")).result, 0);
}

TEST(SvgPaths, RelativeAndAbsoluteCommandsDrawTheSamePoints)
{
    TempDir dir;
    const std::string square = "10,90/1 20,90/1 20,80/1 10,80/1 10,90/1";
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M10 10 L20 10 L20 20 L10 20 Z\"/>")).list), square);
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"m10 10 l10 0 0 10 -10 0 z\"/>")).list), square);
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M10,10H20V20H10z\"/>")).list), square);
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M10 10h10v10h-10Z\"/>")).list), square);
    // Coordinates after a move are lines; after a close a relative move starts from the subpath's start.
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"m 10,10 10,0 z m 0,5 5,0\"/>")).list),
              "10,90/1 20,90/1 10,90/1 10,85/2 15,85/2");
    // A relative move opening the data is absolute, whatever came before.
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"m 10,10 h 5\"/><path d=\"m 10,10 h 5\"/>")).list),
              "10,90/1 15,90/1 10,90/2 15,90/2");
    // A segment after a close starts a new contour at the start.
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M0 0 L5 0 Z L0 5\"/>")).list), "0,100/1 5,100/1 0,100/1 0,100/2 0,95/2");
}

TEST(SvgPaths, CurvesHaveElevenParametersAndTheShorthandsReflectTheirControlPoint)
{
    TempDir dir;
    const Raw c = readRaw(dir, page("<path d=\"M0 0 C 0 10 10 10 10 0\"/>"));
    ASSERT_EQ(c.list.size(), 11u);
    EXPECT_NEAR(c.list[5].y, 100 - 7.5, 1e-12); // the middle of this cubic
    const auto same = [&](const char *a, const char *b) {
        EXPECT_EQ(describe(readRaw(dir, page(std::string("<path d=\"") + a + "\"/>")).list),
                  describe(readRaw(dir, page(std::string("<path d=\"") + b + "\"/>")).list))
            << a;
    };
    same("M0 0 C 0 10 10 10 10 0 S 20 -10 20 0", "M0 0 C 0 10 10 10 10 0 C 10 -10 20 -10 20 0");
    same("M0 0 c 0 10 10 10 10 0 s 10 -10 10 0", "M0 0 C 0 10 10 10 10 0 C 10 -10 20 -10 20 0");
    same("M0 0 L 5 5 S 20 -10 20 0", "M0 0 L 5 5 C 5 5 20 -10 20 0");
    same("M0 0 Q 5 10 10 0 T 20 0", "M0 0 Q 5 10 10 0 Q 15 -10 20 0");
    same("M0 0 q 5 10 10 0 t 10 0", "M0 0 Q 5 10 10 0 Q 15 -10 20 0");
    same("M0 0 T 10 0", "M0 0 Q 0 0 10 0");
}

TEST(SvgPaths, ArcsAreSampledAtOneHundredAndOnePointsOnTheirEllipse)
{
    TempDir dir;
    // Sweep 1 turns the positive way on a Y-down page: through (5, -5), read (5, 105).
    const Raw a = readRaw(dir, page("<path d=\"M 0 0 A 5 5 0 0 1 10 0\"/>"));
    ASSERT_NO_FATAL_FAILURE(expectArcOfCircle(a.list, 5, 100, 5));
    EXPECT_NEAR(a.list[50].y, 105, 1e-12);
    EXPECT_EQ(a.list.back().x, 10);
    // Flags without separators, radii too small grown to reach, the large arc of a circle.
    EXPECT_EQ(describe(a.list), describe(readRaw(dir, page("<path d=\"M0,0a1,1 0 0110,0\"/>")).list));
    // The large arc from (0,0) to (5,5) turning the negative way goes round (0,5).
    const Raw large = readRaw(dir, page("<path d=\"M 0 0 A 5 5 0 1 0 5 5\"/>"));
    ASSERT_NO_FATAL_FAILURE(expectArcOfCircle(large.list, 0, 95, 5));
    EXPECT_NEAR(large.list[50].x, -5 / std::sqrt(2.0), 1e-12);
    // A zero radius is a straight line; an arc to its own start is left out.
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M0 0 A 0 5 0 0 1 10 0 A 5 5 0 0 1 10 0\"/>")).list),
              "0,100/1 10,100/1");
}

TEST(SvgPaths, PathDataIsDrawnUpToItsFirstError)
{
    TempDir dir;
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M0 0 L10 0 L10\"/>")).list), "0,100/1 10,100/1");
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M0 0 L10 0 X 5 5\"/>")).list), "0,100/1 10,100/1");
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M0 0 L10 0 L nan 5 L 5 5\"/>")).list), "0,100/1 10,100/1");
    EXPECT_EQ(readRaw(dir, page("<path d=\"L10 0 L10 10\"/><path d=\"M 5 5\"/><path/>")).result, 0);
    EXPECT_EQ(describe(readRaw(dir, page("<path d=\"M.5.5L1e1-1e0\"/>")).list), "0.5,99.5/1 10,101/1");
}

TEST(SvgTransforms, EachKindOfTransformMovesAPointAsSvgDoes)
{
    TempDir dir;
    struct Case {
        const char *transform;
        double x, y; // where (1, 1) goes, Y down
    };
    const Case cases[] = {{"translate(10)", 11, 1},          {"translate(10 20) scale(2)", 12, 22},
                          {"scale(2,3)", 2, 3},              {"matrix(1 0 0 1 5 6)", 6, 7},
                          {"skewX(45)", 2, 1},               {"skewY(45)", 1, 2},
                          {"rotate(90)", -1, 1},             {"rotate(180 1 0)", 1, -1},
                          {" translate( 1 , 1 ) , scale(2) ", 3, 3}};
    for (const Case &c : cases) {
        const Raw r = readRaw(dir, page(std::string("<line transform=\"") + c.transform +
                                        "\" x1=\"1\" y1=\"1\" x2=\"1\" y2=\"1\"/>"));
        ASSERT_EQ(r.list.size(), 2u) << c.transform;
        EXPECT_NEAR(r.list[0].x, c.x, 1e-12) << c.transform;
        EXPECT_NEAR(r.list[0].y, 100 - c.y, 1e-12) << c.transform;
    }
    // rotate(90 5 5) turns the segment (0,0)-(10,0) about (5,5) into (10,0)-(10,10), exactly.
    EXPECT_EQ(describe(readRaw(dir, page("<g transform=\"rotate(90 5 5)\"><line x2=\"10\"/></g>")).list),
              "10,100/1 10,90/1");
    // Nested groups apply the inner transform first.
    EXPECT_EQ(describe(readRaw(dir, page("<g transform=\"translate(5)\"><g transform=\"scale(2)\">"
                                         "<line x1=\"1\" y1=\"1\" x2=\"1\" y2=\"1\"/></g></g>")).list),
              "7,98/1 7,98/1");
    // A transform in error leaves its element out.
    for (const char *bad : {"translate(1", "rotate(1 2)", "scale()", "spin(3)", "skewX(90)"})
        EXPECT_EQ(readRaw(dir, page(std::string("<line transform=\"") + bad + "\" x2=\"1\"/>")).result, 0) << bad;
}

TEST(SvgUnits, LengthsAndThePageAreConvertedToMillimetresAtNinetySixPixelsAnInch)
{
    TempDir dir;
    const std::pair<const char *, double> lengths[] = {{"10mm", 10}, {"1cm", 10},   {"1in", 25.4}, {"72pt", 25.4},
                                                       {"6pc", 25.4}, {"96px", 25.4}, {"96", 25.4}};
    for (const auto &[text, mm] : lengths) {
        const Read r = lire(dir.write("u.svg", std::string("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect "
                                                           "width=\"") + text + "\" height=\"1\"/></svg>"));
        EXPECT_NEAR(r.xMax, mm, 1e-4) << text;
    }
    const auto firstPoint = [&](const std::string &root) {
        const Raw r = readRaw(dir, "<svg xmlns=\"http://www.w3.org/2000/svg\" " + root + "><line x2=\"1\"/></svg>");
        char buf[96] = "";
        if (r.list.size() == 2)
            std::snprintf(buf, sizeof buf, "%.4g,%.4g %.4g,%.4g", r.list[0].x + 0.0, r.list[0].y + 0.0,
                          r.list[1].x + 0.0, r.list[1].y + 0.0);
        return std::string(buf);
    };
    EXPECT_EQ(firstPoint("width=\"50mm\" height=\"20mm\" viewBox=\"0 0 100 40\""), "0,20 0.5,20");
    // The default aspect keeps the box whole and centres it.
    EXPECT_EQ(firstPoint("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 10 20\""), "25,100 30,100");
    EXPECT_EQ(firstPoint("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 10 20\" preserveAspectRatio=\"none\""),
              "0,100 10,100");
    EXPECT_EQ(firstPoint("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 10 20\" "
                         "preserveAspectRatio=\"xMaxYMin slice\""),
              "0,100 10,100");
    EXPECT_EQ(firstPoint("width=\"100mm\" height=\"100mm\" viewBox=\"5 0 20 10\" "
                         "preserveAspectRatio=\"xMinYMax\""),
              "-25,50 -20,50");
    // One side given: the other follows the box; none: the box in pixels.
    EXPECT_EQ(firstPoint("width=\"20mm\" viewBox=\"0 0 10 5\""), "0,10 2,10");
    EXPECT_EQ(firstPoint("viewBox=\"0 0 96 96\""), "0,25.4 0.2646,25.4");
    // A size that is not a length, or not positive, counts as absent; so does a bad box.
    EXPECT_EQ(firstPoint("width=\"-20mm\" height=\"10em\" viewBox=\"0 0 96 96\""), "0,25.4 0.2646,25.4");
    EXPECT_EQ(firstPoint("width=\"10mm\" height=\"10mm\" viewBox=\"0 0 -5 5\""), "0,10 0.2646,10");
}

TEST(SvgContent, HiddenElementsAndDefinitionsAreNotDrawn)
{
    TempDir dir;
    const std::string square = "<rect width=\"1\" height=\"1\"/>";
    for (const std::string &hidden :
         {"<g display=\"none\">" + square + "</g>", "<g style=\"fill:red; display : none\">" + square + "</g>",
          std::string("<rect visibility=\"hidden\" width=\"1\" height=\"1\"/>"),
          "<g style=\"visibility:collapse\">" + square + "</g>", "<defs>" + square + "</defs>",
          "<clipPath>" + square + "</clipPath>", "<mask>" + square + "</mask>", "<marker>" + square + "</marker>",
          "<pattern>" + square + "</pattern>", "<metadata>" + square + "</metadata>",
          "<symbol>" + square + "</symbol>", "<foo:g xmlns:foo=\"urn:x\">" + square + "</foo:g>"})
        EXPECT_EQ(readRaw(dir, page(hidden)).result, 0) << hidden;
    // A visible child of a hidden group is drawn; a display attribute loses to the style.
    EXPECT_EQ(readRaw(dir, page("<g visibility=\"hidden\"><rect visibility=\"visible\" width=\"1\" height=\"1\"/>"
                                "</g>")).list.size(), 5u);
    EXPECT_EQ(readRaw(dir, page("<g display=\"none\" style=\"display:inline\">" + square + "</g>")).list.size(), 5u);
}

TEST(SvgContent, UseDrawsItsTargetMovedAndSymbolsThroughTheirViewBox)
{
    TempDir dir;
    EXPECT_EQ(describe(readRaw(dir, page("<defs><line id=\"l\" x2=\"1\"/></defs><use href=\"#l\" x=\"10\" y=\"5\"/>"
                                         "<use xlink:href=\"#l\" transform=\"scale(2)\"/>")).list),
              "10,95/1 11,95/1 0,100/2 2,100/2");
    // The symbol's box of 10 is shown 20 wide at the use.
    EXPECT_EQ(describe(readRaw(dir, page("<symbol id=\"s\" viewBox=\"0 0 10 10\"><line x2=\"10\"/></symbol>"
                                         "<use href=\"#s\" x=\"1\" width=\"20\" height=\"20\"/>")).list),
              "1,100/1 21,100/1");
    // Hidden where it is defined, drawn where it is used.
    EXPECT_EQ(readRaw(dir, page("<g display=\"none\"><line id=\"l\" x2=\"1\"/></g><use href=\"#l\"/>")).list.size(),
              2u);
    EXPECT_EQ(readRaw(dir, page("<use href=\"#missing\"/><use href=\"other.svg#l\"/><line id=\"l\" x2=\"0\" "
                                "display=\"none\"/>")).result, 0);
}

TEST(SvgContent, NestedViewportsMapTheirBoxAndASwitchDrawsItsFirstChild)
{
    TempDir dir;
    EXPECT_EQ(describe(readRaw(dir, page("<svg x=\"10\" y=\"10\" width=\"20\" height=\"20\" viewBox=\"0 0 5 5\">"
                                         "<line x2=\"5\"/></svg>")).list),
              "10,90/1 30,90/1");
    EXPECT_EQ(describe(readRaw(dir, page("<svg x=\"10\"><line x2=\"5\"/></svg>")).list), "10,100/1 15,100/1");
    EXPECT_EQ(describe(readRaw(dir, page("<switch><desc>x</desc><line x2=\"1\"/><line x2=\"2\"/></switch>")).list),
              "0,100/1 1,100/1");
}

TEST(SvgContent, TheTitleIsTheDocumentTitleOrElseTheFirstText)
{
    TempDir dir;
    EXPECT_EQ(readRaw(dir, page("<g><title>Calque</title></g><title>\n  Aile   de\tbase </title><text>x</text>"))
                  .title,
              "Aile de base");
    EXPECT_EQ(readRaw(dir, page("<text x=\"1\">Nervure <tspan>12</tspan></text><text>autre</text>")).title,
              "Nervure 12");
    EXPECT_EQ(readRaw(dir, page("<metadata><title>non</title></metadata>")).title, "");
    // The title of a file opened without a title buffer is not asked for.
    EXPECT_EQ(lire(dir.write("t.svg", page("<title>T</title><line x2=\"1\"/>")), false).result, 2);
}

TEST(SvgFiles, AnInkscapeDrawingInMillimetresWithALayerTransform)
{
    const Raw r = readRaw(fixture("svg/inkscape_nervure_mm.svg"));
    EXPECT_EQ(r.title, "Nervure d'essai");
    // The profile of three curves, the hole and the rounded spar; the layer moves the profile's nose
    // to the page's left edge.
    ASSERT_EQ(r.list.size(), 1u + 3 * 10 + 101 + 4 * 101 + 1);
    EXPECT_NEAR(r.list[0].x, 0, 1e-9);
    const Read read = lire(fixture("svg/inkscape_nervure_mm.svg"));
    EXPECT_EQ(contourCount(read.points), 3);
    EXPECT_FLOAT_EQ(read.xMax, 100);
    EXPECT_NEAR(read.yMax, 50.17, 0.02); // Inkscape's page, within the sampling of the curves
}

TEST(SvgFiles, AnIconOfADebianThemeInPixelsWithTwoHoles)
{
    const Read r = lire(fixture("svg/adwaita_action-unavailable-symbolic.svg"));
    ASSERT_GT(r.result, 0);
    EXPECT_EQ(contourCount(r.points), 3);
    EXPECT_NEAR(r.xMax, 16 * 25.4 / 96, 1e-5);
    EXPECT_NEAR(r.yMax, 16 * 25.4 / 96, 1e-5);
}

TEST(SvgFiles, AnInkscapeUseOfAPathDrawsItTwice)
{
    const Read r = lire(fixture("svg/silhouette_plus_with_duplicate.svg"));
    EXPECT_EQ(r.result, 8);
    EXPECT_EQ(contourCount(r.points), 4);
    EXPECT_FLOAT_EQ(r.xMax, 40);
    EXPECT_FLOAT_EQ(r.yMax, 40);
}
