// Cleaning: the thinning decisions, the read-buffer thinning, the total and
// the synchronous cleaning of the profiles.
#include "core/cleaning.h"

#include "geometry_test_support.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace orv;
using namespace orv::test;

namespace {

std::vector<ContourPoint> contour(std::initializer_list<std::pair<float, float>> pts)
{
    std::vector<ContourPoint> v;
    for (auto [x, y] : pts)
        v.push_back({x, y, {0, 0}, {0, 0}});
    return v;
}

XY coords(const std::vector<ContourPoint> &v)
{
    XY r;
    for (const ContourPoint &p : v)
        r.emplace_back(p.X, p.Y);
    return r;
}

// The thinning exactly as worded: every intermediate point tested against
// every candidate chord. Quadratic on long runs; the reference of the tests.
std::vector<size_t> plainThinning(const XY &p, float tolerance)
{
    const float t2 = tolerance * tolerance;
    const auto within = [&](size_t m, size_t s, size_t e) {
        const double ex = double(p[e].first) - p[s].first, ey = double(p[e].second) - p[s].second;
        const double px = double(p[m].first) - p[s].first, py = double(p[m].second) - p[s].second;
        const double l2 = ex * ex + ey * ey;
        if (static_cast<float>(l2) <= t2)
            return static_cast<float>(px * px + py * py) <= t2;
        const double t = std::clamp((px * ex + py * ey) / l2, 0.0, 1.0);
        return static_cast<float>((t * ex - px) * (t * ex - px) + (t * ey - py) * (t * ey - py)) <= t2;
    };
    const size_t last = p.size() - 1;
    std::vector<size_t> kept{0};
    size_t s = 0;
    while (s + 2 <= last) {
        size_t k = 2;
        for (;;) {
            bool ok = true;
            for (size_t m = 1; m < k && ok; ++m)
                ok = within(s + m, s, s + k);
            if (!ok) {
                s += k - 1;
                kept.push_back(s);
                break;
            }
            if (s + k == last) {
                s = last;
                break;
            }
            ++k;
        }
    }
    kept.push_back(last);
    return kept;
}

} // namespace

