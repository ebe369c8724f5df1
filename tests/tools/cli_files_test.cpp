// The vextra tool's info, convert and 3d commands, run as a user runs them.
#include "tool_test_support.h"

using namespace tooltest;

namespace {

class CliFiles : public ToolTest {
protected:
    static int count(const std::string &text, const std::string &line)
    {
        int n = 0;
        std::istringstream in(text);
        std::string l;
        while (std::getline(in, l))
            if (l == line || l == line + "\r")
                ++n;
        return n;
    }

};

} // namespace

TEST_F(CliFiles, InfoDescribesAPlotterDrawing)
{
    ASSERT_EQ(run({"info", fixture("hpgl/hpgl2ps_test1h.hpgl")}), 0) << err;
    EXPECT_NE(out.find("Contours : 15\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Largeur : 270.000000\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Hauteur : 192.000000\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  contour \" A\" : "), std::string::npos) << out;
    EXPECT_NE(out.find(", fermé"), std::string::npos) << out;
    EXPECT_TRUE(err.empty()) << err;
}

TEST_F(CliFiles, InfoDescribesTheSvgSampleRibWithItsTitle)
{
    ASSERT_EQ(run({"info", std::string(ORVALIS_SAMPLES) + "/nervure.svg"}), 0) << err;
    EXPECT_NE(out.find("Titre : Nervure NACA 2412\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Contours : 4\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Largeur : 200.000000\n"), std::string::npos) << out;
    EXPECT_EQ(count(out, "  contour \" B\" : 51 points, fermé"), 1) << out; // a lightening hole
}

TEST_F(CliFiles, InfoCountsDrillHolesAndShowsAProfileTitle)
{
    ASSERT_EQ(run({"info", fixture("drill/ts_kicad_mchck_metric.drl")}), 0) << err;
    EXPECT_NE(out.find("Points : 146\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Contours : 73\n"), std::string::npos) << out;

    ASSERT_EQ(run({"info", fixture("dat/clarky.dat")}), 0) << err;
    EXPECT_NE(out.find("Titre : CLARK Y AIRFOIL\n"), std::string::npos) << out;
}

TEST_F(CliFiles, InfoDescribesEncodedPlotterCurvedPostScriptAndFitSplineSamples)
{
    ASSERT_EQ(run({"info", fixture("hpgl/gen_pcl_pe_squares.plt")}), 0) << err;
    EXPECT_NE(out.find("Points : 10\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Contours : 2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Largeur : 70.000000\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Hauteur : 40.000000\n"), std::string::npos) << out;

    ASSERT_EQ(run({"info", fixture("eps/inkscape_wing.eps")}), 0) << err;
    EXPECT_NE(out.find("Contours : 2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Largeur : 110.0"), std::string::npos) << out;
    EXPECT_EQ(count(out, "  contour \" A\" : 41 points, fermé"), 1) << out;

    ASSERT_EQ(run({"info", fixture("dxf/ezgen_fit_splines.dxf")}), 0) << err;
    EXPECT_NE(out.find("Contours : 3\n"), std::string::npos) << out;
    EXPECT_TRUE(err.empty()) << err;
}

TEST_F(CliFiles, ALibraryErrorGivesExitCodeOneAndAClearMessage)
{
    EXPECT_EQ(run({"info", path("missing.plt")}), 1);
    EXPECT_EQ(err, "vextra : " + path("missing.plt") + " : ouverture du fichier impossible (code -105)\n");
    EXPECT_TRUE(out.empty());

    EXPECT_EQ(run({"info", write("no-header.eps", "0 0 moveto 72 0 lineto\n")}), 1);
    EXPECT_NE(err.find("aucun point utilisable (code -100)"), std::string::npos) << err;

    EXPECT_EQ(run({"info", write("a.svg", "<svg/>")}), 1);
    EXPECT_NE(err.find("aucun point utilisable (code -100)"), std::string::npos) << err;

    EXPECT_EQ(run({"info"}), 2);
    EXPECT_NE(err.find("info attend un fichier"), std::string::npos) << err;
}

