// The DXF reader's entities, checked on the working list it builds.
#include "dxf_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace dxftest;

namespace {

constexpr double kPi = std::numbers::pi;

double angleOf(const vx::Node &n, double cx, double cy) { return std::atan2(n.y - cy, n.x - cx); }

Dxf lwpolyline(std::initializer_list<std::array<double, 3>> vertices, bool closed)
{
    Dxf d;
    d.entity("LWPOLYLINE").pair(8, "0").pair(90, static_cast<int>(vertices.size())).pair(70, closed ? 1 : 0);
    for (const auto &v : vertices) {
        d.xy(10, v[0], v[1]);
        if (v[2] != 0)
            d.pair(42, v[2]);
    }
    return d;
}

} // namespace

TEST(DxfLines, ALineGivesItsTwoEndsAndAZeroLengthLineASinglePoint)
{
    Working w = readWorking(entitiesFile(Dxf().line(1, 2, 3, 4)));
    ASSERT_EQ(w.result, 1);
    ASSERT_EQ(w.list.size(), 2u);
    EXPECT_EQ(w.list[0].x, 1);
    EXPECT_EQ(w.list[0].y, 2);
    EXPECT_EQ(w.list[1].x, 3);
    EXPECT_EQ(w.list[1].y, 4);

    w = readWorking(entitiesFile(Dxf().line(5, 5, 5.00005, 5)));
    ASSERT_EQ(w.list.size(), 1u);
    EXPECT_EQ(w.list[0].x, 5);
}

TEST(DxfLines, APointIsAOnePointContourThatLireFichierPairsWithAPenUp)
{
    Dxf d;
    d.entity("POINT").pair(8, "0").xy(10, 7, 8);
    Working w = readWorking(entitiesFile(d));
    ASSERT_EQ(w.list.size(), 1u);

    vxtest::TempDir dir;
    const vxtest::Read r = vxtest::lire(dir.write("p.dxf", entitiesFile(d)));
    ASSERT_EQ(r.result, 2);
    EXPECT_EQ(vxtest::pen(r.points[0]), "PD");
    EXPECT_EQ(vxtest::pen(r.points[1]), "PU");
}

TEST(DxfPolylines, AClosedSquareGivesFivePointsEndingOnItsFirst)
{
    const Working w = readWorking(entitiesFile(lwpolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true)));
    ASSERT_EQ(w.list.size(), 5u);
    EXPECT_EQ(w.list[4].x, 0);
    EXPECT_EQ(w.list[4].y, 0);
    for (const vx::Node &n : w.list)
        EXPECT_EQ(n.contour, w.list[0].contour);
}

TEST(DxfPolylines, ABulgeOfOneIsAHalfCircleFromTheVertexToTheNext)
{
    const Working w = readWorking(entitiesFile(lwpolyline({{0, 0, 1}, {10, 0, 0}}, false)));
    ASSERT_EQ(w.list.size(), 102u);
    EXPECT_EQ(w.list[1].x, 0);
    EXPECT_EQ(w.list[1].y, 0);
    EXPECT_EQ(w.list[101].x, 10);
    EXPECT_EQ(w.list[101].y, 0);
    for (size_t i = 1; i < w.list.size(); ++i)
        EXPECT_NEAR(std::hypot(w.list[i].x - 5, w.list[i].y), 5, 1e-9);
    // Counter-clockwise from (0,0) to (10,0): through the bottom.
    EXPECT_NEAR(w.list[51].x, 5, 1e-9);
    EXPECT_NEAR(w.list[51].y, -5, 1e-9);

    // A negative bulge turns the other way; a small one bends less.
    const Working back = readWorking(entitiesFile(lwpolyline({{0, 0, -0.5}, {10, 0, 0}}, false)));
    ASSERT_EQ(back.list.size(), 102u);
    const double sagitta = 0.5 * 5; // b · chord / 2
    EXPECT_NEAR(back.list[51].y, sagitta, 1e-9);
}

