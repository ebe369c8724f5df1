// EcrireGCode and Pt2GCode: the program's exact bytes, its inverse-time
// feeds, and every refusal leaving the target as it was.
#include "writer_test_support.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vxtest;

namespace {

std::vector<ContourPoint> face(const std::vector<std::pair<float, float>> &xy)
{
    std::vector<ContourPoint> pts;
    for (const auto &[x, y] : xy)
        pts.push_back(contourPoint(x, y));
    return pts;
}

// The F word of a G1 line, or -1.
double feedOf(const std::string &line)
{
    const size_t at = line.find(" F");
    return line.starts_with("G1 ") && at != std::string::npos ? std::stod(line.substr(at + 2)) : -1;
}

std::vector<std::string> moveLines(const std::string &bytes)
{
    std::vector<std::string> moves;
    for (const std::string &l : crlfLines(bytes))
        if (l.starts_with("G1 "))
            moves.push_back(l);
    return moves;
}

class GCodeWriter : public ::testing::Test {
protected:
    TempDir dir;
    VxMachine machine = gcodeMachine();
};

} // namespace

TEST_F(GCodeWriter, ASmallTaperedPanelGivesThisProgramByteForByte)
{
    Array root(face({{20, 5}, {10, 5}, {10, 15}})), tip(face({{20, 5}, {15, 5}, {15, 10}}));
    machine.approach = 1;
    machine.heat = 25;
    machine.dwell = 2;
    machine.decimals = 2;
    ASSERT_EQ(ecrireGCode(root, tip, dir.path("p.ngc"), machine), 6);
    // Approach 1 s + 4 s, cut 2 + 2 s, return 3 + 3 s, heating 2 s.
    const std::string expected = "(Decoupe au fil chaud 4 axes XYUV)\r\n"
                                 "(Distance entre les tours : 1000.00 mm)\r\n"
                                 "(Emplanture a 0.00 mm de la tour XY)\r\n"
                                 "(Ecartement emplanture - saumon : 1000.00 mm)\r\n"
                                 "(Vitesse de coupe : 300.00 mm/min)\r\n"
                                 "(Saignee : emplanture 0.00 mm, saumon 0.00 mm)\r\n"
                                 "(Chauffe : S25.00, attente 2.00 s)\r\n"
                                 "(Points par face : 3)\r\n"
                                 "(Longueur de coupe : emplanture 20.00 mm, saumon 10.00 mm)\r\n"
                                 "(Duree estimee : 0 min 17 s)\r\n"
                                 "G21 G90 G17\r\n"
                                 "(AXIS,XY_Z_POS,0.00)\r\n"
                                 "(AXIS,UV_Z_POS,1000.00)\r\n"
                                 "M3 S25.00\r\n"
                                 "G4 P2.00\r\n"
                                 "G94\r\n"
                                 "G1 Y5.00 V5.00 F300.00\r\n"
                                 "G1 X20.00 U20.00 F300.00\r\n"
                                 "G93\r\n"
                                 "G1 X10.00 Y5.00 U15.00 V5.00 F30.00\r\n"
                                 "G1 X10.00 Y15.00 U15.00 V10.00 F30.00\r\n"
                                 "G94\r\n"
                                 "G1 X0.00 U0.00 F300.00\r\n"
                                 "G1 Y0.00 V0.00 F300.00\r\n"
                                 "M5\r\n"
                                 "M2\r\n";
    EXPECT_EQ(readBytes(dir.path("p.ngc")), expected);

    // The sequence twin writes the same bytes.
    Array seqRoot(std::vector<SequencePoint>{sequencePoint(20, 5, 0), sequencePoint(10, 5, 0), sequencePoint(10, 15, 1)});
    Array seqTip(std::vector<SequencePoint>{sequencePoint(20, 5, 0), sequencePoint(15, 5, 0), sequencePoint(15, 10, 0)});
    ASSERT_EQ(pt2GCode(seqRoot, seqTip, dir.path("s.ngc"), machine), 6);
    EXPECT_EQ(readBytes(dir.path("s.ngc")), expected);
}

TEST_F(GCodeWriter, WithoutHeatOrApproachTheCutStartsWithOneMoveToTheFirstPoint)
{
    Array root(face({{0, 0}, {30, 40}})), tip(face({{0, 0}, {30, 40}}));
    std::memcpy(machine.axes, "XYZA", 5);
    machine.decimals = 0;
    ASSERT_EQ(ecrireGCode(root, tip, dir.path("p.nc"), machine), 2);
    const std::vector<std::string> lines = crlfLines(readBytes(dir.path("p.nc")));
    const std::vector<std::string> body(lines.begin() + 10, lines.end());
    // No preview comments for axes LinuxCNC's foam preview does not draw.
    EXPECT_EQ(body, (std::vector<std::string>{"G21 G90 G17", "G94", "G1 X0 Y0 Z0 A0 F300", "G93",
                                              "G1 X30 Y40 Z30 A40 F6.00", "M2"}));
    EXPECT_EQ(lines[6], "(Chauffe : sans commande)");
}

