// Cleaning of straight runs (NettoyageFichier, PtClean) and of synchronised
// profiles (NettoyageSynchro, PtSyncClean), checked on small cases and against
// a plain point-by-point chord scan.
#include "tools/clean_chord.h"
#include "foundation/point_list.h"
#include "test_support.h"
#include "foundation/vx_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace vxtest;

namespace {

// The chord scan as the definition states it, every point at every step.
std::vector<size_t> plainScan(const std::vector<vx::Pt> &p, const std::vector<char> &stop, double tol2, bool backtrack,
                              bool alwaysLast)
{
    const size_t n = p.size();
    auto finite = [](const vx::Pt &q) { return std::isfinite(q.x) && std::isfinite(q.y); };
    auto passes = [&](const vx::Pt &a, const vx::Pt &m, const vx::Pt &e) {
        if (!finite(a) || !finite(m) || !finite(e))
            return false;
        if (vx::squaredDistanceToChord(m.x, m.y, a.x, a.y, e.x, e.y, tol2) < tol2)
            return true;
        const double ae2 = (e.x - a.x) * (e.x - a.x) + (e.y - a.y) * (e.y - a.y);
        return backtrack && !(ae2 < tol2) && vx::squaredDistanceToChord(e.x, e.y, a.x, a.y, m.x, m.y, tol2) < tol2;
    };
    std::vector<size_t> kept = {0};
    size_t s = 0;
    while (s + 2 < n) {
        for (size_t i = 1;; ++i) {
            const size_t e = s + i + 1;
            bool ok = !stop[s + i];
            for (size_t m = s + 1; ok && m < e; ++m)
                ok = passes(p[s], p[m], p[e]);
            if (!ok) {
                kept.push_back(s + i);
                s += i;
                break;
            }
            if (e == n - 1) {
                s = n;
                break;
            }
        }
    }
    const vx::Pt &last = p[n - 1], &prev = p[kept.back()];
    if (kept.back() != n - 1 &&
        (alwaysLast || !(std::fabs(last.x - prev.x) < 1e-6 && std::fabs(last.y - prev.y) < 1e-6)))
        kept.push_back(n - 1);
    return kept;
}

std::vector<vx::Pt> randomWalk(std::mt19937 &rng, size_t n)
{
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<vx::Pt> p;
    double x = 0, y = 0, dx = 1, dy = 0;
    while (p.size() < n) {
        switch (rng() % 5) {
        case 0: // a long straight run, sometimes doubling back
            for (int k = 0, len = 5 + static_cast<int>(rng() % 60); k < len; ++k) {
                x += dx * 0.3 + unit(rng) * 0.004;
                y += dy * 0.3 + unit(rng) * 0.004;
                p.push_back({x, y});
            }
            if (rng() % 2) {
                dx = -dx;
                dy = -dy;
            }
            break;
        case 1: // a turn
            dx = unit(rng);
            dy = unit(rng);
            break;
        case 2: // a small cluster
            for (int k = 0; k < 6; ++k)
                p.push_back({x + unit(rng) * 0.01, y + unit(rng) * 0.01});
            break;
        default:
            x += unit(rng);
            y += unit(rng);
            p.push_back({x, y});
        }
    }
    p.resize(n);
    return p;
}

std::vector<ContourPoint> line(int n)
{
    std::vector<ContourPoint> p;
    for (int i = 0; i < n; ++i)
        p.push_back(contourPoint(static_cast<float>(i), 2.0f * static_cast<float>(i)));
    return p;
}

int32_t nettoyer(Array &a, float tol) { return NettoyageFichier(a.ref(), &tol); }

class CleanFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }
};

} // namespace

TEST(ChordScan, MatchesThePointByPointScanOnRandomShapes)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const size_t n = 3 + rng() % 400;
        const std::vector<vx::Pt> p = randomWalk(rng, n);
        std::vector<char> stop(n, 0);
        if (round % 3 == 0)
            stop[rng() % n] = 1;
        const double tol = std::vector<double>{0.0, 0.003, 0.01, 0.05, 0.4, 3.0, 50.0}[static_cast<size_t>(round % 7)];
        const bool backtrack = round % 2 == 0;
        ASSERT_EQ(vx::chordScan(p, stop, tol * tol, backtrack, !backtrack),
                  plainScan(p, stop, tol * tol, backtrack, !backtrack))
            << "round " << round << " n " << n << " tol " << tol;
    }
}

