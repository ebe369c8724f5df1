// Whole drawings through LireFichier: files written by other programs, files
// generated with ezdxf, and the cutting order of simple drawings.
#include "dxf_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

using namespace dxftest;
using vxtest::fixture;
using vxtest::lire;
using vxtest::Read;

namespace {

double signedArea(const std::vector<ContourPoint> &c)
{
    double a = 0;
    for (size_t i = 1; i < c.size(); ++i)
        a += static_cast<double>(c[i - 1].X) * c[i].Y - static_cast<double>(c[i - 1].Y) * c[i].X;
    return a;
}

bool closed(const std::vector<ContourPoint> &c)
{
    return c.size() > 2 && std::fabs(c.front().X - c.back().X) < 1e-3f && std::fabs(c.front().Y - c.back().Y) < 1e-3f;
}

struct Extents {
    double minX, minY, maxX, maxY;
};

Extents extentsOf(const vx::PointList &list)
{
    Extents e{list.at(0).x, list[0].y, list[0].x, list[0].y};
    for (const vx::Node &n : list) {
        e.minX = std::min(e.minX, n.x);
        e.minY = std::min(e.minY, n.y);
        e.maxX = std::max(e.maxX, n.x);
        e.maxY = std::max(e.maxY, n.y);
    }
    return e;
}

} // namespace

TEST(DxfCuttingOrder, FourLinesMakeOneCounterClockwiseSquareFromItsLowerRightCorner)
{
    vxtest::TempDir dir;
    Dxf d;
    d.line(0, 10, 0, 0).line(10, 10, 0, 10).line(0, 0, 10, 0).line(10, 0, 10, 10);
    const Read r = lire(dir.write("square.dxf", entitiesFile(d)));
    ASSERT_EQ(r.result, 5);
    EXPECT_EQ(r.points[0].X, 10.0f);
    EXPECT_EQ(r.points[0].Y, 0.0f);
    EXPECT_EQ(r.points[4].X, 10.0f);
    EXPECT_EQ(r.points[4].Y, 0.0f);
    EXPECT_EQ(r.points[1].X, 10.0f); // counter-clockwise: up the right side first
    EXPECT_EQ(r.points[1].Y, 10.0f);
    EXPECT_GT(signedArea(r.points), 0);
    for (const ContourPoint &p : r.points)
        EXPECT_EQ(vxtest::tag(p), " A");
}

TEST(DxfCuttingOrder, AHoleIsCutFirstAndClockwise)
{
    vxtest::TempDir dir;
    const Read r = lire(fixture("dxf/gen_r12_lines_shuffled_with_hole.dxf"));
    const auto parts = contours(r.points);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].size(), 5u);
    EXPECT_LT(signedArea(parts[0]), 0);
    EXPECT_GT(signedArea(parts[1]), 0);
    EXPECT_FLOAT_EQ(r.xMax, 100);
    EXPECT_FLOAT_EQ(r.yMax, 60);
    // Each starts at its corner of largest X, the lowest of those.
    EXPECT_EQ(parts[1][0].X, 100.0f);
    EXPECT_EQ(parts[1][0].Y, 0.0f);
}

TEST(DxfRealFiles, PartsWithHolesFromArcsLinesAndEllipses)
{
    const Read r = lire(fixture("dxf/d2g_Teile.dxf"));
    ASSERT_GT(r.result, 1000);
    const auto parts = contours(r.points);
    // 152 arcs, 148 lines and 20 ellipses joined into outlines and holes; a
    // few corners of this drawing are 0.3 to 0.4 thousandths apart, more
    // than the joining tolerance, and stay open.
    size_t closedCount = 0;
    for (const auto &p : parts)
        closedCount += closed(p) ? 1 : 0;
    EXPECT_EQ(parts.size(), 32u);
    EXPECT_EQ(closedCount, 16u); // the other 16 each have one gap
    EXPECT_NEAR(r.xMax, 145.765, 1e-3);
    EXPECT_NEAR(r.yMax, 139.327, 1e-3);
}

TEST(DxfRealFiles, ABulgedPolylineAndTwoEllipses)
{
    const Read poly = lire(fixture("dxf/d2g_Polylinie.dxf"));
    ASSERT_GT(poly.result, 100);
    EXPECT_EQ(contours(poly.points).size(), 1u);

    const Read ellipses = lire(fixture("dxf/dxfparser_ellipse.dxf"));
    const auto parts = contours(ellipses.points);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_TRUE(closed(parts[0]));
    EXPECT_TRUE(closed(parts[1]));

    const Read bulges = lire(fixture("dxf/gen_lwpolyline_bulges.dxf"));
    const auto two = contours(bulges.points);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_TRUE(closed(two[0]));
    EXPECT_FALSE(closed(two[1]));
}

TEST(DxfRealFiles, AnEmptyDrawingAndABinaryOneAreRefused)
{
    EXPECT_EQ(lire(fixture("dxf/ezdxf_Minimal_entities_only.dxf")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(fixture("dxf/ezdxf_bin_dxf_r12_BINARY.dxf")).result, VX_ERR_READ);
}

TEST(DxfGeneratedFiles, TheDrawnExtentsAreThoseEzdxfComputes)
{
    std::ifstream expected(fixture("dxf/ezgen_expected.txt"));
    std::string line;
    int files = 0;
    while (std::getline(expected, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        in.imbue(std::locale::classic());
        std::string name;
        Extents want{};
        in >> name >> want.minX >> want.minY >> want.maxX >> want.maxY;
        const Working w = readWorking(vxtest::readBytes(fixture("dxf/" + name)));
        ASSERT_EQ(w.result, 1) << name;
        const Extents got = extentsOf(w.list);
        // Curves are sampled: a chord stays within 5e-4 of its radius.
        EXPECT_NEAR(got.minX, want.minX, 0.01) << name;
        EXPECT_NEAR(got.minY, want.minY, 0.01) << name;
        EXPECT_NEAR(got.maxX, want.maxX, 0.01) << name;
        EXPECT_NEAR(got.maxY, want.maxY, 0.01) << name;
        ++files;
    }
    EXPECT_EQ(files, 3);
}

TEST(DxfGeneratedFiles, AttributedAndNestedInsertsAreDrawnAndTheFirstTextIsTheTitle)
{
    const Read blocks = lire(fixture("dxf/ezgen_blocks.dxf"));
    ASSERT_GT(blocks.result, 0);
    // Three plates (four sides, and two bolts whose line ends on the circle)
    // and the attributed arc; the block on the hidden layer is not drawn.
    EXPECT_EQ(contours(blocks.points).size(), 10u);

    const Read mixed = lire(fixture("dxf/ezgen_mixed.dxf"));
    ASSERT_GT(mixed.result, 0);
    EXPECT_EQ(mixed.title, "MIXED R12\n");
    EXPECT_EQ(contours(mixed.points).size(), 4u);
}
