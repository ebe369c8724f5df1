// B-spline sampling of the DXF reader: the windowed evaluation against the
// full Cox-de Boor sum, and SPLINE entities read from drawings.
#include "readers/dxf_reader.h"
#include "dxf_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace dxftest;
using vx::dxf::ControlPoint;

namespace {

// Cox-de Boor as written: order 1 is 1 on [t_i, t_i+1), a term whose knot
// difference is not positive counts as 0.
double basis(const std::vector<double> &t, size_t i, size_t k, double u)
{
    if (k == 1)
        return (t[i] <= u && u < t[i + 1]) ? 1.0 : 0.0;
    const double d1 = t[i + k - 1] - t[i];
    const double d2 = t[i + k] - t[i + 1];
    const double a = d1 > 0 ? (u - t[i]) / d1 * basis(t, i, k - 1, u) : 0.0;
    const double b = d2 > 0 ? (t[i + k] - u) / d2 * basis(t, i + 1, k - 1, u) : 0.0;
    return a + b;
}

ControlPoint fullSum(const std::vector<double> &t, const std::vector<ControlPoint> &p, size_t order, double u,
                     double &last)
{
    double x = 0, y = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const double n = basis(t, i, order, u);
        x += n * p[i].x;
        y += n * p[i].y;
        last = n;
    }
    return {x, y};
}

Dxf spline(const std::vector<ControlPoint> &cps, const std::vector<double> &knots, int flags, int degree = 3)
{
    Dxf d;
    d.entity("SPLINE").pair(8, "0").pair(100, "AcDbSpline").pair(210, 0.0).pair(220, 0.0).pair(230, 1.0);
    d.pair(70, flags).pair(71, degree).pair(72, static_cast<int>(knots.size())).pair(73, static_cast<int>(cps.size()));
    for (double k : knots)
        d.pair(40, k);
    for (const ControlPoint &c : cps)
        d.xy(10, c.x, c.y).pair(30, 0.0);
    return d;
}

Dxf fitSpline(const std::vector<ControlPoint> &fits, int flags = 0)
{
    Dxf d;
    d.entity("SPLINE").pair(8, "0").pair(100, "AcDbSpline").pair(70, flags).pair(71, 3).pair(72, 0).pair(73, 0);
    d.pair(74, static_cast<int>(fits.size()));
    for (const ControlPoint &f : fits)
        d.xy(11, f.x, f.y).pair(31, 0.0);
    return d;
}

// Distance from a point to the polyline of the working list.
double distanceToSamples(const vx::PointList &list, ControlPoint p)
{
    double best = 1e300;
    for (size_t i = 1; i < list.size(); ++i) {
        const double ax = list[i - 1].x, ay = list[i - 1].y, dx = list[i].x - ax, dy = list[i].y - ay;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - ax) * dx + (p.y - ay) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(ax + t * dx - p.x, ay + t * dy - p.y));
    }
    return best;
}

const std::vector<ControlPoint> kWave = {{0, 0}, {10, 20}, {20, -10}, {30, 15}, {40, 0}, {50, 5}};
const std::vector<double> kClamped = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3};

} // namespace

TEST(DxfSplineBasis, OnlyTheNonZeroBasisFunctionsGiveExactlyTheFullSum)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> coord(-100, 100);
    std::vector<double> scratch;
    for (int trial = 0; trial < 300; ++trial) {
        const size_t degree = trial % 6;
        const size_t n = degree + 1 + rng() % 6;
        std::vector<ControlPoint> cps(n);
        for (ControlPoint &c : cps)
            c = {coord(rng), coord(rng)};
        // Knots with repeats, sometimes not starting at 0.
        std::vector<double> knots(n + degree + 1);
        const double first = trial % 3 == 0 ? 0.5 * (rng() % 5) : 0;
        for (double &k : knots)
            k = first + static_cast<double>(rng() % 7) * 0.25;
        std::sort(knots.begin(), knots.end());
        for (int s = -5; s <= 45; ++s) {
            const double u = s * 0.05 + (s % 3) * 1e-3;
            double lastFull = -1, lastWindow = -1;
            const ControlPoint a = fullSum(knots, cps, degree + 1, u, lastFull);
            const ControlPoint b = vx::dxf::splinePoint(knots, cps, degree + 1, u, scratch, lastWindow);
            ASSERT_EQ(a.x, b.x) << "trial " << trial << " u " << u;
            ASSERT_EQ(a.y, b.y) << "trial " << trial << " u " << u;
            ASSERT_EQ(lastFull, lastWindow);
        }
    }
}

