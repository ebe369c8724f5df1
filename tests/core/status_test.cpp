// Status bar texts, point-list lines, command availability and marks.
#include "core/status.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

Profils wing(std::vector<PointProfil> root, std::vector<PointProfil> tip)
{
    Profils d;
    d.PointsE = ProfilePoints(root);
    d.PointsS = ProfilePoints(tip);
    return d;
}

} // namespace

TEST(StatusBar, SidePanelsGiveCountsAndTheSizeOfTheActiveSelection)
{
    Profils d = wing({{0, 0, kSelected}, {3, 4, kSelected}, {9, 9, kReference}}, {});
    const StatusPanels p = statusPanels(d, kSelected);
    EXPECT_EQ(p.root, ": 3 points     Sél.: 2 pts    X:3.0mm   Y:4.0mm  D:5.0mm");
    EXPECT_EQ(p.tip, ": 0 points     Sél.: 0 pts    X:0.0mm   Y:0.0mm  D:0.0mm");
    EXPECT_EQ(p.distance, "Dist. Sel.");
    EXPECT_EQ(statusPanels(d, kReference).root, ": 3 points     Sél.: 1 pts    X:0.0mm   Y:0.0mm  D:0.0mm");
}

TEST(StatusBar, DistancePanelNeedsExactlyOnePointOnEachProfile)
{
    Profils one = wing({{1, 1, kSelected}, {0, 0, 0}}, {{4.125f, 5, kSelected}});
    EXPECT_EQ(statusPanels(one, kSelected).distance, " X:3.13mm  Y:4.0mm   D:5.08mm");
    Profils two = wing({{1, 1, kSelected}, {0, 0, kSelected}}, {{4, 5, kSelected}});
    EXPECT_EQ(statusPanels(two, kSelected).distance, "Dist. Sel.");
    EXPECT_EQ(statusPanels(one, kSync).distance, "Dist. Sel.");
}

TEST(PointList, ShowsFivePointsAroundTheCurrentOneWithTheLayerColours)
{
    ProfilePoints p({{1.5f, -2, kSelected}, {10, 20.125f, kReference}, {3, 3, kSync}});
    auto lines = pointList(p, 1, kSelected);
    EXPECT_FALSE(lines[0].exists);
    EXPECT_FALSE(lines[1].exists);
    EXPECT_EQ(lines[0].colour, ListColour::Plain);
    EXPECT_TRUE(lines[2].exists);
    EXPECT_EQ(lines[2].number, "1");
    EXPECT_EQ(lines[2].x, "1.50");
    EXPECT_EQ(lines[2].y, "-2.00");
    EXPECT_EQ(lines[2].colour, ListColour::Selected);
    EXPECT_TRUE(lines[2].whiteText());
    EXPECT_EQ(lines[3].y, "20.13");
    EXPECT_EQ(lines[3].colour, ListColour::Plain);
    EXPECT_EQ(lines[4].colour, ListColour::Plain);

    EXPECT_EQ(pointList(p, 2, kReference)[2].colour, ListColour::Reference);
    const auto sync = pointList(p, 3, kSync)[2];
    EXPECT_EQ(sync.colour, ListColour::Sync);
    EXPECT_FALSE(sync.whiteText());
    EXPECT_FALSE(pointList(ProfilePoints(), 1, kSelected)[2].exists);
}

TEST(Availability, FollowsTheSelectedCountsOfBothProfiles)
{
    const std::vector<std::string_view> singles = {"cmdSupprimer", "cmdCouper", "cmdCopier", "cmdColler",
                                                   "txtDeplacer_0", "txtDeplacer_1"};
    struct Row {
        int32_t e, s;
        bool ticked;
        int expectEnabled; // how many of the 18 controls
        bool singlesOn, renumberOn;
        InsertionBox insertion;
    } rows[] = {
        {0, 0, false, 0, false, false, InsertionBox::Disable},
        {0, 0, true, 0, false, false, InsertionBox::Keep},
        {1, 0, false, 6, true, false, InsertionBox::Disable},
        {0, 1, true, 6, true, false, InsertionBox::Keep},
        {1, 1, false, 6, true, false, InsertionBox::Enable},
        {3, 0, false, 17, true, false, InsertionBox::Disable},
        {1, 2, false, 17, true, false, InsertionBox::Disable},
        {4, 0, false, 18, true, true, InsertionBox::Disable},
        {2, 7, true, 18, true, true, InsertionBox::Keep},
    };
    for (const Row &r : rows) {
        const Availability a = commandAvailability(r.e, r.s, r.ticked);
        int enabled = 0;
        for (const CommandState &c : a.commands)
            enabled += c.enabled ? 1 : 0;
        EXPECT_EQ(enabled, r.expectEnabled) << r.e << "," << r.s;
        for (auto name : singles)
            EXPECT_EQ(a.enabled(name), r.singlesOn) << name << " " << r.e << "," << r.s;
        EXPECT_EQ(a.enabled("cmdRenumeroter"), r.renumberOn) << r.e << "," << r.s;
        EXPECT_EQ(a.insertion, r.insertion) << r.e << "," << r.s;
    }
    EXPECT_FALSE(commandAvailability(9, 9, false).enabled("cmdNoSuchThing"));
}

