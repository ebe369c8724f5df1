// Optimal synchronization: same number of points per section, existing points
// kept, refusals that leave the profiles as they were (end marks apart).
#include "core/synchronization.h"

#include "geometry_test_support.h"

#include <cmath>
#include <random>

using namespace orv;
using namespace orv::test;

namespace {

constexpr int16_t SY = kSync;

// The profile with bit 4 added to its first and last points.
ProfilePoints withEndMarks(ProfilePoints p)
{
    if (p.count() > 0) {
        p.edit(1).Flags |= SY;
        p.edit(p.count()).Flags |= SY;
    }
    return p;
}

Profils withEndMarks(Profils d)
{
    d.PointsE = withEndMarks(d.PointsE);
    d.PointsS = withEndMarks(d.PointsS);
    return d;
}

// Every input point appears in the output, in order, as a whole record.
bool keepsEveryPoint(const ProfilePoints &in, const ProfilePoints &out)
{
    int32_t j = 1;
    for (int32_t i = 1; i <= in.count(); ++i) {
        while (j <= out.count() && !(out[j] == in[i]))
            ++j;
        if (j > out.count())
            return false;
        ++j;
    }
    return true;
}

} // namespace

TEST(Synchronization, ATipOfTwoPointsReceivesThePartnerOfTheRootsMiddlePoint)
{
    Profils d = wing({{0, 0}, {5, 0}, {10, 0}}, {{0, 0}, {20, 0}});
    const SyncResult r = synchronizeOptimal(d);
    ASSERT_TRUE(r.synchronized);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {5, 0}, {10, 0}}));
    EXPECT_EQ(xy(d.PointsS), (XY{{0, 0}, {10, 0}, {20, 0}}));
    EXPECT_EQ(flags(d.PointsS), (std::vector<int16_t>{SY, 0, SY}));
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(r.notice->title, "Synchronisation effectuée");
    EXPECT_EQ(r.notice->icon, NoticeIcon::Information);
    EXPECT_EQ(r.notice->text,
              "Veuillez contrôler que la synchronisation s'est faite avec des profils qui tournaient dans le bon sens"
              "\r\net dont le premier point était bien placé. Pour cela il suffit de faire bouger le fil avec un "
              "ascenseur d'une\r\ndes listes de points.");
}

TEST(Synchronization, SquaresOfSideTenAndTwentyKeepTheirFivePoints)
{
    Profils d = wing({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}});
    const Profils expected = withEndMarks(d);
    ASSERT_TRUE(synchronizeOptimal(d).synchronized);
    EXPECT_EQ(d, expected);
}

TEST(Synchronization, ProfilesThatAlreadyCorrespondComeOutUnchanged)
{
    Profils d = wing({{0, 0, SY}, {3, 1, S1}, {7, 2, kReference}, {10, 0, SY}},
                     {{0, 5, SY}, {3, 6}, {7, 7}, {10, 5, SY}});
    const Profils before = d;
    const SyncResult r = synchronizeOptimal(d);
    EXPECT_TRUE(r.synchronized);
    EXPECT_FALSE(r.endsMarked);
    EXPECT_EQ(d, before);
}

TEST(Synchronization, InnerSynchronizationPointsEndUpWithTheSameNumber)
{
    Profils d = wing({{0, 0}, {1, 0}, {2, 0, SY}, {10, 0}}, {{0, 0}, {4, 0, SY}, {5, 0}, {6, 0}, {8, 0}});
    ASSERT_TRUE(synchronizeOptimal(d).synchronized);
    ASSERT_EQ(d.NbPointsE(), d.NbPointsS());
    EXPECT_EQ(numbersWith(d.PointsE, SY), numbersWith(d.PointsS, SY));
    EXPECT_EQ(numbersWith(d.PointsE, SY).size(), 3u);
}

TEST(Synchronization, DifferentSynchronizationCountsAreRefusedKeepingOnlyTheEndMarks)
{
    Profils d = wing({{0, 0}, {5, 0, SY}, {10, 0}}, {{0, 0}, {20, 0}});
    const Profils expected = withEndMarks(d);
    const SyncResult r = synchronizeOptimal(d);
    EXPECT_FALSE(r.synchronized);
    EXPECT_TRUE(r.endsMarked);
    EXPECT_EQ(d, expected);
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, critical("Il n'y a pas le même nombre de points de synchronisation à l'emplanture et au "
                                  "saumon.",
                                  "Synchronisation impossible"));
}

