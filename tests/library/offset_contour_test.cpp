// Offset contours (DecalSequence, SeqOffset): loops at the offset distance on
// the right side, passes, keep points, bounds on endless passes, and hostile
// input.
#include "tools/offset_raw.h"
#include "foundation/point_list.h"
#include "test_support.h"
#include "foundation/vx_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using namespace vxtest;

namespace {

using Shape = std::vector<std::pair<double, double>>;

// A closed contour: the first point repeated at the end.
std::vector<ContourPoint> contour(const Shape &s, const char *tagName = " A")
{
    std::vector<ContourPoint> p;
    for (const auto &[x, y] : s)
        p.push_back(contourPoint(static_cast<float>(x), static_cast<float>(y), tagName));
    p.push_back(p.front());
    return p;
}

Shape square(double x, double y, double side) { return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}}; }

Shape star(int tips, double outer, double inner, double phase = 0)
{
    Shape s;
    for (int i = 0; i < 2 * tips; ++i) {
        const double a = phase + i * std::numbers::pi / tips;
        const double r = i % 2 ? inner : outer;
        s.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return s;
}

// A random star-shaped polygon: simple, counter-clockwise.
Shape blob(std::mt19937 &rng, int n)
{
    std::uniform_real_distribution<double> r(20, 40);
    Shape s;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        const double radius = r(rng);
        s.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    return s;
}

struct Offset {
    int32_t result = 0;
    std::vector<ContourPoint> points;
};

Offset decaler(const std::vector<ContourPoint> &in, float offset, int32_t overlap = -1, float tolerance = 0.01f)
{
    Array a(in);
    Offset o;
    o.result = DecalSequence(a.ref(), &tolerance, &offset, &overlap);
    o.points = a.items<ContourPoint>();
    return o;
}

double distanceToContour(const Shape &s, double x, double y)
{
    double best = std::numeric_limits<double>::max();
    for (size_t i = 0; i < s.size(); ++i) {
        const auto &[ax, ay] = s[i];
        const auto &[bx, by] = s[(i + 1) % s.size()];
        best = std::min(best, vx::squaredDistanceToChord(x, y, ax, ay, bx, by, 1e-300));
    }
    return std::sqrt(best);
}

bool insideContour(const Shape &s, double x, double y)
{
    std::vector<vx::Node> nodes;
    for (const auto &[px, py] : s)
        nodes.push_back(vx::Node{px, py, 0, 0});
    return vx::pointInContour(nodes, x, y);
}

std::vector<std::pair<size_t, size_t>> contoursOf(const std::vector<ContourPoint> &p)
{
    std::vector<std::pair<size_t, size_t>> out;
    for (size_t i = 0; i < p.size(); ++i) {
        if (i == 0 || tag(p[i]) != tag(p[i - 1]))
            out.push_back({i, i});
        out.back().second = i + 1;
    }
    return out;
}

// Every loop point lies at the offset distance from the source, on the side
// the sign gives, and every loop is closed.
void expectOffsetOf(const Shape &source, const Offset &o, double d, double tol)
{
    ASSERT_GT(o.result, 0);
    ASSERT_EQ(static_cast<size_t>(o.result), contoursOf(o.points).size());
    for (const auto &[from, to] : contoursOf(o.points)) {
        EXPECT_EQ(o.points[from].X, o.points[to - 1].X);
        EXPECT_EQ(o.points[from].Y, o.points[to - 1].Y);
    }
    for (const ContourPoint &p : o.points) {
        EXPECT_NEAR(distanceToContour(source, p.X, p.Y), std::fabs(d), 2 * tol + 1e-3) << p.X << " " << p.Y;
        EXPECT_EQ(insideContour(source, p.X, p.Y), d < 0) << p.X << " " << p.Y;
    }
}

class OffsetFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }
};

} // namespace

TEST(Offset, NothingToDoLeavesTheArrayAsItWas)
{
    const std::vector<ContourPoint> in = contour(square(0, 0, 10));
    const Offset zero = decaler(in, 0.0f);
    EXPECT_EQ(zero.result, 1);
    ASSERT_EQ(zero.points.size(), in.size());
    EXPECT_EQ(zero.points[1].X, 10.0f);
    EXPECT_EQ(decaler({contourPoint(1, 1)}, 2.0f).result, 1);
}

TEST(Offset, ASquareGrowsWithRoundCornersAndShrinksWithSharpOnes)
{
    const Shape sq = square(0, 0, 10);
    const Offset out = decaler(contour(sq), 1.0f);
    expectOffsetOf(sq, out, 1.0, 0.01);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(tag(out.points[0]), " B");
    EXPECT_EQ(pen(out.points[0]), "PD");
    EXPECT_GT(out.points.size(), 20u); // arcs at the corners

    const Offset in = decaler(contour(sq), -1.0f);
    expectOffsetOf(sq, in, -1.0, 0.01);
    EXPECT_EQ(in.points.size(), 5u);
}