TEST(DxfSpline, APlanarSplineGivesAHundredSamplesPerControlPointThenItsLastControlPoint)
{
    const Working w = readWorking(entitiesFile(spline(kWave, kClamped, 8)));
    ASSERT_EQ(w.list.size(), 100 * kWave.size() + 1);
    EXPECT_NEAR(w.list.front().x, 0, 1e-12);
    EXPECT_NEAR(w.list.front().y, 0, 1e-12);
    // The last sample sits just before the end of the curve.
    EXPECT_NEAR(w.list[w.list.size() - 2].x, 50, 1e-2);
    EXPECT_EQ(w.list.back().x, 50);
    EXPECT_EQ(w.list.back().y, 5);
    for (const vx::Node &n : w.list) {
        EXPECT_GE(n.x, -1e-9);
        EXPECT_LE(n.x, 50 + 1e-9);
    }
}

TEST(DxfSpline, SamplesBeforeTheFirstKnotStartAtTheFirstControlPoint)
{
    std::vector<double> shifted = kClamped;
    for (double &k : shifted)
        k += 2;
    const Working w = readWorking(entitiesFile(spline(kWave, shifted, 8)));
    ASSERT_EQ(w.list.size(), 601u);
    // u runs from 0: everything below 2 is outside the knots.
    for (size_t i = 0; i < 200; ++i) {
        EXPECT_EQ(w.list[i].x, 0);
        EXPECT_EQ(w.list[i].y, 0);
    }
    EXPECT_GT(w.list[400].x, 0);
}

TEST(DxfSpline, AClosedSplineEndsOnItsFirstControlPoint)
{
    const Working w = readWorking(entitiesFile(spline(kWave, kClamped, 8 + 1)));
    ASSERT_EQ(w.list.size(), 602u);
    EXPECT_EQ(w.list.back().x, 0);
    EXPECT_EQ(w.list.back().y, 0);
}

TEST(DxfSpline, ASplineWithoutThePlanarFlagReadsLikeAPlanarOne)
{
    const Working planar = readWorking(entitiesFile(spline(kWave, kClamped, 8)));
    const Working free = readWorking(entitiesFile(spline(kWave, kClamped, 0)));
    ASSERT_EQ(free.result, 1);
    ASSERT_EQ(free.list.size(), planar.list.size());
    for (size_t i = 0; i < free.list.size(); ++i) {
        EXPECT_EQ(free.list[i].x, planar.list[i].x) << i;
        EXPECT_EQ(free.list[i].y, planar.list[i].y) << i;
    }
    EXPECT_EQ(readWorking(entitiesFile(spline(kWave, kClamped, 1))).list.back().x, 0);
}

TEST(DxfSpline, InconsistentKnotsGiveNothing)
{
    std::vector<double> missing(kClamped.begin(), kClamped.end() - 1);
    EXPECT_EQ(readWorking(entitiesFile(spline(kWave, missing, 8))).result, 0);
    EXPECT_EQ(readWorking(entitiesFile(spline(kWave, kClamped, 8, 4))).result, 0);
    std::vector<double> decreasing = kClamped;
    std::reverse(decreasing.begin(), decreasing.end());
    EXPECT_EQ(readWorking(entitiesFile(spline(kWave, decreasing, 8))).result, 0);
}

TEST(DxfSpline, AbsurdCountsAndDegreesAreSkipped)
{
    Dxf d;
    d.entity("SPLINE").pair(8, "0").pair(70, 8).pair(71, 3).pair(72, 1000000).pair(73, 1000000);
    d.entity("SPLINE").pair(8, "0").pair(70, 8).pair(71, 1000000000).pair(72, -4).pair(73, -9).pair(40, 0.0).xy(10, 1, 1);
    d.entity("SPLINE").pair(8, "0").pair(70, 8).pair(71, -3).pair(40, 0.0).xy(10, 1, 1);
    d.entity("SPLINE").pair(8, "0").pair(70, 8).pair(71, "99999999999999999999999").pair(40, 0.0);
    d.line(0, 0, 1, 1);
    const Working w = readWorking(entitiesFile(d));
    EXPECT_EQ(w.list.size(), 2u);
}

TEST(DxfSpline, AHighDegreeWithItsKnotsIsEvaluatedWithinTheWorkBudget)
{
    // Degree 40 over 41 control points: a valid Bézier-like curve.
    std::vector<ControlPoint> cps;
    for (int i = 0; i <= 40; ++i)
        cps.push_back({static_cast<double>(i), static_cast<double>(i % 2)});
    std::vector<double> knots(41, 0.0);
    knots.insert(knots.end(), 41, 1.0);
    const Working w = readWorking(entitiesFile(spline(cps, knots, 8, 40)));
    ASSERT_EQ(w.list.size(), 4101u);
    // Sample 2050 is at u = 2050/4099: x = 40·u, y ≈ 1/2.
    EXPECT_NEAR(w.list[2050].x, 40.0 * 2050 / 4099, 1e-9);
    EXPECT_NEAR(w.list[2050].y, 0.5, 1e-6);
}