TEST(DxfPolylines, AClosedPolylineClosesThroughItsLastBulge)
{
    const Working w = readWorking(entitiesFile(lwpolyline({{0, 0, 1}, {10, 0, 1}}, true)));
    ASSERT_EQ(w.list.size(), 1u + 101 + 101);
    EXPECT_EQ(w.list.back().x, 0);
    EXPECT_EQ(w.list.back().y, 0);
    double lo = 0, hi = 0;
    for (const vx::Node &n : w.list) {
        lo = std::min(lo, n.y);
        hi = std::max(hi, n.y);
    }
    EXPECT_NEAR(lo, -5, 1e-9);
    EXPECT_NEAR(hi, 5, 1e-9);
}

TEST(DxfPolylines, AOneVertexPolylineIsDropped)
{
    const Working w = readWorking(entitiesFile(lwpolyline({{3, 3, 0}}, true)));
    EXPECT_EQ(w.result, 0);
    EXPECT_TRUE(w.list.empty());
}

TEST(DxfPolylines, OldPolylinesShareOneContourSkipFrameVerticesAndClose)
{
    Dxf d;
    d.entity("POLYLINE").pair(8, "0").pair(66, 1).xy(10, 0, 0).pair(70, 1);
    d.entity("VERTEX").pair(8, "0").xy(10, 0, 0).pair(42, 1.0).pair(70, 0);
    d.entity("VERTEX").pair(8, "0").xy(10, 10, 0).pair(70, 0);
    d.entity("VERTEX").pair(8, "0").xy(10, 50, 50).pair(70, 16); // spline frame control point
    d.entity("VERTEX").pair(8, "0").xy(10, 10, 10).pair(70, 0);
    d.entity("SEQEND").pair(8, "0");
    d.line(100, 100, 200, 100);
    const Working w = readWorking(entitiesFile(d));
    const auto parts = contours(w.list);
    ASSERT_EQ(parts.size(), 2u);
    const vx::PointList &poly = parts[0];
    // (0,0), the half circle to (10,0), (10,10), then (0,0) again.
    ASSERT_EQ(poly.size(), 1u + 101 + 1 + 1);
    EXPECT_NEAR(poly[51].y, -5, 1e-9);
    EXPECT_EQ(poly[102].x, 10);
    EXPECT_EQ(poly[102].y, 10);
    EXPECT_EQ(poly.back().x, 0);
    EXPECT_EQ(poly.back().y, 0);
    for (const vx::Node &n : poly)
        EXPECT_NE(n.x, 50);
}

TEST(DxfCurves, ACircleOfRadiusTenGives101PointsClosedOnItsRightmostPoint)
{
    const Working w = readWorking(entitiesFile(Dxf().circle(3, 4, 10)));
    ASSERT_EQ(w.list.size(), 101u);
    EXPECT_EQ(w.list.front().x, 13);
    EXPECT_EQ(w.list.front().y, 4);
    EXPECT_EQ(w.list.back().x, 13);
    EXPECT_EQ(w.list.back().y, 4);
    EXPECT_NEAR(w.list[25].x, 3, 1e-9);
    EXPECT_NEAR(w.list[25].y, 14, 1e-9);
}

TEST(DxfCurves, AnArcFrom350To10DegreesRunsThroughZero)
{
    Dxf d;
    d.entity("ARC").pair(8, "0").xy(10, 0, 0).pair(40, 2.0).pair(50, 350.0).pair(51, 10.0);
    const Working w = readWorking(entitiesFile(d));
    ASSERT_EQ(w.list.size(), 101u);
    EXPECT_NEAR(angleOf(w.list.front(), 0, 0), -10 * kPi / 180, 1e-12);
    EXPECT_NEAR(angleOf(w.list.back(), 0, 0), 10 * kPi / 180, 1e-12);
    EXPECT_NEAR(w.list[50].x, 2, 1e-12);
    EXPECT_NEAR(w.list[50].y, 0, 1e-12);
    for (const vx::Node &n : w.list)
        EXPECT_GT(n.x, 1.9);
}