TEST_F(GCodeWriter, InverseTimeFeedsMakeTheFasterFaceMoveAtTheFeed)
{
    // Root segments 10, 0 and 20 long; tip segments 4, 5 and 0.
    Array root(face({{0, 0}, {10, 0}, {10, 0}, {10, 20}})), tip(face({{0, 0}, {4, 0}, {4, 5}, {4, 5}}));
    machine.feed = 250;
    ASSERT_EQ(ecrireGCode(root, tip, dir.path("f.ngc"), machine), 4);
    const std::vector<std::string> moves = moveLines(readBytes(dir.path("f.ngc")));
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_DOUBLE_EQ(feedOf(moves[1]), 25.0);  // root 10
    EXPECT_DOUBLE_EQ(feedOf(moves[2]), 50.0);  // tip 5, the root stands still
    EXPECT_DOUBLE_EQ(feedOf(moves[3]), 12.5);  // root 20
    // A slow feed keeps three significant digits when no decimals are asked for.
    machine.decimals = 0;
    machine.feed = 0.0625f;
    ASSERT_EQ(ecrireGCode(root, tip, dir.path("s.ngc"), machine), 4);
    EXPECT_EQ(moveLines(readBytes(dir.path("s.ngc")))[0], "G1 X0 Y0 U0 V0 F0.0625");
    machine.decimals = 3;
    // Long, slow moves keep three significant digits.
    Array longRoot(face({{0, 0}, {30000, 0}})), longTip(face({{0, 0}, {30000, 0}}));
    machine.feed = 1;
    ASSERT_EQ(ecrireGCode(longRoot, longTip, dir.path("l.ngc"), machine), 2);
    EXPECT_EQ(moveLines(readBytes(dir.path("l.ngc")))[1], "G1 X30000.000 Y0.000 U30000.000 V0.000 F0.0000333");
}

TEST_F(GCodeWriter, AMoveOfZeroLengthOnBothFacesIsLeftOut)
{
    // The second point repeats the first on both faces; the third repeats
    // it on the root only.
    Array root(face({{0, 0}, {0, 0}, {0, 0}, {10, 0}})), tip(face({{0, 0}, {0, 0}, {0, 6}, {8, 6}}));
    ASSERT_EQ(ecrireGCode(root, tip, dir.path("z.ngc"), machine), 3);
    const std::vector<std::string> moves = moveLines(readBytes(dir.path("z.ngc")));
    EXPECT_EQ(moves[1], "G1 X0.000 Y0.000 U0.000 V6.000 F50.000");
    EXPECT_EQ(moves[2], "G1 X10.000 Y0.000 U8.000 V6.000 F30.000");
    // Differences below the last decimal are no move either; the next move
    // counts the face's way from the last point written.
    Array fine(face({{0, 0}, {0.0001f, 0}, {3, 0}})), same(face({{0, 0}, {0.0001f, 0}, {3, 0}}));
    ASSERT_EQ(ecrireGCode(fine, same, dir.path("r.ngc"), machine), 2);
    EXPECT_EQ(moveLines(readBytes(dir.path("r.ngc")))[1], "G1 X3.000 Y0.000 U3.000 V0.000 F100.000");
}

