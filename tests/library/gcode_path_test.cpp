// Where the carriages of a hot-wire machine go: the wire through both faces
// carried to the towers, and the kerf offset of each face.
#include "writers/gcode_path.h"
#include "writer_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using vx::Vec2;

namespace {

constexpr double kEps = 1e-9;

void expectNear(Vec2 actual, Vec2 expected, double eps = kEps)
{
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
}

struct Carriages {
    std::vector<Vec2> first, second;
};

Carriages project(const std::vector<Vec2> &root, const std::vector<Vec2> &tip, const VxMachine &m)
{
    const vx::TowerProjection towers(m);
    Carriages c;
    for (size_t i = 0; i < root.size(); ++i) {
        c.first.push_back(towers.first(root[i], tip[i]));
        c.second.push_back(towers.second(root[i], tip[i]));
    }
    return c;
}

std::vector<Vec2> offset(std::vector<Vec2> face, double kerf)
{
    vx::offsetFace(face, kerf);
    return face;
}

// A square of side 10 run counter-clockwise, closed on its first point.
const std::vector<Vec2> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};

} // namespace

TEST(GCodeProjection, AStraightPanelBetweenTheTowersPutsTheCarriagesOnTheFaces)
{
    const std::vector<Vec2> root = {{0, 0}, {120, 4}, {250, -8}}, tip = {{10, 1}, {100, 5}, {200, -3}};
    const Carriages c = project(root, tip, vxtest::gcodeMachine());
    for (size_t i = 0; i < root.size(); ++i) {
        expectNear(c.first[i], root[i]);
        expectNear(c.second[i], tip[i]);
    }
}

TEST(GCodeProjection, ATaperedPanelMovesTheFarCarriageMoreThanItsFace)
{
    // Root chord 100, tip chord 50, the block from 250 to 750 between towers
    // 1000 apart: the wire's line reaches chord 125 at the first tower and
    // 25 at the second, and rises in proportion.
    VxMachine m = vxtest::gcodeMachine();
    m.rootPos = 250;
    m.span = 500;
    const std::vector<Vec2> root = {{0, 0}, {100, 10}}, tip = {{0, 0}, {50, 20}};
    const Carriages c = project(root, tip, m);
    expectNear(c.first[0], {0, 0});
    expectNear(c.first[1], {125, 5});
    expectNear(c.second[1], {25, 25});

    // Measured from the second tower, the root is near it: the roles swap.
    m.rootSide = 1;
    const Carriages swapped = project(root, tip, m);
    expectNear(swapped.first[1], {25, 25});
    expectNear(swapped.second[1], {125, 5});
}

TEST(GCodeKerf, EachCornerOfASquareMovesRootTwoTimesTheKerfAlongItsBisector)
{
    const double k = 0.5, d = k; // √2·k along the diagonal is k on each axis
    const std::vector<Vec2> out = offset(kSquare, k);
    ASSERT_EQ(out.size(), kSquare.size());
    // Counter-clockwise, the right of travel is outside.
    expectNear(out[1], {10 + d, -d});
    expectNear(out[2], {10 + d, 10 + d});
    expectNear(out[3], {-d, 10 + d});
    EXPECT_NEAR(std::hypot(out[2].x - 10, out[2].y - 10), std::sqrt(2.0) * k, kEps);
    // The ends follow their single segment.
    expectNear(out[0], {0, -k});
    expectNear(out[4], {-k, 0});
}

TEST(GCodeKerf, ANegativeKerfMovesToTheLeftOfTravel)
{
    const std::vector<Vec2> in = offset(kSquare, -0.5);
    expectNear(in[1], {9.5, 0.5});
    expectNear(in[2], {9.5, 9.5});
    expectNear(in[0], {0, 0.5});
    // Running the square the other way turns the same kerf outside.
    const std::vector<Vec2> reversed(kSquare.rbegin(), kSquare.rend());
    expectNear(offset(reversed, -0.5)[1], {-0.5, 10.5});
}

TEST(GCodeKerf, AStraightRunMovesByTheKerfAndASharpCornerByFourTimesAtMost)
{
    const std::vector<Vec2> line = offset({{0, 0}, {5, 0}, {10, 0}}, 1);
    expectNear(line[1], {5, -1});

    // A spike of a few degrees: the miter would reach far beyond the tip.
    const std::vector<Vec2> spike = offset({{0, 0}, {100, 1}, {0, 2}}, 1);
    EXPECT_NEAR(std::hypot(spike[1].x - 100, spike[1].y - 1), 4, kEps);
    EXPECT_GT(spike[1].x, 100); // ahead of the tip, on the bisector

    // Straight back: no bisector, the point goes ahead by the cap.
    const std::vector<Vec2> back = offset({{0, 0}, {10, 0}, {0, 0}}, 1);
    expectNear(back[1], {14, 0});
}

TEST(GCodeKerf, RepeatedPointsStayTogetherAndAPointFaceStaysPut)
{
    const std::vector<Vec2> out = offset({{0, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 10}}, 1);
    ASSERT_EQ(out.size(), 5u);
    expectNear(out[1], {11, -1});
    expectNear(out[2], {11, -1});
    expectNear(out[3], {11, -1});
    // Repeated first and last points take the direction of their neighbour.
    const std::vector<Vec2> ends = offset({{0, 0}, {0, 0}, {10, 0}, {10, 0}}, 1);
    expectNear(ends[0], {0, -1});
    expectNear(ends[1], {0, -1});
    expectNear(ends[3], {10, -1});

    const std::vector<Vec2> point = offset({{3, 4}, {3, 4}, {3, 4}}, 2);
    for (const Vec2 &p : point)
        expectNear(p, {3, 4});
}