TEST(DxfFitSpline, ACubicThroughThreeFitPointsPassesThroughThemWithNaturalEnds)
{
    const std::vector<ControlPoint> fits = {{0, 0}, {10, 10}, {30, 0}};
    const Working w = readWorking(entitiesFile(fitSpline(fits)));
    ASSERT_EQ(w.result, 1);
    // Sampled as the B-spline of its 5 control points, then its last one.
    ASSERT_EQ(w.list.size(), 501u);
    EXPECT_EQ(w.list.front().x, 0);
    EXPECT_EQ(w.list.front().y, 0);
    EXPECT_EQ(w.list.back().x, 30);
    EXPECT_EQ(w.list.back().y, 0);
    for (const ControlPoint &f : fits)
        EXPECT_LT(distanceToSamples(w.list, f), 1e-3) << f.x;
    // A natural end does not bend: the second difference grows from zero
    // at the first point along the first piece.
    const auto bend = [&](size_t i) {
        return std::hypot(w.list[i - 1].x - 2 * w.list[i].x + w.list[i + 1].x,
                          w.list[i - 1].y - 2 * w.list[i].y + w.list[i + 1].y);
    };
    EXPECT_LT(bend(1), 0.05 * bend(150));
}

TEST(DxfFitSpline, EndTangentsSetTheDirectionAtBothEnds)
{
    const std::vector<ControlPoint> fits = {{0, 30}, {15, 40}, {30, 30}};
    Dxf d = fitSpline(fits);
    d.xy(12, 0, 2).pair(32, 0.0).xy(13, 0, -5).pair(33, 0.0);
    const Working w = readWorking(entitiesFile(d));
    ASSERT_EQ(w.list.size(), 501u);
    for (const ControlPoint &f : fits)
        EXPECT_LT(distanceToSamples(w.list, f), 1e-3) << f.x;
    const auto direction = [&](size_t a, size_t b) {
        const double dx = w.list[b].x - w.list[a].x, dy = w.list[b].y - w.list[a].y;
        return std::atan2(dy, dx);
    };
    EXPECT_NEAR(direction(0, 1), std::atan2(1, 0), 0.02);
    EXPECT_NEAR(direction(w.list.size() - 2, w.list.size() - 1), std::atan2(-1, 0), 0.02);
    // Without them the curve leaves the first point towards the second.
    const Working natural = readWorking(entitiesFile(fitSpline(fits)));
    EXPECT_GT(natural.list[1].x - natural.list[0].x, 0);
}

TEST(DxfFitSpline, ControlPointsWinOverFitPointsAndDegenerateFitsGiveNothing)
{
    // Control points and fit points: the control points are sampled as before.
    Dxf both = spline(kWave, kClamped, 8);
    both.xy(11, 100, 100).xy(11, 200, 0);
    const Working w = readWorking(entitiesFile(both));
    EXPECT_EQ(w.list.size(), 601u);
    EXPECT_EQ(w.list.back().x, 50);

    EXPECT_EQ(readWorking(entitiesFile(fitSpline({{5, 5}}))).result, 0);
    EXPECT_EQ(readWorking(entitiesFile(fitSpline({{5, 5}, {5, 5}, {5, 5}}))).result, 0);
    // A repeated fit point adds no piece.
    EXPECT_EQ(readWorking(entitiesFile(fitSpline({{0, 0}, {0, 0}, {10, 0}}))).list.size(), 401u);
    // Points too far apart for their chord lengths to be summed.
    EXPECT_EQ(readWorking(entitiesFile(fitSpline({{-1e308, 0}, {1e308, 0}, {0, 1}}))).result, 0);
}

TEST(DxfFitSpline, AClosedFitSplineEndsOnItsFirstFitPoint)
{
    const Working w = readWorking(entitiesFile(fitSpline({{0, 0}, {10, 10}, {20, 0}}, 1)));
    ASSERT_EQ(w.list.size(), 502u);
    EXPECT_EQ(w.list.back().x, 0);
    EXPECT_EQ(w.list.back().y, 0);
}

TEST(DxfFitSpline, SplinesWrittenByEzdxfRead)
{
    // Two fit-point splines (one with end tangents) and one without the
    // planar flag, as ezdxf writes them.
    const Working w = readWorking(vxtest::readBytes(vxtest::fixture("dxf/ezgen_fit_splines.dxf")));
    ASSERT_EQ(w.result, 1);
    EXPECT_EQ(w.list.size(), 601u + 501u + 401u);
    for (ControlPoint f : std::vector<ControlPoint>{{0, 0}, {10, 10}, {20, 0}, {30, 10}, {0, 30}, {15, 40}, {30, 30}})
        EXPECT_LT(distanceToSamples(w.list, f), 1e-3) << f.x << "," << f.y;
    const vxtest::Read r = vxtest::lire(vxtest::fixture("dxf/ezgen_fit_splines.dxf"));
    ASSERT_GT(r.result, 0);
    EXPECT_EQ(vxtest::contourCount(r.points), 3);
}
