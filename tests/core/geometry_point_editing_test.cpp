// Segment intersection codes and the point-editing commands: delete, insert
// mid-points, create intersection, renumber.
#include "core/point_editing.h"

#include "geometry_test_support.h"

using namespace orv;
using namespace orv::test;

TEST(SegmentIntersection, GivesTheCodeAndPointOfEachKindOfMeeting)
{
    Intersection x = intersectSegments(0, 0, 2, 2, 0, 2, 2, 0);
    EXPECT_EQ(x.code, kSegCrossing);
    EXPECT_EQ(x.X, 1);
    EXPECT_EQ(x.Y, 1);

    EXPECT_EQ(intersectSegments(0, 0, 1, 0, 0, 1, 1, 1).code, kSegParallel);

    x = intersectSegments(0, 0, 1, 1, 3, 0, 3, 5);
    EXPECT_EQ(x.code, kSegOutside);
    EXPECT_EQ(x.X, 3);
    EXPECT_EQ(x.Y, 3);

    x = intersectSegments(0, 0, 2, 0, 2, -1, 2, 1);
    EXPECT_EQ(x.code, kSegAtA2);
    EXPECT_EQ(x.X, 2);
    EXPECT_EQ(x.Y, 0);
}

TEST(SegmentIntersection, TestsTheEndsOfABeforeTheEndsOfB)
{
    // A starts where B starts: t = 0 and u = 0, code 3 wins.
    EXPECT_EQ(intersectSegments(0, 0, 2, 0, 0, 0, 0, 2).code, kSegAtA1);
    // B's end on A's middle: u = 1 only.
    const Intersection x = intersectSegments(0, 0, 4, 0, 2, 3, 2, 0);
    EXPECT_EQ(x.code, kSegAtB2);
    EXPECT_EQ(x.X, 2);
    EXPECT_EQ(x.Y, 0);
    EXPECT_EQ(intersectSegments(0, 0, 4, 0, 2, 0, 2, 3).code, kSegAtB1);
    // A degenerate segment has D = 0.
    EXPECT_EQ(intersectSegments(1, 1, 1, 1, 0, 0, 3, 5).code, kSegParallel);
}

TEST(DeletePoints, RefusesWhenAProfileWouldKeepFewerThanTwoPoints)
{
    Profils d = wing({{0, 0, S1}, {1, 0, S1}, {2, 0, S1}, {3, 0, S1}, {4, 0}}, {{0, 0}, {1, 1}, {2, 2}});
    const Profils before = d;
    const EditResult r = deleteSelectedPoints(d);
    EXPECT_EQ(d, before);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0],
              critical("Il faut conserver au moins deux points non sélectionnés de chaque côté.", "Erreur de sélection"));
    EXPECT_FALSE(r.anyChange());
}

TEST(DeletePoints, RemovesTheSelectedPointsOfBothProfilesKeepingTheOrder)
{
    Profils d = wing({{0, 0, S1}, {1, 0, S1}, {2, 0, kSync}, {3, 0, S1}, {4, 0}}, {{0, 0}, {1, 1, S1}, {2, 2}});
    const EditResult r = deleteSelectedPoints(d);
    EXPECT_EQ(xy(d.PointsE), (XY{{2, 0}, {4, 0}}));
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>{kSync, 0}));
    EXPECT_EQ(xy(d.PointsS), (XY{{0, 0}, {2, 2}}));
    EXPECT_TRUE(r.changed[Emplanture] && r.changed[Saumon]);
    EXPECT_TRUE(r.notices.empty());
}

TEST(InsertMidPoints, EachPairOfSelectedNeighboursGetsOneUnselectedPoint)
{
    Profils d = wing({{0, 0}, {1, 0}, {2, 0, S1}, {4, 2, S1}, {6, 0, S1}, {7, 0}}, {{0, 0, S1}, {1, 1}});
    const EditResult r = insertMidPoints(d);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 2}, {5, 1}, {6, 0}, {7, 0}}));
    EXPECT_EQ(numbersWith(d.PointsE, kSelected), (std::vector<int32_t>{3, 5, 7}));
    EXPECT_TRUE(r.changed[Emplanture]);
    EXPECT_FALSE(r.changed[Saumon]);
}

TEST(CreateIntersection, InsertsTheCrossingBetweenTheSecondPairsPoints)
{
    Profils d = wing({{0, 0, S1}, {2, 2, S1}, {5, 5}, {0, 2, S1}, {2, 0, S1}}, {{0, 0}});
    const EditResult r = createIntersection(d);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {2, 2}, {5, 5}, {0, 2}, {1, 1}, {2, 0}}));
    EXPECT_EQ(d.PointsE[5].Flags, 0);
    EXPECT_TRUE(r.notices.empty());
    EXPECT_TRUE(r.changed[Emplanture]);
}

