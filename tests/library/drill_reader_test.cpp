// Drill files: units and number formats, holes as one-point contours, and
// the nearest-neighbour order checked against the plain scan it replaces.
#include "order/drill_order.h"
#include "plain_drill_order.h"
#include "readers/readers.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace vxtest;

namespace {

std::vector<vx::Node> readHoles(const TempDir &dir, const std::string &text, int *result = nullptr)
{
    vx::PointList list;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    const int r = vx::readDrill(dir.write("d.drl", text).c_str(), title, list);
    if (result)
        *result = r;
    return list;
}

void expectSameOrder(const std::vector<vx::Hole> &holes, const std::string &what)
{
    const std::vector<vx::Hole> fast = vx::orderHoles(holes);
    const std::vector<vx::Hole> plain = plainOrder(holes);
    ASSERT_EQ(fast.size(), plain.size()) << what;
    for (size_t i = 0; i < fast.size(); ++i) {
        ASSERT_EQ(fast[i].x, plain[i].x) << what << " at " << i;
        ASSERT_EQ(fast[i].y, plain[i].y) << what << " at " << i;
    }
}

} // namespace

TEST(DrillReader, MetricWithImpliedDecimalsAndTheSixDigitFormat)
{
    TempDir dir;
    const auto five = readHoles(dir, "M48\nMETRIC\n%\nX12500Y8000\n");
    ASSERT_EQ(five.size(), 1u);
    EXPECT_NEAR(five[0].x, 12.5, 1e-5);
    EXPECT_NEAR(five[0].y, 8.0, 1e-5);
    // The factor is the single-precision 0.001, not the exact one.
    EXPECT_EQ(five[0].x, 12500 * static_cast<double>(0.001f));

    const auto six = readHoles(dir, "METRIC\nX012500Y008000\n");
    ASSERT_EQ(six.size(), 1u);
    EXPECT_NEAR(six[0].x, 1.25, 1e-6);
    EXPECT_NEAR(six[0].y, 0.8, 1e-6);
    // Only the first coordinate line decides the format.
    const auto mixed = readHoles(dir, "METRIC\nX12500Y8000\nX020000Y008000\n");
    ASSERT_EQ(mixed.size(), 2u);
    EXPECT_NEAR(mixed[1].x, 20.0, 1e-5);
}

TEST(DrillReader, UnitLinesAndDecimalPoints)
{
    TempDir dir;
    // Inches with four implied decimals by default and after M72 or INCH.
    for (const char *head : {"", "M72\n", "inch\n", "METRIC\nM72\n", "M71\nINCH\n"}) {
        const auto h = readHoles(dir, std::string(head) + "X10000Y-5000\n");
        ASSERT_EQ(h.size(), 1u) << head;
        EXPECT_NEAR(h[0].x, 25.4, 1e-5) << head;
        EXPECT_NEAR(h[0].y, -12.7, 1e-5) << head;
    }
    // "INCH" must be the whole line; "METRIC" only starts it.
    EXPECT_NEAR(readHoles(dir, "METRIC\nINCH,LZ\nX1000Y0\n")[0].x, 1.0, 1e-6);
    EXPECT_NEAR(readHoles(dir, "M71\nX1000Y0\n")[0].x, 1.0, 1e-6);
    EXPECT_NEAR(readHoles(dir, "metric,tz\nX1000Y0\n")[0].x, 1.0, 1e-6);
    // A decimal point anywhere in the first coordinate line: plain units.
    const auto kicad = readHoles(dir, "METRIC,TZ\nX41.7Y-51.7\nX55.Y-52.375\n");
    ASSERT_EQ(kicad.size(), 2u);
    EXPECT_NEAR(kicad[0].x, 41.7, 1e-5);
    EXPECT_NEAR(kicad[1].y, -52.375, 1e-5);
}