TEST(Thinning, FourCollinearPointsThinToTheirEndsButThreeAreLeftAlone)
{
    std::vector<ContourPoint> four = contour({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    EXPECT_EQ(thinList(four, 0.1f), 2);
    EXPECT_EQ(coords(four), (XY{{0, 0}, {3, 0}}));

    std::vector<ContourPoint> three = contour({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(thinList(three, 0.1f), 3);
    EXPECT_EQ(three.size(), 3u);
}

TEST(Thinning, APointExactlyAtTheToleranceIsDroppedAndOneJustBeyondStays)
{
    std::vector<ContourPoint> at = contour({{0, 0}, {5, 0.5f}, {10, 0}, {15, 0}});
    thinList(at, 0.5f);
    EXPECT_EQ(coords(at), (XY{{0, 0}, {15, 0}}));

    std::vector<ContourPoint> beyond = contour({{0, 0}, {5, 0.5001f}, {10, 0}, {15, 0}});
    thinList(beyond, 0.5f);
    EXPECT_EQ(coords(beyond), (XY{{0, 0}, {5, 0.5001f}, {15, 0}}));
}

TEST(Thinning, ASpikeIsMeasuredAgainstTheChordsEndNotItsLine)
{
    std::vector<ContourPoint> spike = contour({{0, 0}, {30, 0}, {10, 0}, {10, 10}});
    thinList(spike, 0.5f);
    EXPECT_EQ(coords(spike), (XY{{0, 0}, {30, 0}, {10, 0}, {10, 10}}));
}

TEST(Thinning, AChordShorterThanTheToleranceCountsAsItsAnchor)
{
    // Within 0.3 of the short chord's segment, but 0.54 from its anchor.
    std::vector<ContourPoint> pts = contour({{0, 0}, {0.45f, 0.3f}, {0.45f, 0}, {10, 0}});
    thinList(pts, 0.5f);
    EXPECT_EQ(coords(pts), (XY{{0, 0}, {0.45f, 0.3f}, {10, 0}}));
}

TEST(Thinning, KeptRecordsMoveToTheFrontWithTheirPenAndTag)
{
    std::vector<ContourPoint> pts = contour({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 5}});
    pts[4].Pen[0] = 7;
    pts[4].Tag[1] = 9;
    EXPECT_EQ(thinList(pts, 0.1f), 3);
    EXPECT_EQ(pts[2].Pen[0], 7);
    EXPECT_EQ(pts[2].Tag[1], 9);
}

TEST(Thinning, FastDecisionsMatchThePlainTestOnEveryKindOfPath)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int round = 0; round < 120; ++round) {
        const int kind = round % 6;
        const float tolerance = kind == 5 ? 0.5f : 0.05f + 0.15f * (round % 4);
        std::normal_distribution<double> noise(0, tolerance * (round % 5 == 0 ? 0.002 : 0.15 * (round % 5)));
        const double heading = 2 * std::numbers::pi * unit(rng);
        const double c = std::cos(heading), sn = std::sin(heading);
        XY p;
        double x = 100 * unit(rng) - 50, y = 100 * unit(rng) - 50;
        for (int i = 0; i < 2500; ++i) {
            double along = i * 0.37, across = 0;
            switch (kind) {
            case 0: // a noisy straight line in any direction
                break;
            case 1: // a gentle arc, both ways
                across = (round % 2 ? 1 : -1) * 4e-5 * along * along;
                break;
            case 2: // a random walk that turns back on itself
                x += noise(rng) * 3;
                y += noise(rng) * 3;
                p.emplace_back(static_cast<float>(x), static_cast<float>(y));
                continue;
            case 3: // spikes forward and back along the line
                if (i % 97 == 50)
                    along += (i % 2 ? 1 : -1) * 20 * tolerance;
                break;
            case 4: // runs of repeated points and back-steps near each point
                if (i % 50 < 10)
                    along = (i - i % 50) * 0.37;
                if (i % 7 == 3)
                    along -= 0.5 * tolerance;
                break;
            default: // dense points, a tolerance of many steps
                along = i * 0.01;
                break;
            }
            const double nx = along + noise(rng), ny = across + noise(rng);
            p.emplace_back(static_cast<float>(x + nx * c - ny * sn), static_cast<float>(y + nx * sn + ny * c));
        }
        std::vector<ContourPoint> list;
        for (auto [px, py] : p)
            list.push_back({px, py, {0, 0}, {0, 0}});
        thinList(list, tolerance);
        XY expected;
        for (size_t i : plainThinning(p, tolerance))
            expected.push_back(p[i]);
        ASSERT_EQ(coords(list), expected) << "round " << round;
    }
}

TEST(Thinning, MarkingSetsBit128OnTheKeptPointsOnlyAndKeepsShortProfilesWhole)
{
    ProfilePoints p = profile({{0, 0, S1}, {1, 0}, {2, 0, kSync}, {3, 0}, {3, 4}});
    markProfile(p, 0.1f);
    EXPECT_EQ(flags(p), (std::vector<int16_t>{S1 | kKeepMark, 0, kSync, kKeepMark, kKeepMark}));

    ProfilePoints two = profile({{0, 0}, {0, 0}});
    markProfile(two, 0.1f);
    EXPECT_EQ(numbersWith(two, kKeepMark), (std::vector<int32_t>{1, 2}));
}

TEST(TotalCleaning, ThinsEachProfileWithItsOwnToleranceAndDropsEveryMark)
{
    // Root 5000 wide: T = 1; the point 0.9 off the chord goes. Tip 50 wide:
    // T = 0.01; its point 0.9 off stays.
    Profils d = wing({{0, 0, S1}, {2500, 0.9f, kSync}, {5000, 0, kReference}, {5000, 100}},
                     {{0, 0, S1}, {25, 0.9f, S1}, {50, 0}, {50, 1}});
    std::vector<ContourPoint> lus;
    float tolerance = 0;
    const CleaningResult r = cleanTotal(d, lus, tolerance);
    EXPECT_EQ(xy(d.PointsE), (XY{{0, 0}, {5000, 0}, {5000, 100}}));
    EXPECT_EQ(xy(d.PointsS), (XY{{0, 0}, {25, 0.9f}, {50, 0}, {50, 1}}));
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>(3, 0)));
    EXPECT_EQ(flags(d.PointsS), (std::vector<int16_t>(4, 0)));
    EXPECT_FLOAT_EQ(tolerance, 50.0f / 5000.0f);
    EXPECT_EQ(lus.size(), 4u);
    EXPECT_TRUE(r.changed[Emplanture]);
    EXPECT_TRUE(r.changed[Saumon]);
    EXPECT_FALSE(r.notice);
}

