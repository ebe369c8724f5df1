// Hermite smoothing of open and closed polylines (LissageSequence, PtSmooth).
#include "test_support.h"
#include "foundation/vx_array.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vxtest;

namespace {

struct Smoothed {
    int32_t result;
    std::vector<ContourPoint> points;
};

Smoothed lisser(const std::vector<ContourPoint> &in)
{
    Array a(in);
    Smoothed s;
    s.result = LissageSequence(a.ref());
    s.points = a.items<ContourPoint>();
    return s;
}

// Derivative at the first of four samples h apart, exact for a cubic.
std::pair<double, double> startTangent(const ContourPoint &p0, const ContourPoint &p1, const ContourPoint &p2,
                                       const ContourPoint &p3, double h)
{
    return {(-11.0 * p0.X + 18.0 * p1.X - 9.0 * p2.X + 2.0 * p3.X) / (6 * h),
            (-11.0 * p0.Y + 18.0 * p1.Y - 9.0 * p2.Y + 2.0 * p3.Y) / (6 * h)};
}

std::vector<ContourPoint> closedSquare()
{
    return {contourPoint(0, 0), contourPoint(10, 0), contourPoint(10, 10), contourPoint(0, 10), contourPoint(0, 0)};
}

class SmoothFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }
};

} // namespace

TEST(Smooth, ThreeOpenPointsKeepOnlyTheirEnds)
{
    const Smoothed s = lisser({contourPoint(0, 0), contourPoint(5, 3), contourPoint(10, 0)});
    ASSERT_EQ(s.result, 2);
    ASSERT_EQ(s.points.size(), 2u);
    EXPECT_EQ(s.points[0].X, 0.0f);
    EXPECT_EQ(s.points[1].X, 10.0f);
}

TEST(Smooth, FourOpenPointsGiveTheEndsAndOneCurvedSegment)
{
    const std::vector<ContourPoint> in = {contourPoint(0, 0, " A", "PD"), contourPoint(10, 0, " A", "PC"),
                                          contourPoint(20, 10, " B", "PD"), contourPoint(30, 10, " B", "PD")};
    const Smoothed s = lisser(in);
    ASSERT_EQ(s.result, 13);
    ASSERT_EQ(s.points.size(), 13u);
    EXPECT_EQ(s.points[0].X, 0.0f);
    EXPECT_EQ(s.points[1].X, 10.0f);
    EXPECT_EQ(s.points[1].Y, 0.0f);
    EXPECT_FLOAT_EQ(s.points[11].X, 20.0f);
    EXPECT_FLOAT_EQ(s.points[11].Y, 10.0f);
    EXPECT_EQ(s.points[12].X, 30.0f);
    // Every point of the segment takes the pen and tag of its start.
    for (int k = 1; k <= 11; ++k) {
        EXPECT_EQ(pen(s.points[k]), "PC");
        EXPECT_EQ(tag(s.points[k]), " A");
    }
    EXPECT_EQ(tag(s.points[12]), " B");
    // One-sided end tangents: (P1 - P0) / 4 and (P3 - P2) / 4, per unit t.
    const auto t0 = startTangent(s.points[1], s.points[2], s.points[3], s.points[4], 0.1);
    EXPECT_NEAR(t0.first, 2.5, 1e-3);
    EXPECT_NEAR(t0.second, 0.0, 1e-3);
    const auto t1 = startTangent(s.points[11], s.points[10], s.points[9], s.points[8], -0.1);
    EXPECT_NEAR(t1.first, 2.5, 1e-3);
    EXPECT_NEAR(t1.second, 0.0, 1e-3);
    // The middle follows the Hermite formula at t = 0.5.
    EXPECT_NEAR(s.points[6].X, 0.5 * 10 + 0.5 * 20 + 0.125 / 4 * 10 - 0.125 / 4 * 10, 1e-4);
    EXPECT_NEAR(s.points[6].Y, 0.5 * 10 + 0.125 / 4 * 0 - 0.125 / 4 * 0, 1e-4);
}