TEST(DxfCurves, EllipsesFollowTheirMajorAxisAndRunCounterClockwiseFromTheStart)
{
    Dxf full;
    full.entity("ELLIPSE").pair(8, "0").xy(10, 0, 0).xy(11, 0, 10).pair(40, 0.5).pair(41, 0.0).pair(42, 2 * kPi);
    Working w = readWorking(entitiesFile(full));
    ASSERT_EQ(w.list.size(), 101u);
    EXPECT_NEAR(w.list[0].x, 0, 1e-12);
    EXPECT_NEAR(w.list[0].y, 10, 1e-12);
    EXPECT_NEAR(w.list[25].x, -5, 1e-12); // a quarter on, counter-clockwise
    EXPECT_NEAR(w.list[25].y, 0, 1e-12);

    // From 3π/2 to π/2: the half on the side of the major axis' end.
    Dxf wrapped;
    wrapped.entity("ELLIPSE").pair(8, "0").xy(10, 0, 0).xy(11, 10, 0).pair(40, 0.5).pair(41, 1.5 * kPi).pair(42, 0.5 * kPi);
    w = readWorking(entitiesFile(wrapped));
    ASSERT_EQ(w.list.size(), 101u);
    EXPECT_NEAR(w.list[50].x, 10, 1e-12);
    for (const vx::Node &n : w.list)
        EXPECT_GT(n.x, -1e-9);
}

TEST(DxfCurves, IncompleteCurvesGiveNothing)
{
    Dxf d;
    d.entity("CIRCLE").pair(8, "0").xy(10, 0, 0);                                   // no radius
    d.entity("ARC").pair(8, "0").xy(10, 0, 0).pair(40, 1.0).pair(50, 0.0);            // no end angle
    d.entity("ELLIPSE").pair(8, "0").xy(10, 0, 0).xy(11, 1, 0).pair(40, 0.5).pair(41, 0.0); // no end
    EXPECT_EQ(readWorking(entitiesFile(d)).result, 0);
}

TEST(DxfLayers, EntitiesOnALayerWithANegativeColourAreIgnoredAndNamesAreCaseSensitive)
{
    Dxf d;
    d.section("TABLES").entity("TABLE").pair(2, "LAYER").pair(70, 3);
    d.layer("Hidden", -7).layer("HIDDEN", 7).layer("Cut", 1);
    d.entity("ENDTAB").endSection();
    d.section("ENTITIES");
    d.line(0, 0, 1, 0, "Hidden");
    d.line(0, 1, 1, 1, "HIDDEN");
    d.line(0, 2, 1, 2, "hidden");
    d.circle(50, 50, 1).pair(8, "Hidden"); // the layer given after the geometry
    d.entity("TEXT").pair(8, "Hidden").pair(1, "not a title").xy(10, 0, 0);
    d.endSection();
    const Working w = readWorking(d.file());
    const auto parts = contours(w.list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0][0].y, 1);
    EXPECT_EQ(parts[1][0].y, 2);
    EXPECT_EQ(w.title, "");
}

TEST(DxfLayers, PaperSpaceEntitiesAreIgnored)
{
    Dxf d;
    d.entity("LINE").pair(67, 1).pair(8, "0").xy(10, 0, 0).xy(11, 5, 0);
    d.entity("CIRCLE").pair(8, "0").pair(67, 0).xy(10, 0, 0).pair(40, 1.0);
    const Working w = readWorking(entitiesFile(d));
    EXPECT_EQ(w.list.size(), 101u);
}

TEST(DxfText, TheFirstTextIsTheTitleWithItsLineEnd)
{
    Dxf d;
    d.entity("TEXT").pair(8, "0").xy(10, 0, 0).pair(40, 2.5).pair(1, "Panel 3  ");
    d.entity("TEXT").pair(8, "0").xy(10, 0, 0).pair(1, "second");
    d.line(0, 0, 1, 1);
    Working w = readWorking(entitiesFile(d));
    EXPECT_EQ(w.title, "Panel 3  \n");

    std::string crlf = entitiesFile(d);
    for (size_t i = 0; (i = crlf.find('\n', i)) != std::string::npos; i += 2)
        crlf.insert(i, "\r");
    w = readWorking(crlf);
    EXPECT_EQ(w.title, "Panel 3  \r\n");
    EXPECT_EQ(w.list.size(), 2u);
}

