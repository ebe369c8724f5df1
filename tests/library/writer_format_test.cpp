// Numbers in written files read exactly as C "%f" prints them in the C locale.
#include "writers/writer_common.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace {

std::string printfFixed(double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%f", v);
    return buf;
}

} // namespace

TEST(FixedFormat, MatchesPrintfOnEdgeValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0, -0.0, 1.0, -1.0, 0.5, 1e-7, -1e-7, 4e-7, 5e-7, 6e-7, -4.9e-7, 0.0000005, 0.0078125,
                     -0.0078125, 0.0234375, 2.5e-6, 1234567.8901234, 1e15, 1e20, 3.4028234663852886e38, DBL_MAX,
                     -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, inf, -inf})
        EXPECT_EQ(vx::formatFixed(v), printfFixed(v)) << v;
    // A tiny negative prints its sign, as printf does.
    EXPECT_EQ(vx::formatFixed(-1e-9), "-0.000000");
    EXPECT_EQ(vx::formatFixed(-0.0), "-0.000000");
    EXPECT_EQ(vx::formatFixed(std::nan("")), "nan");
    EXPECT_EQ(vx::formatFixed(-std::nan("")), "-nan");
}

TEST(FixedFormat, MatchesPrintfOnRandomValuesAndAllTiesOfSixDecimals)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-12, 25);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    for (int i = 0; i < 200000; ++i) {
        const double d = mantissa(rng) * std::pow(10.0, exponent(rng));
        ASSERT_EQ(vx::formatFixed(d), printfFixed(d)) << d;
        const float f = static_cast<float>(d);
        ASSERT_EQ(vx::formatFixed(f), printfFixed(f)) << f;
    }
    // Exact binary halves at the seventh decimal: k/128 and its like round to even.
    for (int k = -4000; k <= 4000; ++k) {
        const double v = k / 128.0;
        ASSERT_EQ(vx::formatFixed(v), printfFixed(v)) << v;
        const double w = k / 1024.0 + 1000;
        ASSERT_EQ(vx::formatFixed(w), printfFixed(w)) << w;
    }
}