TEST_F(CliFiles, ConvertWritesTheWholeDrawingByteForByte)
{
    // Read, shifted to the origin, then normalised: the expected airfoil file.
    const std::string in = write("profile.dat", "Profil E\n110 0\n60 7\n10 1\n60 -5\n110 0\n");
    ASSERT_EQ(run({"convert", in, path("out.dat")}), 0) << err;
    EXPECT_EQ(out, path("out.dat") + " : 5 points écrits\n");
    EXPECT_EQ(readBytes(path("out.dat")), readBytes(fixture("writers/profile_wide.dat")));

    // A plotter drawing as a DXF: one polyline a contour, one vertex a record.
    ASSERT_EQ(run({"convert", fixture("hpgl/hpgl2ps_test1h.hpgl"), path("plot.dxf")}), 0) << err;
    const std::string dxf = readBytes(path("plot.dxf"));
    EXPECT_EQ(count(dxf, "POLYLINE"), 15);
    EXPECT_EQ(count(dxf, "VERTEX"), 40);
    EXPECT_EQ(std::count(dxf.begin(), dxf.end(), '\n'), std::count(dxf.begin(), dxf.end(), '\r'));
    EXPECT_TRUE(dxf.ends_with("ENDSEC\r\n   0\r\nEOF\r\n"));
}

TEST_F(CliFiles, ConvertByContourWritesOneNumberedFileEach)
{
    const std::string in = write("two.plt", "PU0,0;PD400,0,400,400,0,400,0,0;PU800,0;PD1200,0,1200,400;");
    ASSERT_EQ(run({"convert", "--par-contour", in, path("part.dxf")}), 0) << err;
    EXPECT_NE(out.find(path("part-1.dxf") + " : "), std::string::npos) << out;
    EXPECT_NE(out.find(path("part-2.dxf") + " : "), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(path("part-3.dxf")));
    for (const char *name : {"part-1.dxf", "part-2.dxf"}) {
        const std::string dxf = readBytes(path(name));
        EXPECT_EQ(count(dxf, "POLYLINE"), 1) << name;
        EXPECT_EQ(count(dxf, "SEQEND"), 1) << name;
    }
    // The closed square has 5 records, the open corner 3.
    EXPECT_EQ(count(readBytes(path("part-1.dxf")), "VERTEX") + count(readBytes(path("part-2.dxf")), "VERTEX"), 8);
}

TEST_F(CliFiles, ConvertRefusesWhatTheLibraryRefuses)
{
    const std::string in = fixture("drill/ts_eagle_arduino-uno.drd");
    EXPECT_EQ(run({"convert", in, path("out.txt")}), 1);
    EXPECT_NE(err.find("extension de fichier non prise en charge (code -101)"), std::string::npos) << err;
    EXPECT_EQ(run({"convert", in, path("no/folder/out.dxf")}), 1);
    EXPECT_NE(err.find("création du fichier de sortie impossible (code -110)"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("out.txt")));
    EXPECT_EQ(run({"convert", in}), 2);
}

TEST_F(CliFiles, ThreeDWritesAFaceBetweenEachPairOfPoints)
{
    const std::string root = write("root.dat", "R\n0 0\n50 5\n100 0\n");
    const std::string tip = write("tip.dat", "T\n10 1\n45 4\n90 1\n");
    ASSERT_EQ(run({"3d", root, tip, "250.5", path("panel.dxf")}), 0) << err;
    EXPECT_EQ(out, path("panel.dxf") + " : 2 faces écrites\n");
    const std::string dxf = readBytes(path("panel.dxf"));
    EXPECT_EQ(count(dxf, "3DFACE"), 2);
    EXPECT_EQ(count(dxf, " 250.500000"), 4);
    EXPECT_EQ(count(dxf, " 0.000000"), 4 + 6); // the root's Z, and the zero coordinates
    EXPECT_TRUE(dxf.starts_with("   0\r\nSECTION\r\n   2\r\nENTITIES\r\n   0\r\n3DFACE\r\n"));

    const std::string shorter = write("short.dat", "S\n0 0\n1 1\n");
    EXPECT_EQ(run({"3d", root, shorter, "100", path("bad.dxf")}), 1);
    EXPECT_NE(err.find("pas le même nombre de points (code -111)"), std::string::npos) << err;
    EXPECT_EQ(run({"3d", root, tip, "100", path("panel.dat")}), 1);
    EXPECT_NE(err.find("(code -101)"), std::string::npos) << err;
    for (const char *span : {"cent", "nan", "1e50", "12,5"}) {
        EXPECT_EQ(run({"3d", root, tip, span, path("panel.dxf")}), 2) << span;
        EXPECT_NE(err.find("envergure invalide"), std::string::npos) << err;
    }
}
