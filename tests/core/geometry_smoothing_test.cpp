// Smoothing command: the guard, the runs and their anchors, the splice, the
// runs the old scan skipped, and library failures.
#include "core/smoothing.h"

#include "geometry_test_support.h"

#include <random>

using namespace orv;
using namespace orv::test;

namespace {

// Stands in for LissageSequence: a mid-point between every two points.
int32_t densify(std::vector<ContourPoint> &buffer)
{
    if (buffer.size() < 3)
        return -109;
    std::vector<ContourPoint> out;
    for (size_t i = 0; i < buffer.size(); ++i) {
        if (i > 0)
            out.push_back({(buffer[i - 1].X + buffer[i].X) / 2, (buffer[i - 1].Y + buffer[i].Y) / 2, {0, 0}, {0, 0}});
        out.push_back(buffer[i]);
    }
    buffer = out;
    return static_cast<int32_t>(buffer.size());
}

// Points 1..n at (i, 0), the listed numbers selected.
ProfilePoints numbered(int32_t n, std::initializer_list<int32_t> selected)
{
    std::vector<PointProfil> v;
    for (int32_t i = 1; i <= n; ++i)
        v.push_back({static_cast<float>(i), 0, 0});
    for (int32_t i : selected)
        v[static_cast<size_t>(i) - 1].Flags = S1;
    return ProfilePoints(v);
}

std::vector<float> bufferXs(const std::vector<ContourPoint> &b)
{
    std::vector<float> v;
    for (const ContourPoint &p : b)
        v.push_back(p.X);
    return v;
}

// The command's scan as first written: fixed bound, resumes two places after
// the end anchor, splices in place. Used only where every run is reached.
void firstWrittenScan(std::vector<PointProfil> &p, const SmoothRun &smooth)
{
    p.insert(p.begin(), PointProfil{}); // number from 1
    const auto sel = [&](size_t i) { return p[i].has(kSelected); };
    size_t n = p.size() - 1;
    const size_t bound = n - 3;
    for (size_t i = 1; i <= bound;) {
        if (!(sel(i + 1) && sel(i + 2))) {
            ++i;
            continue;
        }
        std::vector<ContourPoint> buffer;
        for (size_t j = i;; ++j) {
            buffer.push_back({p[j].X, p[j].Y, {0, 0}, {0, 0}});
            if (j >= 2 && !sel(j) && sel(j - 1))
                break;
        }
        const size_t g = buffer.size(), m = static_cast<size_t>(smooth(buffer));
        p.resize(n - g + m + 1);
        for (size_t k = n; k >= i + g - 1; --k)
            p[k + m - g] = p[k];
        for (size_t j = i; j < i + m; ++j) {
            p[j].X = buffer[j - i].X;
            p[j].Y = buffer[j - i].Y;
            const bool anchor = j == i || j == i + m - 1;
            p[j].Flags = anchor ? static_cast<int16_t>(p[j].Flags & ~kSelected) : int16_t{0};
        }
        n = n - g + m;
        i += m + 1;
    }
    p.erase(p.begin());
}

} // namespace

TEST(Smoothing, ARunOfFourPointsIsHandedOverWithItsTwoAnchors)
{
    Profils d;
    d.PointsE = numbered(20, {5, 6, 7, 8});
    d.PointsS = numbered(3, {});
    std::vector<std::vector<float>> seen;
    const SmoothingResult r = smoothSelection(d, [&](std::vector<ContourPoint> &b) {
        seen.push_back(bufferXs(b));
        return densify(b);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::vector<float>{4, 5, 6, 7, 8, 9}));
    // g = 6, m = 11: five more points; the rest follows in order.
    ASSERT_EQ(d.NbPointsE(), 25);
    EXPECT_EQ(d.PointsE[3].X, 3);
    EXPECT_EQ(d.PointsE[4].X, 4);
    EXPECT_EQ(d.PointsE[5].X, 4.5f);
    EXPECT_EQ(d.PointsE[14].X, 9);
    EXPECT_EQ(d.PointsE[25].X, 20);
    EXPECT_TRUE(numbersWith(d.PointsE, kSelected).empty());
    EXPECT_TRUE(r.changed[Emplanture]);
    EXPECT_FALSE(r.changed[Saumon]);
    EXPECT_EQ(r.runs, 1);
    EXPECT_FALSE(r.notice);
}

TEST(Smoothing, TheGuardOnTheTipAloneRefusesTheWholeCommand)
{
    Profils d;
    d.PointsE = numbered(10, {4, 5, 6});
    d.PointsS = numbered(10, {1, 2});
    const Profils before = d;
    bool called = false;
    const SmoothingResult r = smoothSelection(d, [&](std::vector<ContourPoint> &b) {
        called = true;
        return densify(b);
    });
    EXPECT_TRUE(r.refused);
    EXPECT_FALSE(called);
    EXPECT_EQ(d, before);
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, critical("Le premier et le dernier segment ne peuvent pas être lissés. Pour les traiter, il "
                                  "faut renuméroter le profil",
                                  "Erreur de sélection"));
    d.PointsS = numbered(10, {9, 10});
    EXPECT_TRUE(smoothingGuard(d));
}

TEST(Smoothing, ALoneSelectedPointIsNeverSmoothed)
{
    Profils d;
    d.PointsE = numbered(10, {3, 6});
    d.PointsS = numbered(4, {2});
    const Profils before = d;
    const SmoothingResult r = smoothSelection(d, [](std::vector<ContourPoint> &) -> int32_t {
        ADD_FAILURE() << "no run expected";
        return -1;
    });
    EXPECT_EQ(d, before);
    EXPECT_EQ(r.runs, 0);
}