TEST(SynchronousCleaning, KeepsAPairWhenOnlyTheRootNeedsItsPoint)
{
    // Twelve points on a line; the root turns a corner at point 7.
    std::vector<PointProfil> root, tip;
    for (int i = 1; i <= 12; ++i) {
        root.push_back({static_cast<float>(i), i <= 7 ? 0.0f : static_cast<float>(i - 7), 0});
        tip.push_back({static_cast<float>(i), 3, static_cast<int16_t>(i == 4 ? kSync | S1 : 0)});
    }
    Profils d;
    d.PointsE = ProfilePoints(root);
    d.PointsS = ProfilePoints(tip);
    const CleaningResult r = cleanSynchronous(d);
    EXPECT_EQ(xy(d.PointsE), (XY{{1, 0}, {7, 0}, {12, 5}}));
    EXPECT_EQ(xy(d.PointsS), (XY{{1, 3}, {7, 3}, {12, 3}}));
    EXPECT_TRUE(numbersWith(d.PointsE, kKeepMark).empty());
    EXPECT_TRUE(numbersWith(d.PointsS, kKeepMark).empty());
    EXPECT_TRUE(r.changed[Emplanture] && r.changed[Saumon]);
}

TEST(SynchronousCleaning, OtherFlagsTravelWithTheKeptPairs)
{
    Profils d = wing({{0, 0, kSync}, {1, 0}, {2, 0}, {2, 2, S1 | kReference}},
                     {{0, 0, kSync}, {1, 0}, {2, 0}, {2, 2, kSync}});
    cleanSynchronous(d);
    EXPECT_EQ(flags(d.PointsE), (std::vector<int16_t>{kSync, 0, S1 | kReference}));
    EXPECT_EQ(flags(d.PointsS), (std::vector<int16_t>{kSync, 0, kSync}));
}

TEST(SynchronousCleaning, ProfilesOfFewerThanThreePointsKeepThemAll)
{
    Profils d = wing({{0, 0, S1}, {0, 0}}, {{1, 1}, {1, 1}});
    const Profils before = d;
    const CleaningResult r = cleanSynchronous(d);
    EXPECT_EQ(d, before);
    EXPECT_FALSE(r.changed[Emplanture] || r.changed[Saumon]);
}

TEST(SynchronousCleaning, DifferentCountsAreRefusedUntouched)
{
    Profils d = wing({{0, 0}, {1, 0}, {2, 0}}, {{0, 0}, {2, 0}});
    const Profils before = d;
    const CleaningResult r = cleanSynchronous(d);
    EXPECT_EQ(d, before);
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, critical("Les profils n'ont pas le même nombre de points, le nettoyage synchrone est "
                                  "impossible.",
                                  "Choix impossible"));
}

TEST(Cleaning, AsksOnlyWhenTheCountsMatch)
{
    EXPECT_TRUE(cleaningOffersChoice(wing({{0, 0}}, {{1, 1}})));
    EXPECT_FALSE(cleaningOffersChoice(wing({{0, 0}}, {{1, 1}, {2, 2}})));
    const Notice q = cleaningQuestion();
    EXPECT_EQ(q.title, "Nettoyage");
    EXPECT_EQ(q.icon, NoticeIcon::Question);
    EXPECT_EQ(q.text, "Le nettoyage peut être total ou conserver les points synchrones si les profils ont le même "
                      "nombre de points.\r\nVoulez-vous conserver les points synchrones?");
}