TEST(DrillReader, HolesAreOnePointContoursNumberedFromOne)
{
    TempDir dir;
    const auto h = readHoles(dir, "M72\nT1\nX10000Y0\nX20000Y0\r\nX30000Y0\rT2\nX40000Y0\n");
    ASSERT_EQ(h.size(), 4u);
    for (size_t i = 0; i < h.size(); ++i)
        EXPECT_EQ(h[i].contour, static_cast<int32_t>(i + 1));

    // Each becomes a pen-down record with its pen-up partner.
    const Read r = lire(dir.path("d.drl"));
    ASSERT_EQ(r.result, 8);
    EXPECT_EQ(contourCount(r.points), 4);
    EXPECT_EQ(pen(r.points[0]), "PD");
    EXPECT_EQ(pen(r.points[1]), "PU");
    EXPECT_FLOAT_EQ(r.xMax, 76.2f);
}

TEST(DrillReader, LinesWithoutAFollowingYOrNotStartingWithXGiveNoHole)
{
    TempDir dir;
    const auto h = readHoles(dir, "X1000\nX1000 Y2000\nY2000\nT1X1000Y2000\nx1000y2000\nX\nX1000Y\nX1000Y2000\n");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_NEAR(h[0].y, 2000 * 0.00254, 1e-6);
}

TEST(DrillReader, HolesCloserThanATenthAreOneHole)
{
    TempDir dir;
    EXPECT_EQ(readHoles(dir, "METRIC\nX10.0Y10.0\nX10.05Y10.0\n").size(), 1u);
    EXPECT_EQ(readHoles(dir, "METRIC\nX10.0Y10.0\nX10.15Y10.0\n").size(), 2u);
    EXPECT_EQ(lire(dir.write("dup.drl", "METRIC\nX10.0Y10.0\nX10.05Y10.0\n")).result, 2);
}

TEST(DrillReader, ASidewaysHoleIsPreferredWithinATenthOfTheNearest)
{
    TempDir dir;
    // From the first hole, one straight up at 1.0 and one sideways at 1.05.
    auto h = readHoles(dir, "METRIC\nX0.0Y0.0\nX0.0Y1.0\nX1.05Y0.0\n");
    ASSERT_EQ(h.size(), 3u);
    EXPECT_NEAR(h[1].x, 1.05, 1e-6);
    // Farther than a tenth more: the nearest wins.
    h = readHoles(dir, "METRIC\nX0.0Y0.0\nX0.0Y1.0\nX1.2Y0.0\n");
    EXPECT_NEAR(h[1].y, 1.0, 1e-6);
    // A diagonal hole is not sideways.
    h = readHoles(dir, "METRIC\nX0.0Y0.0\nX0.0Y1.0\nX0.75Y0.75\n");
    EXPECT_NEAR(h[1].y, 1.0, 1e-6);
}

TEST(DrillReader, LongLinesAreReadWhole)
{
    TempDir dir;
    // Zero-padded far past the old 254-character line: the Y is still read.
    const auto h = readHoles(dir, "METRIC\nX" + std::string(300, '0') + "12500Y" + std::string(300, '0') + "8000\n");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_NEAR(h[0].y, 8.0, 1e-5);
}

TEST(DrillReader, RealFiles)
{
    // Eagle: inches, implied decimals; KiCad: millimetres with decimal points.
    const Read eagle = lire(fixture("drill/ts_eagle_arduino-uno.drd"));
    ASSERT_EQ(eagle.result, 2 * 169);
    EXPECT_EQ(contourCount(eagle.points), 169);
    EXPECT_NEAR(eagle.xMax, 88.6968 - 24.003, 1e-3);
    EXPECT_NEAR(eagle.yMax, 75.438 - 27.178, 1e-3);

    const Read kicad = lire(fixture("drill/ts_kicad_mchck_metric.drl"));
    ASSERT_EQ(kicad.result, 2 * 73);
    EXPECT_NEAR(kicad.xMax, 73.66 - 40.63, 1e-3);
    EXPECT_NEAR(kicad.yMax, -43.053 - -58.547, 1e-3);

    // Leading zeros, CR LF and LF mixed, "M30" on a line of its own after a
    // lone CR: six-digit first value, so a tenth of the inch unit.
    TempDir dir;
    const auto gerbv = readHoles(dir, readBytes(fixture("drill/gerbv_test-drill-leading-zero-1.drl")));
    ASSERT_EQ(gerbv.size(), 3u);
    EXPECT_NEAR(gerbv[0].x, -1000 * 0.000254, 1e-6);
    EXPECT_NEAR(gerbv[0].y, 30000 * 0.000254, 1e-6);
}