TEST(CreateIntersection, AMeetingAtASegmentEndInsertsThePointAndWarns)
{
    Profils d = wing({{0, 0}}, {{0, 0, S1}, {2, 0, S1}, {2, -1, S1}, {2, 1, S1}});
    const EditResult r = createIntersection(d);
    EXPECT_EQ(xy(d.PointsS), (XY{{0, 0}, {2, 0}, {2, -1}, {2, 0}, {2, 1}}));
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0], information("Attention, vous venez de créer un point superposé à un point existant",
                                        "Intersection en bout de segment au saumon"));
}

TEST(CreateIntersection, ThreeSelectedTipPointsGiveOnlyTheTipMessage)
{
    Profils d = wing({{0, 0}, {1, 1}}, {{0, 0, S1}, {1, 1, S1}, {2, 0, S1}, {3, 3}});
    const Profils before = d;
    const EditResult r = createIntersection(d);
    EXPECT_EQ(d, before);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0],
              critical("Il faut sélectionner quatre points consécutifs deux à deux.", "Erreur de sélection au saumon"));
}

TEST(CreateIntersection, ReportsEachProfilesProblemWithItsOwnWords)
{
    // Root: parallel segments. Tip: segments that do not touch.
    Profils d = wing({{0, 0, S1}, {1, 0, S1}, {0, 1, S1}, {1, 1, S1}},
                     {{0, 0, S1}, {1, 1, S1}, {3, 0, S1}, {3, 5, S1}});
    const Profils before = d;
    EditResult r = createIntersection(d);
    EXPECT_EQ(d, before);
    ASSERT_EQ(r.notices.size(), 2u);
    EXPECT_EQ(r.notices[0],
              critical("Les deux segments de l'emplanture sont parallèles.", "Pas d'intersection à l'emplanture"));
    EXPECT_EQ(r.notices[1],
              critical("Les deux segments du saumon ne se touchent pas.", "Pas d'intersection au saumon"));

    Profils confused = wing({{0, 0, S1}, {0.005f, 0.005f, S1}, {0, 1, S1}, {1, 0, S1}}, {{0, 0}});
    const Profils before2 = confused;
    r = createIntersection(confused);
    EXPECT_EQ(confused, before2);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0],
              critical("Deux points consécutifs sont confondus, impossible de définir un des deux segments.",
                       "Erreur de sélection à l'emplanture"));

    Profils notPairs = wing({{0, 0, S1}, {1, 0}, {2, 0, S1}, {3, 0, S1}, {4, 0, S1}}, {{0, 0}});
    r = createIntersection(notPairs);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].title, "Erreur de sélection à l'emplanture");
}

TEST(Renumber, AClosedSelectedContourStartsAndEndsAtTheCurrentPoint)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 10, S1 | kSync}, {0, 10, S1}, {0, 0, S1}},
                     {{0, 0}, {1, 1}});
    int32_t current[2] = {3, 1};
    const EditResult r = renumberFromCurrent(d, current, 0.001f);
    EXPECT_EQ(xy(d.PointsE), (XY{{10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}}));
    // Only the coordinates travel: each slot keeps its Flags.
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>{S1, S1 | kSync, S1, S1, S1}));
    EXPECT_EQ(current[Emplanture], 2);
    EXPECT_TRUE(r.changed[Emplanture]);
    EXPECT_FALSE(r.changed[Saumon]);
}

TEST(Renumber, LeavesAProfileWithFewSelectedPointsOrAtItsFirstPointAlone)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 10, S1}, {0, 0}},
                     {{0, 0, S1}, {10, 0, S1}, {10, 10, S1}, {0, 10, S1}, {0, 0, S1}});
    const Profils before = d;
    int32_t current[2] = {2, 1};
    const EditResult r = renumberFromCurrent(d, current, 0.001f);
    EXPECT_EQ(d, before);
    EXPECT_FALSE(r.anyChange());
}

TEST(Renumber, AnOpenContourKeepsItsFirstPointAndGainsTheClosingCopy)
{
    Profils d = wing({{0, 0, S1}, {10, 0, S1}, {10, 10, S1}, {0, 10, S1}}, {{0, 0}});
    int32_t current[2] = {2, 1};
    renumberFromCurrent(d, current, 0.001f);
    EXPECT_EQ(xy(d.PointsE), (XY{{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    EXPECT_EQ(current[Emplanture], 2);
}