TEST(ChordScan, MatchesThePointByPointScanOnLongRunsThatDoubleBack)
{
    // Out and back along one line: the far points pass only by the second test.
    std::vector<vx::Pt> p;
    for (int i = 0; i <= 300; ++i)
        p.push_back({i * 0.5, 1e-4 * (i % 7)});
    for (int i = 299; i >= 0; --i)
        p.push_back({i * 0.5 + 0.01, 2e-4 * (i % 5)});
    for (int i = 1; i <= 200; ++i)
        p.push_back({-0.3 * i, 0.2 * i});
    const std::vector<char> stop(p.size(), 0);
    for (double tol : {0.001, 0.01, 0.1})
        EXPECT_EQ(vx::chordScan(p, stop, tol * tol, true, false), plainScan(p, stop, tol * tol, true, false));
}

TEST(Clean, TenCollinearPointsKeepTheirEnds)
{
    Array a(line(10));
    ASSERT_EQ(nettoyer(a, 0.01f), 2);
    const auto out = a.items<ContourPoint>();
    EXPECT_EQ(out[0].X, 0.0f);
    EXPECT_EQ(out[1].X, 9.0f);
    EXPECT_EQ(out[1].Y, 18.0f);
    EXPECT_EQ(pen(out[0]), "PD");
    EXPECT_EQ(tag(out[1]), " A");
}

TEST(Clean, APointMarkedToKeepSurvivesOnAStraightLine)
{
    std::vector<ContourPoint> in = line(10);
    in[4] = contourPoint(4, 8, " Z", "PC");
    in[9] = contourPoint(9, 18, " Z", "PC");
    Array a(in);
    ASSERT_EQ(nettoyer(a, 0.01f), 3);
    const auto out = a.items<ContourPoint>();
    EXPECT_EQ(out[1].X, 4.0f);
    EXPECT_EQ(pen(out[1]), "PC");
    EXPECT_EQ(tag(out[1]), " A");
    EXPECT_EQ(pen(out[0]), "PD");
    // The mark of a kept end is not lost either.
    EXPECT_EQ(pen(out[2]), "PC");
}

TEST(Clean, CornersStayAndPointsBackOnTheWayAreDropped)
{
    // Along X, back a little, then up: the point at x = 6 goes, the corner at 8 stays.
    Array a(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(4, 0), contourPoint(8, 0), contourPoint(6, 0),
                                      contourPoint(6, 5)});
    ASSERT_EQ(nettoyer(a, 0.01f), 3);
    const auto out = a.items<ContourPoint>();
    EXPECT_EQ(out[1].X, 6.0f);
    EXPECT_EQ(out[1].Y, 0.0f);
    EXPECT_EQ(out[2].Y, 5.0f);
}

TEST(Clean, TheLastPointIsNotRepeated)
{
    Array a(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(1, 0), contourPoint(1, 0)});
    ASSERT_EQ(nettoyer(a, 0.0f), 2);
    const auto out = a.items<ContourPoint>();
    EXPECT_EQ(out[1].X, 1.0f);
}

TEST(Clean, ShortArraysAreLeftAsTheyAre)
{
    Array a(std::vector<ContourPoint>{contourPoint(0, 0, " Q", "PU"), contourPoint(0, 0, " Q", "PU")});
    EXPECT_EQ(nettoyer(a, 1.0f), 2);
    EXPECT_EQ(pen(a.items<ContourPoint>()[0]), "PU");
    EXPECT_EQ(tag(a.items<ContourPoint>()[1]), " Q");
}

