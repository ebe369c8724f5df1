// SVG files built to hang, exhaust or mislead the reader: each ends with what
// was read or a negative code, never a crash or a hang.
#include "readers/readers.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace vxtest;

namespace {

const std::string kOpen = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100mm\" height=\"100mm\" "
                          "viewBox=\"0 0 100 100\">";

vx::PointList readRaw(const TempDir &dir, const std::string &text, int *result = nullptr)
{
    vx::PointList list;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    const int r = vx::readSvg(dir.write("h.svg", text).c_str(), title, list);
    if (result)
        *result = r;
    return list;
}

std::string repeat(const std::string &s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(SvgHostile, GroupsNestedBeyondTheDepthLimitAreLeftOutAndTheRestIsRead)
{
    TempDir dir;
    const int depth = 100000;
    const std::string text = kOpen + "<line x2=\"1\"/>" + repeat("<g>", depth) + "<line x2=\"2\"/>" +
                             repeat("</g>", depth) + "</svg>";
    int result = 0;
    const vx::PointList list = readRaw(dir, text, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(list.size(), 2u);
}

TEST(SvgHostile, ReferenceCyclesAreCutAndWhatTheyHoldIsDrawnOnce)
{
    TempDir dir;
    // A use of itself, two groups using each other, and a use of its own group.
    const std::string text = kOpen + "<use id=\"self\" href=\"#self\"/>"
                                     "<g id=\"a\"><line x2=\"1\"/><use href=\"#b\"/></g>"
                                     "<g id=\"b\"><use href=\"#a\"/></g>"
                                     "<g id=\"c\"><line x2=\"3\"/><use href=\"#c\"/></g></svg>";
    const vx::PointList list = readRaw(dir, text);
    // a's line; a's line again through b, whose a does not draw b again; c's line.
    EXPECT_EQ(list.size(), 6u);
}

TEST(SvgHostile, ReferencesThatFanOutToBillionsOfElementsStopAtTheirBudget)
{
    TempDir dir;
    std::string text = kOpen + "<defs><g id=\"l0\"><circle r=\"1\"/></g>";
    for (int level = 1; level <= 10; ++level)
        text += "<g id=\"l" + std::to_string(level) + "\">" +
                repeat("<use href=\"#l" + std::to_string(level - 1) + "\"/>", 10) + "</g>";
    text += "</defs><use href=\"#l10\"/></svg>";
    int result = 0;
    const vx::PointList list = readRaw(dir, text, &result);
    EXPECT_EQ(result, 1);
    EXPECT_LE(list.size(), size_t(1) << 22);
    // The same with nothing to draw: only the visits are counted.
    const std::string empty = std::string(text).replace(text.find("<circle r=\"1\"/>"), 15, "");
    EXPECT_EQ(lire(dir.write("e.svg", empty)).result, VX_ERR_NO_POINT);
}

TEST(SvgHostile, EntityExpansionIsBoundedAndExternalEntitiesAreNeverLoaded)
{
    TempDir dir;
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY l0 \"<line x2='1'/>\">";
    for (int i = 1; i <= 12; ++i)
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + repeat("&l" + std::to_string(i - 1) + ";", 10) + "\">";
    laughs += "]>" + kOpen + "&l12;</svg>";
    EXPECT_EQ(lire(dir.write("laughs.svg", laughs)).result, VX_ERR_READ);

    const std::string part = dir.write("part.xml", "<line x2=\"1\"/>");
    const std::string external = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY ext SYSTEM \"" + part +
                                 "\">]>" + kOpen + "&ext;<line x2=\"5\"/></svg>";
    const vx::PointList read = readRaw(dir, external);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].x, 5);

    // A small internal entity is expanded as XML says.
    EXPECT_EQ(readRaw(dir, "<!DOCTYPE svg [<!ENTITY l \"<line x2='1'/>\">]>" + kOpen + "&l;&l;</svg>").size(), 4u);
}

TEST(SvgHostile, HugeNegativeAndNonNumericSizesNeverGiveUnusablePoints)
{
    TempDir dir;
    const std::string line = "<line x2=\"1\"/>";
    EXPECT_EQ(lire(dir.write("a.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1e308mm\" height=\"1e308mm\" "
                                      "viewBox=\"0 0 1e-300 1\">" + line + "</svg>")).result,
              VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("b.svg", kOpen + "<g transform=\"scale(1e300) scale(1e300)\">" + line + "</g></svg>"))
                  .result,
              VX_ERR_NO_POINT);
    for (const char *shape : {"<circle r=\"nan\"/>", "<circle r=\"-5\"/>", "<rect width=\"inf\" height=\"1\"/>",
                              "<rect width=\"1e999\" height=\"1\"/>", "<ellipse rx=\"NaN\" ry=\"-2\"/>",
                              "<path d=\"M 0 0 L 1e309 0\"/>", "<polygon points=\"0 0 nan 1 2 2\"/>"})
        EXPECT_EQ(lire(dir.write("c.svg", kOpen + shape + "</svg>")).result, VX_ERR_NO_POINT) << shape;
    // An arc whose radii overflow keeps only its finite start.
    const Read arc = lire(dir.write("d.svg", kOpen + "<path d=\"M 0 0 A 1e308 1e308 0 1 1 1e308 -1e308\"/></svg>"));
    EXPECT_EQ(arc.result, 2);
    EXPECT_EQ(pen(arc.points[1]), "PU");
}

TEST(SvgHostile, DocumentsThatAreNotDrawingsOrAreCutShort)
{
    TempDir dir;
    EXPECT_EQ(lire(dir.write("a.svg", "<svg/>")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("b.svg", "<html><path d=\"M0 0 L1 1\"/></html>")).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("c.svg", std::string("\x89PNG\r\n\x1a\n\0\0", 10))).result, VX_ERR_NO_POINT);
    EXPECT_EQ(lire(dir.write("d.svg", "")).result, VX_ERR_NO_POINT);
    // Cut short: what was read before the fault.
    EXPECT_EQ(readRaw(dir, kOpen + "<line x2=\"1\"/><g><line x2=\"2\"/><line x2=").size(), 4u);
    // A document without the SVG namespace is still read; elements of other namespaces are not.
    EXPECT_EQ(readRaw(dir, "<svg><line x2=\"1\"/><x:line xmlns:x=\"urn:x\" x2=\"2\"/></svg>").size(), 2u);
}