TEST(Offset, StarsAndRandomShapesStayAtTheOffsetOnTheRightSide)
{
    const Shape st = star(5, 10, 4, 0.3);
    expectOffsetOf(st, decaler(contour(st), 1.5f), 1.5, 0.01);
    expectOffsetOf(st, decaler(contour(st), -1.0f), -1.0, 0.01);
    std::mt19937 rng(17);
    for (int round = 0; round < 40; ++round) {
        const Shape b = blob(rng, 8 + round * 3);
        const float d = round % 2 ? 2.5f : -1.5f;
        SCOPED_TRACE(round);
        expectOffsetOf(b, decaler(contour(b), d), d, 0.01);
    }
}

TEST(Offset, AClockwiseContourSwapsTheSides)
{
    Shape sq = square(0, 0, 10);
    std::reverse(sq.begin(), sq.end());
    const Offset o = decaler(contour(sq), 1.0f);
    ASSERT_EQ(o.result, 1);
    for (const ContourPoint &p : o.points)
        EXPECT_TRUE(insideContour(sq, p.X, p.Y));
}

TEST(Offset, ANarrowNeckSplitsTheInwardOffsetInTwo)
{
    const Shape dumbbell = {{0, 0}, {10, 0}, {10, 4}, {20, 4}, {20, 0}, {30, 0}, {30, 10},
                            {20, 10}, {20, 6}, {10, 6}, {10, 10}, {0, 10}};
    const Offset o = decaler(contour(dumbbell), -2.5f);
    EXPECT_EQ(o.result, 2);
    expectOffsetOf(dumbbell, o, -2.5, 0.01);
}

TEST(Offset, AnOffsetWiderThanTheShapeGivesNothingAndKeepsTheArray)
{
    const std::vector<ContourPoint> in = contour(square(0, 0, 10));
    const Offset o = decaler(in, -6.0f);
    EXPECT_EQ(o.result, 0);
    ASSERT_EQ(o.points.size(), in.size());
    EXPECT_EQ(tag(o.points[0]), " A");
}

TEST(Offset, OverlapMinusOneMakesOnePassAndAnOverlapStepsInwards)
{
    const std::vector<ContourPoint> in = contour(square(0, 0, 20));
    EXPECT_EQ(decaler(in, 1.0f, -1).result, 1);
    // Passes at 1, 3, 5, 7 and 9 inside the square (step 2 at overlap 0),
    // whichever way the square ran.
    const Offset passes = decaler(in, 1.0f, 0);
    EXPECT_EQ(passes.result, 5);
    const Offset half = decaler(in, 1.0f, 50);
    EXPECT_EQ(half.result, 10);
    // Overlap 100 or more: one pass.
    EXPECT_EQ(decaler(in, 1.0f, 100).result, 1);
}

TEST(Offset, PassesThatWouldNeverEndStopWhereNoLoopFitsTheBox)
{
    // An island keeps yielding outward rings; an open line keeps yielding
    // parallels.
    std::vector<ContourPoint> pocket = contour(square(0, 0, 40));
    for (const ContourPoint &p : contour(square(18, 18, 4), " B"))
        pocket.push_back(p);
    const Offset o = decaler(pocket, 1.0f, 50);
    ASSERT_GT(o.result, 10);
    for (const ContourPoint &p : o.points) {
        EXPECT_GE(p.X, -1.001f);
        EXPECT_LE(p.X, 41.001f);
    }
    // Inside an open U: parallels 2 apart until they no longer fit.
    const Offset u = decaler({contourPoint(0, 100), contourPoint(0, 0), contourPoint(100, 0), contourPoint(100, 100)},
                             -1.0f, 0);
    EXPECT_EQ(u.result, 25);
    for (const ContourPoint &p : u.points) {
        EXPECT_GE(p.X, 0.999f);
        EXPECT_LE(p.X, 99.001f);
    }
    // A straight line's parallels never fit inside its box: one pass.
    EXPECT_EQ(decaler({contourPoint(0, 0), contourPoint(100, 0)}, 1.0f, 0).result, 1);
}

TEST(Offset, KeepPointsGiveSharpMarkedCorners)
{
    std::vector<ContourPoint> in = contour(square(0, 0, 10));
    in[2] = contourPoint(10, 10, " A", "PC");
    const Offset o = decaler(in, 1.0f);
    ASSERT_EQ(o.result, 1);
    int marked = 0;
    for (const ContourPoint &p : o.points)
        if (pen(p) == "PC") {
            ++marked;
            EXPECT_NEAR(distanceToContour(square(0, 0, 10), p.X, p.Y), 1.0, 1e-4);
        }
    EXPECT_EQ(marked, 2);
}

