// B-spline sampling of the DXF reader: the windowed evaluation against the
// full Cox-de Boor sum, and SPLINE entities read from drawings.
#include "readers/dxf_reader.h"
#include "dxf_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(DxfSpline, NonPlanarSplinesAndInconsistentKnotsGiveNothing)
{
    EXPECT_EQ(readWorking(entitiesFile(spline(kWave, kClamped, 0))).result, 0);
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
