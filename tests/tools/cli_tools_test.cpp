// The vextra tool's smooth, clean, offset, organize and text commands, run as
// a user runs them, checked through the files they write.
#include "tool_test_support.h"

using namespace tooltest;

namespace {

class CliTools : public ToolTest {
protected:
    // A value of `vextra info FILE`: the text after "Key : " on its line.
    std::string info(const std::string &file, const std::string &key)
    {
        if (run({"info", file}) != 0)
            return "";
        const size_t at = out.find(key + " : ");
        if (at == std::string::npos)
            return "";
        const size_t from = at + key.size() + 3;
        return out.substr(from, out.find('\n', from) - from);
    }

};

std::string line(int n)
{
    std::string s = "Ligne\n";
    for (int i = 0; i < n; ++i)
        s += std::to_string(i) + " " + std::to_string(2 * i) + "\n";
    return s;
}

} // namespace

TEST_F(CliTools, SmoothGivesElevenPointsASegment)
{
    const std::string in = write("p.dat", "Quatre\n0 0\n10 0\n20 10\n30 10\n");
    ASSERT_EQ(run({"smooth", in, path("l.dat")}), 0) << err;
    EXPECT_NE(out.find("13 points écrits"), std::string::npos) << out;
    EXPECT_EQ(info(path("l.dat"), "Points"), "13");
    EXPECT_EQ(info(path("l.dat"), "Titre"), "Quatre");
}

TEST_F(CliTools, CleanKeepsTheEndsOfAStraightLine)
{
    const std::string in = write("l.dat", line(10));
    ASSERT_EQ(run({"clean", "0.01", in, path("c.dat")}), 0) << err;
    EXPECT_NE(out.find("2 points écrits (8 supprimés)"), std::string::npos) << out;
    EXPECT_EQ(info(path("c.dat"), "Points"), "2");
    EXPECT_EQ(run({"clean", "0,01", in, path("c.dat")}), 2);
    EXPECT_NE(err.find("tolérance invalide : 0,01"), std::string::npos) << err;
    EXPECT_EQ(run({"clean", in, path("c.dat")}), 2);
}

TEST_F(CliTools, OffsetWritesTheOffsetContoursAndItsPasses)
{
    const std::string sq = write("sq.dat", "Carré\n0 0\n20 0\n20 20\n0 20\n0 0\n");
    ASSERT_EQ(run({"offset", "1", sq, path("o.dxf")}), 0) << err;
    EXPECT_NE(out.find("1 contours décalés"), std::string::npos) << out;
    EXPECT_EQ(info(path("o.dxf"), "Largeur"), "22.000000");
    EXPECT_EQ(info(path("o.dxf"), "Contours"), "1");

    ASSERT_EQ(run({"offset", "1", sq, path("p.dxf"), "--overlap", "0", "--tolerance", "0.001"}), 0) << err;
    EXPECT_NE(out.find("5 contours décalés"), std::string::npos) << out;
    EXPECT_EQ(info(path("p.dxf"), "Contours"), "5");

    EXPECT_EQ(run({"offset", "-30", sq, path("none.dxf")}), 1);
    EXPECT_NE(err.find("aucun contour décalé"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("none.dxf")));
    EXPECT_EQ(run({"offset", "0", sq, path("z.dxf")}), 2);
    EXPECT_EQ(run({"offset", "1", sq, path("z.dxf"), "--overlap"}), 2);
    EXPECT_EQ(run({"offset", "1", sq, path("z.dxf"), "--passes", "3"}), 2);
    EXPECT_NE(err.find("option inconnue : --passes"), std::string::npos) << err;
}

TEST_F(CliTools, TextWritesOutlinesAndOrganizeKeepsThem)
{
    ASSERT_EQ(run({"text", "O", "--font", "DejaVu Sans", path("o.dxf")}), 0) << err;
    EXPECT_NE(out.find("2 contours"), std::string::npos) << out;
    const double regular = std::stod(info(path("o.dxf"), "Largeur"));
    ASSERT_EQ(run({"text", "O", "--bold", path("b.dxf")}), 0) << err;
    EXPECT_GT(std::stod(info(path("b.dxf"), "Largeur")), regular + 1);
    ASSERT_EQ(run({"text", "O", "--font", "Police qui n'existe pas", "--italic", "--spacing", "1.5", path("i.dxf")}), 0)
        << err;
    EXPECT_EQ(info(path("i.dxf"), "Contours"), "2");

    ASSERT_EQ(run({"organize", path("o.dxf"), path("g.dxf")}), 0) << err;
    EXPECT_NE(out.find("2 contours ordonnés"), std::string::npos) << out;
    EXPECT_EQ(info(path("g.dxf"), "Points"), info(path("o.dxf"), "Points"));

    EXPECT_EQ(run({"text", "", path("e.dxf")}), 1);
    EXPECT_NE(err.find("aucun contour"), std::string::npos) << err;
    EXPECT_EQ(run({"text", "O", "--spacing", "large", path("e.dxf")}), 2);
}

TEST_F(CliTools, HelpListsTheToolsAndBadFilesAreReported)
{
    ASSERT_EQ(run({"--help"}), 0);
    for (const char *name : {"smooth", "clean", "offset", "organize", "text"})
        EXPECT_NE(out.find(std::string("vextra ") + name + " "), std::string::npos) << name;
    EXPECT_EQ(run({"smooth", path("absent.dat"), path("x.dat")}), 1);
    EXPECT_NE(err.find("absent.dat"), std::string::npos) << err;
}