TEST(DrillReader, HostileInputGivesACodeOrASoundResult)
{
    TempDir dir;
    EXPECT_EQ(lire(dir.path("missing.drd")).result, VX_ERR_OPEN);
    EXPECT_EQ(lire(dir.write("empty.drd", "")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("words.drd", "M48\nINCH\nT1C0.1\n%\nM30\n")).result, VX_ERR_NO_POINT);
    // Numbers too large for a drawing or for a double are left out.
    const auto h = readHoles(dir, "X1e300Y0\nX1e400Y0\nXnanYnan\nXinfY0\nX10000Y0\n");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_NEAR(h[0].x, 25.4, 1e-5);

    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>(i % 3 == 0 ? 'X' : (i * 7919) & 0xFF);
    const Read g = lire(dir.write("garbage.drl", garbage));
    EXPECT_TRUE(g.result > 0 || g.result == VX_ERR_NO_POINT);
}

TEST(HoleOrder, MatchesThePlainScanOnRandomBoards)
{
    std::mt19937_64 rng(20240607);
    for (int round = 0; round < 12; ++round) {
        std::uniform_real_distribution<double> spread(0, 60);
        std::uniform_int_distribution<int> grid(0, 30);
        std::uniform_real_distribution<double> jitter(-0.06, 0.06);
        std::vector<vx::Hole> uniform, lattice, tight, rows;
        for (int i = 0; i < 1500; ++i)
            uniform.push_back({spread(rng), spread(rng)});
        // A lattice of 1 mm: many equal distances, duplicates and ties.
        for (int i = 0; i < 1500; ++i)
            lattice.push_back({grid(rng) * 1.0, grid(rng) * 1.0});
        // Holes a tenth apart give and miss duplicates by a hair.
        for (int i = 0; i < 1500; ++i)
            tight.push_back({grid(rng) * 0.1 + jitter(rng) * 0.01, grid(rng) * 0.1});
        // Rows with pitches a little over 1 mm, where sideways holes take
        // over from nearer ones in chains.
        std::uniform_real_distribution<double> pitch(1.0, 1.09);
        for (int r = 0; r < 30; ++r) {
            double x = 0;
            for (int i = 0; i < 50; ++i) {
                rows.push_back({x, r * 1.02 + jitter(rng)});
                x += pitch(rng);
            }
        }
        std::shuffle(rows.begin(), rows.end(), rng);
        expectSameOrder(uniform, "uniform");
        expectSameOrder(lattice, "lattice");
        expectSameOrder(tight, "tight");
        expectSameOrder(rows, "rows");
    }
}

TEST(HoleOrder, EdgeCases)
{
    EXPECT_TRUE(vx::orderHoles({}).empty());
    EXPECT_EQ(vx::orderHoles({{1, 1}}).size(), 1u);
    EXPECT_EQ(vx::orderHoles(std::vector<vx::Hole>(100, {5, 5})).size(), 1u);
    std::vector<vx::Hole> column, farApart;
    for (int i = 0; i < 300; ++i)
        column.push_back({0, (i * 37 % 300) * 0.5});
    for (int i = 0; i < 200; ++i)
        farApart.push_back({(i % 2) * 1e6 + i, (i % 3) * -1e6});
    expectSameOrder(column, "column");
    expectSameOrder(farApart, "far apart");
}