TEST(Smoothing, RunsOneOrTwoPointsApartAreEachSmoothedFromTheirOwnAnchor)
{
    Profils d;
    d.PointsE = numbered(14, {3, 4, 5, 7, 8, 9});
    d.PointsS = numbered(3, {});
    std::vector<std::vector<float>> seen;
    smoothSelection(d, [&](std::vector<ContourPoint> &b) {
        seen.push_back(bufferXs(b));
        return densify(b);
    });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::vector<float>{2, 3, 4, 5, 6}));
    EXPECT_EQ(seen[1], (std::vector<float>{6, 7, 8, 9, 10}));
    EXPECT_EQ(d.NbPointsE(), 14 + 4 + 4);
    EXPECT_TRUE(numbersWith(d.PointsE, kSelected).empty());

    // Two unselected points apart: the second run still starts at its own anchor.
    d.PointsE = numbered(14, {3, 4, 5, 8, 9, 10});
    seen.clear();
    smoothSelection(d, [&](std::vector<ContourPoint> &b) {
        seen.push_back(bufferXs(b));
        return densify(b);
    });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], (std::vector<float>{7, 8, 9, 10, 11}));
}

TEST(Smoothing, ARunAfterALoneSelectedPointIsSmoothedWithItsWholeBuffer)
{
    Profils d;
    d.PointsE = numbered(12, {3, 5, 6, 7});
    d.PointsS = numbered(3, {});
    std::vector<std::vector<float>> seen;
    const SmoothingResult r = smoothSelection(d, [&](std::vector<ContourPoint> &b) {
        seen.push_back(bufferXs(b));
        return densify(b);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::vector<float>{4, 5, 6, 7, 8}));
    EXPECT_EQ(r.failedRuns, 0);
}

TEST(Smoothing, RunsGrownPastTheFirstCountAreStillReached)
{
    // The first run adds 10 points; the second sits where the old count ends.
    Profils d;
    d.PointsE = numbered(20, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18});
    d.PointsS = numbered(3, {});
    const SmoothingResult r = smoothSelection(d, densify);
    EXPECT_EQ(r.runs, 2);
    EXPECT_TRUE(numbersWith(d.PointsE, kSelected).empty());
}

TEST(Smoothing, RunsTheFirstScanReachedComeOutTheSame)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 50; ++round) {
        // Runs of 2 to 6 selected points, at least three unselected points
        // apart (closer runs the first scan started late or skipped), within
        // the first 60 points of 200.
        std::vector<PointProfil> v;
        std::uniform_real_distribution<float> coord(-50, 50);
        for (int i = 0; i < 200; ++i)
            v.push_back({coord(rng), coord(rng), static_cast<int16_t>(i % 13 == 0 ? kSync : 0)});
        for (size_t i = 2 + rng() % 3; i < 60;) {
            const size_t len = 2 + rng() % 5;
            for (size_t k = i; k < i + len; ++k)
                v[k].Flags |= S1;
            i += len + 3 + rng() % 4;
        }
        std::vector<PointProfil> expected = v;
        firstWrittenScan(expected, densify);
        Profils d;
        d.PointsE = ProfilePoints(v);
        d.PointsS = numbered(3, {});
        smoothSelection(d, densify);
        ASSERT_EQ(d.PointsE.toVector(), expected) << "round " << round;
    }
}

TEST(Smoothing, TheAnchorsKeepTheirMarksAndTheNewPointsCarryNone)
{
    Profils d;
    d.PointsE = numbered(12, {4, 5, 6});
    d.PointsE.edit(3).Flags |= kSync;
    d.PointsE.edit(4).Flags |= kReference;
    d.PointsE.edit(7).Flags |= kSync;
    d.PointsE.edit(8).Flags |= kReference;
    d.PointsS = numbered(3, {});
    smoothSelection(d, densify); // buffer 3..7, nine points back
    ASSERT_EQ(d.NbPointsE(), 16);
    EXPECT_EQ(flags(d.PointsE),
              (std::vector<int16_t>{0, 0, kSync, 0, 0, 0, 0, 0, 0, 0, kSync, kReference, 0, 0, 0, 0}));
}

TEST(Smoothing, FailedRunsStayAsTheyWereAndAreReportedOnce)
{
    Profils d;
    d.PointsE = numbered(20, {3, 4, 5, 10, 11, 12});
    d.PointsS = numbered(10, {4, 5, 6});
    const Profils before = d;
    // The library refuses every run that starts left of X = 5.
    const SmoothingResult r = smoothSelection(d, [](std::vector<ContourPoint> &b) {
        return b.front().X < 5 ? -104 : densify(b);
    });
    EXPECT_EQ(r.runs, 1);
    EXPECT_EQ(r.failedRuns, 2);
    EXPECT_EQ(d.PointsS, before.PointsS);
    EXPECT_EQ(d.NbPointsE(), 24);
    EXPECT_EQ(numbersWith(d.PointsE, kSelected), (std::vector<int32_t>{3, 4, 5}));
    ASSERT_TRUE(r.notice);
    EXPECT_EQ(*r.notice, critical("2 séries de points sélectionnés n'ont pas pu être lissées (code d'erreur -104)."
                                  "\r\nCes points sont restés inchangés.",
                                  "Erreur de lissage"));
}