TEST(Smooth, AClosedSquareGivesElevenPointsASideWithoutAKinkAtItsStart)
{
    const Smoothed s = lisser(closedSquare());
    ASSERT_EQ(s.result, 44);
    ASSERT_EQ(s.points.size(), 44u);
    EXPECT_EQ(s.points.front().X, 0.0f);
    EXPECT_EQ(s.points.front().Y, 0.0f);
    EXPECT_EQ(s.points.back().X, 0.0f);
    EXPECT_EQ(s.points.back().Y, 0.0f);
    const auto out = startTangent(s.points[0], s.points[1], s.points[2], s.points[3], 0.1);
    const auto in = startTangent(s.points[43], s.points[42], s.points[41], s.points[40], -0.1);
    EXPECT_NEAR(out.first, in.first, 1e-3);
    EXPECT_NEAR(out.second, in.second, 1e-3);
    // (P1 - P3) / 4 with the ring's neighbours of the start.
    EXPECT_NEAR(out.first, 2.5, 1e-3);
    EXPECT_NEAR(out.second, -2.5, 1e-3);
}

TEST(Smooth, ConsecutiveSegmentsRepeatTheirJoint)
{
    const Smoothed closed = lisser(closedSquare());
    for (int g = 0; g + 1 < 4; ++g) {
        EXPECT_EQ(closed.points[11 * g + 10].X, closed.points[11 * g + 11].X);
        EXPECT_EQ(closed.points[11 * g + 10].Y, closed.points[11 * g + 11].Y);
    }
    const Smoothed open = lisser({contourPoint(0, 0), contourPoint(1, 2), contourPoint(3, 3), contourPoint(6, 2),
                                  contourPoint(8, 0)});
    ASSERT_EQ(open.result, 24);
    EXPECT_EQ(open.points[11].X, open.points[12].X);
    EXPECT_EQ(open.points[11].Y, open.points[12].Y);
}

TEST(Smooth, SequenceRecordsKeepTheirMarkAndSequence)
{
    std::vector<SequencePoint> in(5);
    for (int i = 0; i < 5; ++i)
        in[static_cast<size_t>(i)] = SequencePoint{static_cast<float>(i), static_cast<float>(i * i), static_cast<int16_t>(i),
                                                   static_cast<int16_t>(10 + i)};
    Array a(in);
    ASSERT_EQ(PtSmooth(a.ref()), 24);
    const auto out = a.items<SequencePoint>();
    EXPECT_EQ(out[0].Sequence, 10);
    EXPECT_EQ(out[1].Mark, 1);
    EXPECT_EQ(out[1].Sequence, 11);
    EXPECT_EQ(out[12].Sequence, 12);
    EXPECT_EQ(out[23].Mark, 4);
}

TEST(Smooth, FewerThanThreePointsAreRefusedUnchanged)
{
    Array a(std::vector<ContourPoint>{contourPoint(1, 1), contourPoint(2, 2)});
    EXPECT_EQ(LissageSequence(a.ref()), VX_ERR_TOO_FEW);
    EXPECT_EQ(a.get()->count, 2);
    EXPECT_EQ(a.items<ContourPoint>()[1].X, 2.0f);
    EXPECT_EQ(a.get()->locks, 0);
    Array wrong(sizeof(SequencePoint), 5);
    EXPECT_EQ(LissageSequence(wrong.ref()), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(LissageSequence(nullptr), VX_ERR_ARRAY_LOCK);
}

TEST(Smooth, NonFiniteCoordinatesGiveASoundResult)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Smoothed s = lisser({contourPoint(0, 0), contourPoint(nan, 1), contourPoint(inf, 2), contourPoint(3, -inf),
                               contourPoint(4, 4)});
    EXPECT_EQ(s.result, 24);
    EXPECT_EQ(s.points.front().X, 0.0f);
    EXPECT_EQ(s.points.back().X, 4.0f);
}

TEST_F(SmoothFailures, EachResizeStepReportsItsCode)
{
    Array a(closedSquare());
    vx::testing::failArrayStep(vx::ArrayStep::Free);
    EXPECT_EQ(LissageSequence(a.ref()), VX_ERR_ARRAY_FREE);
    EXPECT_EQ(a.get()->count, 5);
    EXPECT_EQ(a.get()->locks, 0);

    vx::testing::failArrayStep(vx::ArrayStep::Alloc);
    EXPECT_EQ(LissageSequence(a.ref()), VX_ERR_ARRAY_ALLOC);
    EXPECT_EQ(a.get()->count, 44);
    EXPECT_EQ(a.get()->data, nullptr);

    Array b(closedSquare());
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(LissageSequence(b.ref()), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(b.get()->count, 5);
    EXPECT_EQ(b.get()->locks, 0);
    // The second lock is the one of the resize: the array has its new count.
    vx::testing::failArrayStep(vx::ArrayStep::Lock, 1);
    EXPECT_EQ(LissageSequence(b.ref()), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(b.get()->count, 44);
    EXPECT_EQ(b.get()->locks, 0);
}
