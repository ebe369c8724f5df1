// The reorganisation as sped up for large drawings (pieces read in place,
// streaming simplification, paired distance tests) against the plain
// version: the same nodes, bit for bit, on drawings of every kind.
#include "order/cutting_order.h"
#include "dxf_test_support.h"
#include "plain_cutting_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

using vx::Contour;
using vx::Node;
using vx::PointList;
using plain::referenceCuttingOrder;
using plain::referenceSimplify;

namespace {

::testing::AssertionResult identical(const PointList &a, const PointList &b)
{
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << a.size() << " nodes against " << b.size();
    for (size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(Node)) != 0)
            return ::testing::AssertionFailure() << "node " << i << ": (" << a[i].x << ", " << a[i].y << ") against ("
                                                 << b[i].x << ", " << b[i].y << ")";
    return ::testing::AssertionSuccess();
}

// A wobbly curve sampled finely, so that long chords and large hulls occur.
void addWiggle(PointList &list, int32_t contour, double x0, double y0, double scale, int n, double wobble,
               std::mt19937 &rng)
{
    std::uniform_real_distribution<double> jitter(-wobble, wobble);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        list.push_back({x0 + scale * t, y0 + scale * 0.2 * std::sin(6 * t) + jitter(rng), contour,
                        rng() % 97 == 0 ? vx::kKeep : 0});
    }
}

} // namespace

TEST(DxfPipeline, StreamingSimplificationGivesThePlainResult)
{
    std::mt19937 rng(21);
    for (int trial = 0; trial < 400; ++trial) {
        PointList pts;
        const double scale = std::pow(10.0, static_cast<double>(rng() % 10) - 3);
        addWiggle(pts, 1, scale * (rng() % 1000), -scale, scale, 1 + static_cast<int>(rng() % 300),
                  (rng() % 2) ? 1e-3 * scale : 0, rng);
        for (const double tolerance : {1e-4, 1e-12, 0.5, scale * scale * 1e-4}) {
            PointList a = pts, b = pts;
            vx::simplify(a, tolerance);
            referenceSimplify(b, tolerance);
            ASSERT_TRUE(identical(a, b)) << "trial " << trial << " tolerance " << tolerance;
        }
    }
}

TEST(DxfPipeline, CuttingOrderGivesThePlainResultOnShuffledPieces)
{
    std::mt19937 rng(4);
    for (int trial = 0; trial < 120; ++trial) {
        PointList list;
        int32_t contour = 0;
        // Wiggles cut into pieces at shared nodes, shuffled and some reversed,
        // with lattice segments that meet at their ends.
        std::vector<PointList> pieces;
        for (int w = 0; w < 1 + static_cast<int>(rng() % 4); ++w) {
            PointList curve;
            addWiggle(curve, 0, 10.0 * w, 5.0 * (rng() % 3), 10, 50 + static_cast<int>(rng() % 400), 2e-3, rng);
            for (size_t from = 0; from + 1 < curve.size();) {
                const size_t to = std::min(curve.size() - 1, from + 1 + rng() % 60);
                pieces.emplace_back(curve.begin() + static_cast<ptrdiff_t>(from), curve.begin() + static_cast<ptrdiff_t>(to) + 1);
                from = to;
            }
        }
        for (int s = 0; s < static_cast<int>(rng() % 30); ++s) {
            const double x0 = rng() % 5, y0 = rng() % 5, x1 = rng() % 5, y1 = rng() % 5;
            pieces.push_back({{x0, y0, 0, 0}, {x1 + (rng() % 4 == 0 ? 5e-5 : 0), y1, 0, 0}});
        }
        std::shuffle(pieces.begin(), pieces.end(), rng);
        for (PointList &p : pieces) {
            if (rng() % 2)
                std::reverse(p.begin(), p.end());
            ++contour;
            for (Node n : p) {
                n.contour = contour;
                list.push_back(n);
            }
        }
        ASSERT_TRUE(identical(vx::cuttingOrder(list), referenceCuttingOrder(list))) << "trial " << trial;
    }
}

TEST(DxfPipeline, CuttingOrderGivesThePlainResultOnRealDrawings)
{
    for (const char *name : {"dxf/d2g_Teile.dxf", "dxf/d2g_Polylinie.dxf", "dxf/gen_lwpolyline_bulges.dxf",
                             "dxf/gen_r12_lines_shuffled_with_hole.dxf", "dxf/dxfparser_ellipse.dxf",
                             "dxf/ezgen_blocks.dxf", "dxf/ezgen_mixed.dxf", "dxf/ezgen_splines.dxf"}) {
        const dxftest::Working w = dxftest::readWorking(vxtest::readBytes(vxtest::fixture(name)));
        ASSERT_EQ(w.result, 1) << name;
        EXPECT_TRUE(identical(vx::cuttingOrder(w.list), referenceCuttingOrder(w.list))) << name;
    }
}