TEST(Synchronization, ASectionOfZeroLengthIsRefusedWithItsPointNumbers)
{
    Profils d = wing({{0, 0}, {5, 0, SY}, {5, 0, SY}, {10, 0}}, {{0, 0}, {3, 0, SY}, {6, 0, SY}, {10, 0}});
    const Profils expected = withEndMarks(d);
    SyncResult r = synchronizeOptimal(d);
    EXPECT_FALSE(r.synchronized);
    EXPECT_EQ(d, expected);
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(r.notice->title, "Synchronisation impossible");
    EXPECT_EQ(r.notice->text,
              "La section entre les points 2 et 3 de l'emplanture est de longueur nulle, la synchronisation est "
              "impossible.");

    Profils tipOfRepeats = wing({{0, 0}, {10, 0}}, {{4, 4}, {4, 4}, {4, 4}});
    const Profils expected2 = withEndMarks(tipOfRepeats);
    r = synchronizeOptimal(tipOfRepeats);
    EXPECT_FALSE(r.synchronized);
    EXPECT_EQ(tipOfRepeats, expected2);
    EXPECT_EQ(r.notice->text,
              "La section entre les points 1 et 3 du saumon est de longueur nulle, la synchronisation est "
              "impossible.");
}

TEST(Synchronization, ProfilesOfOnePointAreRefusedUntouched)
{
    Profils d = wing({{1, 1}}, {{2, 2}});
    const Profils before = d;
    const SyncResult r = synchronizeOptimal(d);
    EXPECT_FALSE(r.synchronized);
    EXPECT_EQ(d, before);
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, critical("Il faut au moins deux points à l'emplanture et au saumon pour synchroniser les "
                                  "profils.",
                                  "Synchronisation impossible"));
}

TEST(Synchronization, ATipVertexWithinTheToleranceOfItsEndNeverPushesTheRootPastItsEnd)
{
    // The tip's middle vertex falls 0.0005 before the end: the root is at its
    // end already and waits, receiving a partner for it.
    Profils d = wing({{0, 0}, {10, 0}}, {{0, 0}, {9.9995f, 0}, {10, 0}});
    ASSERT_TRUE(synchronizeOptimal(d).synchronized);
    ASSERT_EQ(d.NbPointsE(), 3);
    ASSERT_EQ(d.NbPointsS(), 3);
    EXPECT_NEAR(d.PointsE[2].X, 9.9995, 1e-4);
    EXPECT_EQ(d.PointsE[3], (PointProfil{10, 0, SY}));
    EXPECT_EQ(d.PointsS[3], (PointProfil{10, 0, SY}));

    Profils mirrored = wing({{0, 0}, {9.9995f, 0}, {10, 0}}, {{0, 0}, {10, 0}});
    ASSERT_TRUE(synchronizeOptimal(mirrored).synchronized);
    ASSERT_EQ(mirrored.NbPointsS(), 3);
    EXPECT_NEAR(mirrored.PointsS[2].X, 9.9995, 1e-4);
    EXPECT_EQ(mirrored.PointsS[3], (PointProfil{10, 0, SY}));
}

TEST(Synchronization, LongNoisyProfilesPairTheirSectionsWithoutLosingAPoint)
{
    // Thousands of uneven segments make the remaining lengths drift by more
    // than the 0.001 tolerance; every section must still end on both sides
    // at once.
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> step(0.01f, 3.0f), wiggle(-2.0f, 2.0f);
    for (int round = 0; round < 20; ++round) {
        std::vector<PointProfil> e, s;
        float x = 0;
        for (int i = 0; i < 3000; ++i, x += step(rng))
            e.push_back({x * 7.3f, wiggle(rng), static_cast<int16_t>(i % 997 == 500 ? SY : 0)});
        x = 0;
        for (int i = 0; i < 2200; ++i, x += step(rng))
            s.push_back({x * 3.1f + 400, wiggle(rng), static_cast<int16_t>(i % 733 == 300 ? SY : 0)});
        Profils d;
        d.PointsE = ProfilePoints(e);
        d.PointsS = ProfilePoints(s);
        const Profils marked = withEndMarks(d);
        ASSERT_TRUE(synchronizeOptimal(d).synchronized);
        ASSERT_EQ(d.NbPointsE(), d.NbPointsS());
        EXPECT_EQ(numbersWith(d.PointsE, SY), numbersWith(d.PointsS, SY));
        EXPECT_EQ(numbersWith(d.PointsE, SY).size(), 5u);
        EXPECT_TRUE(keepsEveryPoint(marked.PointsE, d.PointsE));
        EXPECT_TRUE(keepsEveryPoint(marked.PointsS, d.PointsS));
    }
}