TEST(Clean, SequenceRecordsUseMarkFourAsTheKeepMark)
{
    std::vector<SequencePoint> in;
    for (int i = 0; i < 8; ++i)
        in.push_back(SequencePoint{static_cast<float>(i), 0, static_cast<int16_t>(i == 3 ? 4 : 1), 7});
    Array a(in);
    float tol = 0.01f;
    ASSERT_EQ(PtClean(a.ref(), &tol), 3);
    const auto out = a.items<SequencePoint>();
    EXPECT_EQ(out[1].X, 3.0f);
    EXPECT_EQ(out[1].Mark, 4);
    EXPECT_EQ(out[0].Mark, 0);
    EXPECT_EQ(out[2].Sequence, 0);
}

TEST(Clean, NonFiniteCoordinatesAreKeptWithoutHarm)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<ContourPoint> in = line(20);
    in[5].X = nan;
    in[12].Y = inf;
    Array a(in);
    const int32_t n = nettoyer(a, 0.01f);
    ASSERT_GT(n, 2);
    const auto out = a.items<ContourPoint>();
    EXPECT_EQ(std::count_if(out.begin(), out.end(), [](const ContourPoint &p) { return std::isnan(p.X); }), 1);
    Array b(line(6));
    EXPECT_EQ(nettoyer(b, nan), 6);
    Array c(line(6));
    EXPECT_EQ(nettoyer(c, inf), 2);
}

TEST(SyncClean, KeepsAPairWhereEitherProfileHasACorner)
{
    std::vector<PointPair> in;
    for (int i = 0; i < 10; ++i) {
        const auto f = static_cast<float>(i);
        in.push_back(PointPair{f, 0, f, i <= 6 ? 0.0f : f - 6.0f});
    }
    in[3].Y1 = 2.0f; // a corner of the first profile only
    Array a(in);
    float tol = 0.01f;
    ASSERT_EQ(NettoyageSynchro(a.ref(), &tol), 6);
    const auto out = a.items<PointPair>();
    ASSERT_EQ(out.size(), 10u);
    const std::vector<float> kept = {0, 2, 3, 4, 6, 9};
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(out[i].X1, kept[i]) << i;
    EXPECT_EQ(out[4].Y2, 0.0f);
    EXPECT_EQ(out[5].Y2, 3.0f);
    EXPECT_EQ(a.get()->locks, 0);
}

TEST(SyncClean, BothNamesAreOneFunction)
{
    EXPECT_EQ(reinterpret_cast<void *>(&PtSyncClean), reinterpret_cast<void *>(&NettoyageSynchro));
    std::vector<PointPair> in;
    for (int i = 0; i < 5; ++i)
        in.push_back(PointPair{static_cast<float>(i), 0, 0, static_cast<float>(i)});
    Array a(in);
    float tol = 0.1f;
    EXPECT_EQ(PtSyncClean(a.ref(), &tol), 2);
    EXPECT_EQ(a.get()->count, 5);
    EXPECT_EQ(a.items<PointPair>()[1].X1, 4.0f);
}

TEST(SyncClean, ShortOrInvalidArraysAreNotTouched)
{
    Array a(std::vector<PointPair>{PointPair{1, 2, 3, 4}, PointPair{1, 2, 3, 4}});
    float tol = 1;
    EXPECT_EQ(NettoyageSynchro(a.ref(), &tol), 2);
    Array wrong(sizeof(SequencePoint), 4);
    EXPECT_EQ(NettoyageSynchro(wrong.ref(), &tol), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(NettoyageSynchro(nullptr, &tol), VX_ERR_ARRAY_LOCK);
}

TEST_F(CleanFailures, EachResizeStepReportsItsCode)
{
    Array a(line(10));
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(nettoyer(a, 0.01f), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(a.get()->count, 10);

    vx::testing::failArrayStep(vx::ArrayStep::Free);
    EXPECT_EQ(nettoyer(a, 0.01f), VX_ERR_ARRAY_FREE);
    EXPECT_EQ(a.get()->count, 10);
    EXPECT_EQ(a.get()->locks, 0);

    vx::testing::failArrayStep(vx::ArrayStep::Alloc);
    EXPECT_EQ(nettoyer(a, 0.01f), VX_ERR_ARRAY_ALLOC);
    EXPECT_EQ(a.get()->count, 2);
    EXPECT_EQ(a.get()->data, nullptr);
    EXPECT_EQ(a.get()->locks, 0);
}