TEST_F(GCodeWriter, EveryRefusalGivesItsCodeAndLeavesTheFileAsItWas)
{
    const std::string target = dir.write("old.ngc", "old program\r\n");
    Array root(face({{0, 0}, {10, 0}, {10, 10}})), tip(face({{0, 0}, {10, 0}, {10, 10}}));
    auto refused = [&](Array &r, Array &t, const VxMachine &m) {
        const int32_t code = ecrireGCode(r, t, target, m);
        EXPECT_EQ(readBytes(target), "old program\r\n") << code;
        EXPECT_EQ(r.get()->locks, 0);
        return code;
    };
    auto with = [&](auto change) {
        VxMachine m = gcodeMachine();
        change(m);
        return refused(root, tip, m);
    };
    constexpr float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();

    Array shorter(face({{0, 0}, {10, 0}}));
    EXPECT_EQ(refused(root, shorter, machine), VX_ERR_GCODE_COUNTS);
    Array one(face({{1, 1}})), oneTip(face({{1, 1}}));
    EXPECT_EQ(refused(one, oneTip, machine), VX_ERR_GCODE_TOO_FEW);
    Array flat(face({{4, 4}, {4, 4}, {4, 4}})), flatTip(face({{4, 4}, {4, 4}, {4, 4}}));
    EXPECT_EQ(refused(flat, flatTip, machine), VX_ERR_GCODE_TOO_FEW);
    Array wrongSize(std::vector<SequencePoint>{sequencePoint(0, 0, 0), sequencePoint(1, 0, 0), sequencePoint(1, 1, 0)});
    EXPECT_EQ(refused(root, wrongSize, machine), VX_ERR_ARRAY_LOCK);

    EXPECT_EQ(with([](VxMachine &m) { m.span = 0; }), VX_ERR_GCODE_SPAN);
    EXPECT_EQ(with([](VxMachine &m) { m.towers = -5; }), VX_ERR_GCODE_SPAN);
    EXPECT_EQ(with([](VxMachine &m) { m.rootPos = 1; }), VX_ERR_GCODE_FACE); // the tip beyond the second tower
    EXPECT_EQ(with([](VxMachine &m) { m.rootPos = -1, m.span = 10; }), VX_ERR_GCODE_FACE);
    EXPECT_EQ(with([](VxMachine &m) { m.limits[2] = -5, m.limits[3] = 5; }), VX_ERR_GCODE_LIMITS);
    // The approach starts from the origin, which must be within reach too.
    Array inside(face({{5, 0}, {10, 0}, {10, 10}})), insideTip(face({{5, 0}, {10, 0}, {10, 10}}));
    VxMachine limited = gcodeMachine();
    limited.limits[0] = 1;
    limited.limits[1] = 20;
    EXPECT_EQ(ecrireGCode(inside, insideTip, dir.path("in.ngc"), limited), 3);
    limited.approach = 1;
    EXPECT_EQ(refused(inside, insideTip, limited), VX_ERR_GCODE_LIMITS);
    for (auto bad : std::vector<void (*)(VxMachine &)>{
             [](VxMachine &m) { m.size = 8; },          [](VxMachine &m) { m.feed = 0; },
             [](VxMachine &m) { m.feed = -300; },       [](VxMachine &m) { m.feed = 2e5f; },
             [](VxMachine &m) { m.heat = 1e30f; },      [](VxMachine &m) { m.dwell = 4000; },
             [](VxMachine &m) { m.towers = 1e6f, m.span = 1e6f; }, [](VxMachine &m) { m.span = nan; },
             [](VxMachine &m) { m.kerfTip = inf; },     [](VxMachine &m) { m.heat = -1; },
             [](VxMachine &m) { m.dwell = nan; },       [](VxMachine &m) { m.rootSide = 2; },
             [](VxMachine &m) { m.approach = -1; },     [](VxMachine &m) { m.decimals = 7; },
             [](VxMachine &m) { m.decimals = -1; },     [](VxMachine &m) { std::memcpy(m.axes, "XYAB", 5); },
             [](VxMachine &m) { std::memset(m.axes, 'X', 8); }, [](VxMachine &m) { m.limits[4] = 3, m.limits[5] = 2; },
             [](VxMachine &m) { m.limits[7] = nan; }})
        EXPECT_EQ(with(bad), VX_ERR_GCODE_MACHINE);
    std::string name = target;
    char *namePtr = name.data();
    EXPECT_EQ(EcrireGCode(root.ref(), tip.ref(), &namePtr, nullptr), VX_ERR_GCODE_MACHINE);

    Array holed(face({{0, 0}, {nan, 0}, {10, 10}}));
    EXPECT_EQ(refused(holed, tip, machine), VX_ERR_GCODE_POINT);
    // A block a hair thick between distant towers throws the wire out of reach.
    Array leaning(face({{0, 0}, {10, 0}, {10, 11}}));
    VxMachine thin = gcodeMachine();
    thin.span = 1e-4f;
    thin.rootPos = 500;
    EXPECT_EQ(refused(root, leaning, thin), VX_ERR_GCODE_POINT);
    Array far(face({{0, 0}, {3e38f, 0}, {10, 10}}));
    EXPECT_EQ(refused(far, tip, machine), VX_ERR_GCODE_POINT);

    EXPECT_EQ(ecrireGCode(root, tip, dir.path("missing/p.ngc"), machine), VX_ERR_CREATE);
    std::string empty;
    char *emptyPtr = empty.data();
    EXPECT_EQ(EcrireGCode(root.ref(), tip.ref(), &emptyPtr, &machine), VX_ERR_CREATE);
    EXPECT_EQ(EcrireGCode(root.ref(), tip.ref(), nullptr, &machine), VX_ERR_CREATE);
}
