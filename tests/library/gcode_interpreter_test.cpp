// Written programs read by LinuxCNC's own interpreter: the moves it makes
// are the wire's line carried to the towers, at the speeds asked for.
#include "writer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

using namespace vxtest;

namespace {

struct Move {
    double x, y, u, v, minutes;
};

struct Interpreted {
    int status = -1;
    std::vector<Move> moves;
    std::string error;
};

Interpreted interpret(const TempDir &dir, const std::string &program)
{
    const std::string out = dir.path("moves.txt"), err = dir.path("interpreter.txt");
    const std::string cmd = std::string(ORVALIS_SYSTEM_PYTHON) + " '" + ORVALIS_LINUXCNC_MOVES + "' '" + program +
                            "' >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(cmd.c_str());
    Interpreted r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.error = readBytes(err);
    std::istringstream in(readBytes(out));
    Move m;
    while (in >> m.x >> m.y >> m.u >> m.v >> m.minutes)
        r.moves.push_back(m);
    return r;
}

// A thin symmetric profile from its trailing edge round and back, `chord`
// long, raised by `lift`.
std::vector<ContourPoint> profile(double chord, double lift, int n)
{
    std::vector<ContourPoint> pts;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * M_PI * i / n;
        pts.push_back(contourPoint(static_cast<float>(chord * (1 + std::cos(a)) / 2),
                                   static_cast<float>(lift + chord * 0.06 * std::sin(a))));
    }
    return pts;
}

// Where the wire through the two faces meets plane z, z measured from the first tower.
double along(double rootValue, double tipValue, double rootZ, double tipZ, double z)
{
    return rootValue + (tipValue - rootValue) * (z - rootZ) / (tipZ - rootZ);
}

void expectMove(const Move &actual, double x, double y, double u, double v, const std::string &what)
{
    constexpr double eps = 2e-4; // four decimals written, read back through inches
    EXPECT_NEAR(actual.x, x, eps) << what;
    EXPECT_NEAR(actual.y, y, eps) << what;
    EXPECT_NEAR(actual.u, u, eps) << what;
    EXPECT_NEAR(actual.v, v, eps) << what;
}

class GCodeInterpreter : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(GCodeInterpreter, LinuxCncMovesTheCarriagesAlongTheWireAtTheFeedOfTheFasterFace)
{
    const int rootSide = GetParam();
    const std::vector<ContourPoint> r = profile(200, 20, 36), t = profile(120, 35, 36);
    Array root(r), tip(t);
    VxMachine m = gcodeMachine();
    m.towers = 800;
    m.rootPos = 100;
    m.span = 500;
    m.rootSide = rootSide;
    m.approach = 1;
    m.heat = 30;
    m.dwell = 1.5f;
    m.decimals = 4;
    TempDir dir;
    const std::string program = dir.path("panel.ngc");
    ASSERT_EQ(ecrireGCode(root, tip, program, m), 2 + 36 + 2);

    const Interpreted run = interpret(dir, program);
    if (run.status == 77 || run.status == 127)
        GTEST_SKIP() << "LinuxCNC's interpreter is not available: " << run.error;
    ASSERT_EQ(run.status, 0) << run.error;
    ASSERT_EQ(run.moves.size(), 40u) << run.error;

    const double rootZ = rootSide == 0 ? 100 : 700, tipZ = rootSide == 0 ? 600 : 200;
    auto carriages = [&](size_t i) {
        return std::array<double, 4>{along(r[i].X, t[i].X, rootZ, tipZ, 0), along(r[i].Y, t[i].Y, rootZ, tipZ, 0),
                                     along(r[i].X, t[i].X, rootZ, tipZ, 800), along(r[i].Y, t[i].Y, rootZ, tipZ, 800)};
    };
    // Up from the origin, then across to the first point.
    const auto first = carriages(0);
    expectMove(run.moves[0], 0, first[1], 0, first[3], "up");
    expectMove(run.moves[1], first[0], first[1], first[2], first[3], "across");
    EXPECT_NEAR(run.moves[0].minutes, first[1] / 300, 1e-6);
    for (size_t i = 1; i < r.size(); ++i) {
        const auto c = carriages(i);
        const Move &mv = run.moves[1 + i];
        expectMove(mv, c[0], c[1], c[2], c[3], "point " + std::to_string(i));
        const double rootMove = std::hypot(r[i].X - r[i - 1].X, r[i].Y - r[i - 1].Y);
        const double tipMove = std::hypot(t[i].X - t[i - 1].X, t[i].Y - t[i - 1].Y);
        EXPECT_NEAR(mv.minutes / (std::max(rootMove, tipMove) / 300), 1, 1e-3) << "point " << i;
    }
    const auto last = carriages(r.size() - 1);
    expectMove(run.moves[38], 0, last[1], 0, last[3], "back across");
    expectMove(run.moves[39], 0, 0, 0, 0, "down");
}

INSTANTIATE_TEST_SUITE_P(RootSides, GCodeInterpreter, ::testing::Values(0, 1),
                         [](const auto &info) { return info.param == 0 ? "RootAtTheFirstTower" : "RootAtTheSecondTower"; });