TEST(DxfText, ATitleAlreadyGivenIsKept)
{
    vxtest::TempDir dir;
    const std::string path = dir.write("t.dxf", entitiesFile(Dxf().entity("TEXT").pair(1, "ignored")));
    std::string title = "Mine" + std::string(251, ' ');
    char *titlePtr = title.data();
    vx::TitleBuffer buffer(&titlePtr);
    vx::PointList list;
    vx::readDxf(path.c_str(), buffer, list);
    EXPECT_EQ(title.substr(0, 4), "Mine");
    EXPECT_EQ(title.size(), 255u);
}

TEST(DxfInsert, AScaledAndRotatedBlockLandsWhereItIsInserted)
{
    Dxf d;
    d.section("BLOCKS").block("UNIT").line(0, 0, 1, 0).endBlock().endSection();
    d.section("ENTITIES").insert("UNIT", 5, 5, 2, 90).endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.list.size(), 2u);
    EXPECT_NEAR(w.list[0].x, 5, 1e-12);
    EXPECT_NEAR(w.list[0].y, 5, 1e-12);
    EXPECT_NEAR(w.list[1].x, 5, 1e-12);
    EXPECT_NEAR(w.list[1].y, 7, 1e-12);
}

TEST(DxfInsert, TheBasePointNestedBlocksAndUnknownNames)
{
    Dxf d;
    d.section("BLOCKS");
    d.block("INNER", 1, 1).line(1, 1, 2, 1).endBlock();
    d.block("OUTER").insert("INNER", 10, 0, 1, 90).circle(0, 0, 1).endBlock();
    d.endSection();
    d.section("ENTITIES").insert("OUTER", 100, 0, 2).insert("NOWHERE", 0, 0).endSection();
    const Working w = readWorking(d.file());
    const auto parts = contours(w.list);
    ASSERT_EQ(parts.size(), 2u);
    // INNER's line runs from its base point, turned a quarter, at (10,0) in
    // OUTER, which is doubled at (100,0).
    ASSERT_EQ(parts[0].size(), 2u);
    EXPECT_NEAR(parts[0][0].x, 120, 1e-12);
    EXPECT_NEAR(parts[0][0].y, 0, 1e-12);
    EXPECT_NEAR(parts[0][1].x, 120, 1e-12);
    EXPECT_NEAR(parts[0][1].y, 2, 1e-12);
    ASSERT_EQ(parts[1].size(), 101u);
    EXPECT_NEAR(parts[1][0].x, 102, 1e-12);
}

TEST(DxfInsert, AnInsertWithAttributesIsStillExpanded)
{
    Dxf d;
    d.section("BLOCKS").block("PART").line(0, 0, 4, 0).endBlock().endSection();
    d.section("ENTITIES");
    d.entity("INSERT").pair(8, "0").pair(66, 1).pair(2, "PART").xy(10, 1, 1);
    d.entity("ATTRIB").pair(8, "0").xy(10, 1, 1).pair(1, "label").pair(2, "TAG");
    d.entity("SEQEND").pair(8, "0");
    d.endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.list.size(), 2u);
    EXPECT_EQ(w.list[1].x, 5);
    EXPECT_EQ(w.title, "");
}

TEST(DxfInsert, EveryInsertedEntityGetsAContourNumberOfItsOwn)
{
    Dxf d;
    d.section("BLOCKS").block("TWO").line(0, 0, 1, 0).line(0, 0, 0, 1).endBlock().endSection();
    d.section("ENTITIES").insert("TWO", 0, 0).insert("TWO", 0, 0).line(5, 5, 6, 6).endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.list.size(), 10u);
    std::vector<int32_t> numbers;
    for (const auto &c : contours(w.list))
        numbers.push_back(c[0].contour);
    ASSERT_EQ(numbers.size(), 5u);
    for (size_t i = 1; i < numbers.size(); ++i)
        EXPECT_GT(numbers[i], numbers[i - 1]);
}

