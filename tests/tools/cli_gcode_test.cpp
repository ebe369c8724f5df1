// The vextra tool's gcode command: a program for a 4-axis hot-wire machine
// from two profile files, its options and its refusals.
#include "tool_test_support.h"

using namespace tooltest;

namespace {

class CliGCode : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        root = write("root.dat", "Emplanture\n100 0\n50 8\n0 0\n50 -4\n100 0\n");
        tip = write("tip.dat", "Saumon\n60 0\n30 5\n0 0\n30 -2\n60 0\n");
    }

    // Runs gcode on the two profiles with the panel's placing and `extra`.
    int gcode(const std::vector<std::string> &extra, const std::string &output = "p.ngc")
    {
        std::vector<std::string> args = {"gcode", root, tip, path(output), "--towers", "800", "--root-pos", "0",
                                         "--span", "800"};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }

    // The G1 lines of the written program.
    std::vector<std::string> moves(const std::string &output = "p.ngc") const
    {
        std::vector<std::string> lines;
        std::istringstream in(readBytes(path(output)));
        std::string l;
        while (std::getline(in, l))
            if (l.starts_with("G1 "))
                lines.push_back(l.substr(0, l.size() - 1));
        return lines;
    }

    std::string root, tip;
};

} // namespace

TEST_F(CliGCode, WritesTheProgramAndTellsMovesLengthAndTime)
{
    ASSERT_EQ(gcode({}), 0) << err;
    // Up, across, four cut moves, back across, down.
    EXPECT_EQ(out, path("p.ngc") + " : 8 mouvements écrits\n"
                                   "Longueur de coupe : emplanture 201.591 mm, saumon 120.961 mm\n"
                                   "Durée estimée : 1 min 22 s\n");
    EXPECT_TRUE(err.empty()) << err;
    const std::string program = readBytes(path("p.ngc"));
    EXPECT_NE(program.find("(AXIS,UV_Z_POS,800.000)\r\n"), std::string::npos);
    EXPECT_EQ(program.find("M3"), std::string::npos); // no heat unless asked
    // The profiles are read shifted to the origin: the root's trailing edge
    // is at (100, 4), the tip's at (60, 2).
    EXPECT_EQ(moves()[1], "G1 X100.000 U60.000 F300.000");
}

TEST_F(CliGCode, OptionsReachTheProgram)
{
    ASSERT_EQ(gcode({"--tip-shift", "10,-1.5", "--axes", "XYZA", "--no-approach", "--decimals", "1", "--feed", "150",
                     "--heat", "45", "--dwell", "3", "--kerf-root", "0.4", "--kerf-tip", "0.6", "--root-side", "2"}),
              0)
        << err;
    const std::string program = readBytes(path("p.ngc"));
    for (const char *line : {"(Emplanture a 0.0 mm de la tour ZA)\r\n", "(Vitesse de coupe : 150.0 mm/min)\r\n",
                             "(Saignee : emplanture 0.4 mm, saumon 0.6 mm)\r\n", "M3 S45.0\r\nG4 P3.0\r\n"})
        EXPECT_NE(program.find(line), std::string::npos) << line;
    EXPECT_EQ(program.find("AXIS,"), std::string::npos);
    // The root on the second tower: the shifted tip, offset by its kerf,
    // drives the first carriage.
    EXPECT_EQ(moves()[0], "G1 X70.1 Y1.1 Z100.1 A4.4 F150.0");

    // The sharp nose moves 4 kerfs ahead: 2 mm before X = 0.
    ASSERT_EQ(gcode({"--kerf", "0.5", "--limits", "-2:200,-1:50,-2:200,-1:50"}, "k.ngc"), 0) << err;
    EXPECT_NE(readBytes(path("k.ngc")).find("(Saignee : emplanture 0.500 mm, saumon 0.500 mm)"), std::string::npos);
}

TEST_F(CliGCode, ALibraryRefusalExitsWithOneAndLeavesTheFileAlone)
{
    write("p.ngc", "ancien\n");
    EXPECT_EQ(gcode({"--limits", "0:50,0:0,0:0,0:0"}), 1);
    EXPECT_EQ(err, "vextra : " + path("p.ngc") + " : un chariot sortirait des limites de ses axes (code -128)\n");
    EXPECT_EQ(run({"gcode", root, tip, path("p.ngc"), "--towers", "800", "--root-pos", "100", "--span", "800"}), 1);
    EXPECT_NE(err.find("une face du bloc est en dehors des tours (code -127)"), std::string::npos) << err;
    EXPECT_EQ(gcode({"--feed", "0"}), 1);
    EXPECT_NE(err.find("description de la machine invalide (code -129)"), std::string::npos) << err;
    const std::string shorter = write("short.dat", "Court\n1 0\n0 0\n1 1\n");
    EXPECT_EQ(run({"gcode", root, shorter, path("p.ngc"), "--towers", "8", "--root-pos", "0", "--span", "8"}), 1);
    EXPECT_NE(err.find("n'ont pas le même nombre de points (code -124)"), std::string::npos) << err;
    EXPECT_EQ(run({"gcode", path("absent.dat"), tip, path("p.ngc"), "--towers", "8", "--root-pos", "0", "--span", "8"}),
              1);
    EXPECT_NE(err.find("ouverture du fichier impossible (code -105)"), std::string::npos) << err;
    EXPECT_EQ(readBytes(path("p.ngc")), "ancien\n");
    EXPECT_TRUE(out.empty()) << out;
}

TEST_F(CliGCode, AMalformedCommandExitsWithTwo)
{
    EXPECT_EQ(run({"gcode", root, tip, path("p.ngc"), "--towers", "800", "--span", "300"}), 2);
    EXPECT_NE(err.find("gcode attend --towers, --root-pos et --span"), std::string::npos) << err;
    EXPECT_EQ(run({"gcode", root, path("p.ngc"), "--towers", "800", "--root-pos", "0", "--span", "300"}), 2);
    EXPECT_NE(err.find("gcode attend EMPLANTURE SAUMON SORTIE"), std::string::npos) << err;
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"--feed", "vite"}, "valeur invalide pour --feed : vite"},
        {{"--feed", "1,5"}, "valeur invalide pour --feed : 1,5"},
        {{"--root-side", "3"}, "valeur invalide pour --root-side : 3"},
        {{"--axes", "XYZ"}, "valeur invalide pour --axes : XYZ"},
        {{"--limits", "0:1,0:1,0:1"}, "valeur invalide pour --limits : 0:1,0:1,0:1"},
        {{"--tip-shift", "4"}, "valeur invalide pour --tip-shift : 4"},
        {{"--decimals", "2.5"}, "valeur invalide pour --decimals : 2.5"},
        {{"--kerf", "0.3", "--kerf-tip", "0.2"}, "--kerf ne se combine pas avec --kerf-root ou --kerf-tip"},
        {{"--vitesse", "3"}, "option inconnue : --vitesse"},
        {{"--heat"}, "--heat attend une valeur"},
    };
    for (const auto &[extra, message] : wrong) {
        EXPECT_EQ(gcode(extra), 2) << message;
        EXPECT_NE(err.find(message), std::string::npos) << err;
    }
    EXPECT_FALSE(fs::exists(path("p.ngc")));
}