TEST(Offset, SequenceRecordsAreNumberedFromOne)
{
    std::vector<SequencePoint> in;
    for (const auto &[x, y] : square(0, 0, 10))
        in.push_back(SequencePoint{static_cast<float>(x), static_cast<float>(y), 0, 3});
    in.push_back(in.front());
    in[1].Mark = 4;
    Array a(in);
    float tol = 0.01f, d = 1;
    int32_t overlap = -1;
    ASSERT_EQ(SeqOffset(a.ref(), &tol, &d, &overlap), 1);
    const auto out = a.items<SequencePoint>();
    EXPECT_EQ(out.front().Sequence, 1);
    EXPECT_EQ(std::count_if(out.begin(), out.end(), [](const SequencePoint &p) { return p.Mark == 4; }), 2);
}

TEST(Offset, NonFiniteInputNeverHarms)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<ContourPoint> in = contour(square(0, 0, 10));
    in.insert(in.begin() + 2, contourPoint(nan, 3));
    in.insert(in.begin() + 4, contourPoint(5, inf));
    const Offset o = decaler(in, 1.0f);
    ASSERT_EQ(o.result, 1);
    for (const ContourPoint &p : o.points)
        EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
    EXPECT_EQ(decaler(in, inf).result, 0);
    EXPECT_EQ(decaler(in, nan).result, 0);
    EXPECT_EQ(decaler(in, 1.0f, -1, nan).result, 1);
    EXPECT_EQ(decaler({contourPoint(nan, nan), contourPoint(inf, 0)}, 1.0f).result, 0);
    Array a(contour(square(0, 0, 10)));
    EXPECT_EQ(DecalSequence(a.ref(), nullptr, nullptr, nullptr), 1);
}

TEST(Offset, AnOffsetLostInTheRoundingOfHugeCoordinatesGivesNothingAtOnce)
{
    // Found by fuzzing: coordinates near 2e24 with an offset of 2 and passes
    // spun for seconds on arcs that all rounded to one point.
    std::vector<ContourPoint> in = {contourPoint(-2.1e24f, -2.2e24f), contourPoint(-2.2e24f, -2.2e24f),
                                    contourPoint(0, 0), contourPoint(0, 11), contourPoint(10, 0)};
    const Offset o = decaler(in, 2.0f, 0, 0.0f);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.points.size(), in.size());
}

TEST(Offset, LoopsBeyondTheRangeOfFloatsAreNotWritten)
{
    // Found by fuzzing: an offset of -2.5e38 around points near -1.7e38 gave
    // infinite coordinates.
    const std::vector<ContourPoint> in = contour(square(-1.7e38, 0, 10));
    const Offset o = decaler(in, -2.5e38f);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.points.size(), in.size());
    EXPECT_EQ(decaler(contour(square(3e38, 3e38, 1e37)), 1e38f).result, 0);
}

TEST(Offset, PassesBeyondAnyUseEndWithACodeAndKeepTheArray)
{
    // Found by fuzzing: coordinates of some 1e9 with an offset of 2 and
    // overlap 0 asked for millions of passes.
    const std::vector<ContourPoint> in = contour(square(0, 0, 1e7));
    const Offset o = decaler(in, 1.0f, 0);
    EXPECT_EQ(o.result, VX_ERR_MEMORY);
    EXPECT_EQ(o.points.size(), in.size());
}

TEST(LoopCutting, AFigureEightBecomesTwoLoops)
{
    std::vector<vx::Node> eight;
    for (const auto &[x, y] : Shape{{0, 0}, {10, 10}, {10, 0}, {0, 10}, {0, 0}})
        eight.push_back(vx::Node{x, y, 0, 0});
    const auto loops = vx::cutLoops(eight, true, [](const std::vector<vx::Node> &) { return true; });
    ASSERT_EQ(loops.size(), 2u);
    for (const auto &loop : loops) {
        EXPECT_EQ(loop.front().x, loop.back().x);
        EXPECT_EQ(loop.front().y, loop.back().y);
        EXPECT_EQ(loop.size(), 4u);
    }
}

TEST_F(OffsetFailures, EachResizeStepReportsItsCode)
{
    const std::vector<ContourPoint> in = contour(square(0, 0, 10));
    Array a(in);
    float tol = 0.01f, d = 1;
    int32_t overlap = -1;
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(DecalSequence(a.ref(), &tol, &d, &overlap), VX_ERR_ARRAY_LOCK);
    vx::testing::failArrayStep(vx::ArrayStep::Free);
    EXPECT_EQ(DecalSequence(a.ref(), &tol, &d, &overlap), VX_ERR_ARRAY_FREE);
    EXPECT_EQ(a.get()->count, 5);
    EXPECT_EQ(a.items<ContourPoint>()[1].X, 10.0f);
    vx::testing::failArrayStep(vx::ArrayStep::Alloc);
    EXPECT_EQ(DecalSequence(a.ref(), &tol, &d, &overlap), VX_ERR_ARRAY_ALLOC);
    EXPECT_EQ(a.get()->data, nullptr);
    EXPECT_EQ(a.get()->locks, 0);
}