TEST(DxfExtrusion, ShapesSeenFromBelowAreMirroredInX)
{
    // Plane entities: the whole entity, wherever the extrusion is given.
    Dxf d;
    d.entity("CIRCLE").pair(8, "0").xy(10, 10, 0).pair(40, 1.0).pair(210, 0.0).pair(220, 0.0).pair(230, -1.0);
    Working w = readWorking(entitiesFile(d));
    ASSERT_EQ(w.list.size(), 101u);
    EXPECT_EQ(w.list[0].x, -11);

    Dxf arc;
    arc.entity("ARC").pair(8, "0").xy(10, 10, 0).pair(40, 1.0).pair(230, -1.0).pair(50, 0.0).pair(51, 90.0);
    w = readWorking(entitiesFile(arc));
    EXPECT_EQ(w.list.front().x, -11);
    EXPECT_NEAR(w.list.back().x, -10, 1e-12);
    EXPECT_NEAR(w.list.back().y, 1, 1e-12);

    // World-coordinate entities: X read after the extrusion only.
    Dxf lines;
    lines.entity("LINE").pair(8, "0").pair(230, -1.0).xy(10, 1, 1).xy(11, 2, 2);
    lines.entity("LINE").pair(8, "0").xy(10, 3, 3).xy(11, 4, 4).pair(230, -1.0);
    w = readWorking(entitiesFile(lines));
    ASSERT_EQ(w.list.size(), 4u);
    EXPECT_EQ(w.list[0].x, -1);
    EXPECT_EQ(w.list[1].x, -2);
    EXPECT_EQ(w.list[2].x, 3);
    EXPECT_EQ(w.list[3].x, 4);
}

TEST(DxfExtrusion, AnEllipseSeenFromBelowTurnsTheOtherWayAndASplineStaysPut)
{
    Dxf d;
    d.entity("ELLIPSE").pair(8, "0").xy(10, 0, 0).xy(11, 10, 0).pair(210, 0.0).pair(220, 0.0).pair(230, -1.0);
    d.pair(40, 0.5).pair(41, 0.0).pair(42, kPi / 2);
    d.entity("SPLINE").pair(8, "0").pair(210, 0.0).pair(220, 0.0).pair(230, -1.0).pair(70, 8).pair(71, 1);
    d.pair(40, 0.0).pair(40, 0.0).pair(40, 1.0).pair(40, 1.0).xy(10, 20, 0).xy(10, 30, 0);
    const Working w = readWorking(entitiesFile(d));
    const auto parts = contours(w.list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_NEAR(parts[0].back().x, 0, 1e-12);
    EXPECT_NEAR(parts[0].back().y, -5, 1e-12);
    EXPECT_EQ(parts[1].front().x, 20);
    EXPECT_EQ(parts[1].back().x, 30);
}

TEST(DxfExtrusion, PolylineVerticesAndInsertsFollowTheirParent)
{
    Dxf d;
    d.section("BLOCKS").block("B").line(1, 0, 2, 0).endBlock().endSection();
    d.section("ENTITIES");
    d.entity("POLYLINE").pair(8, "0").pair(70, 0).pair(230, -1.0);
    d.entity("VERTEX").pair(8, "0").xy(10, 1, 0);
    d.entity("VERTEX").pair(8, "0").xy(10, 2, 0);
    d.entity("SEQEND");
    d.insert("B", 10, 0).pair(230, -1.0);
    d.endSection();
    const Working w = readWorking(d.file());
    ASSERT_EQ(w.list.size(), 4u);
    EXPECT_EQ(w.list[0].x, -1);
    EXPECT_EQ(w.list[1].x, -2);
    EXPECT_EQ(w.list[2].x, -11);
    EXPECT_EQ(w.list[3].x, -12);
}

TEST(DxfEntities, UnknownEntitiesAddNothingAndDoNotDisturbTheirNeighbours)
{
    Dxf d;
    d.line(0, 0, 1, 0);
    d.entity("HATCH").pair(8, "0").xy(10, 9, 9).pair(42, 1.0);
    d.entity("MTEXT").pair(1, "not a title");
    d.entity("DIMENSION").pair(2, "*D1");
    d.line(1, 0, 1, 1);
    const Working w = readWorking(entitiesFile(d));
    ASSERT_EQ(w.list.size(), 4u);
    EXPECT_EQ(w.title, "");
    EXPECT_NE(w.list[1].contour, w.list[2].contour);
}
