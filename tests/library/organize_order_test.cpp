// SeqOrganize: cutting order of the contours of a SequencePoint array, with
// the records otherwise unchanged.
#include "test_support.h"
#include "foundation/vx_array.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vxtest;

namespace {

void addSquare(std::vector<SequencePoint> &pts, float x, float y, float side, int16_t sequence, int16_t mark = 0)
{
    const float c[5][2] = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
    for (const auto &p : c)
        pts.push_back(SequencePoint{p[0], p[1], mark, sequence});
}

std::vector<SequencePoint> organize(const std::vector<SequencePoint> &in, int32_t *result)
{
    Array a(in);
    *result = SeqOrganize(a.ref());
    return a.items<SequencePoint>();
}

class OrganizeFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }
};

} // namespace

TEST(Organize, HolesComeBeforeTheirOutlineWithoutBeingReversed)
{
    std::vector<SequencePoint> in;
    addSquare(in, 0, 0, 100, 3, 5);
    addSquare(in, 40, 40, 10, 8);
    int32_t n = 0;
    const auto out = organize(in, &n);
    ASSERT_EQ(n, 10);
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(out[0].X, 40.0f);
    EXPECT_EQ(out[1].X, 50.0f); // same direction as given
    EXPECT_EQ(out[0].Sequence, 8);
    EXPECT_EQ(out[5].X, 0.0f);
    EXPECT_EQ(out[5].Sequence, 3);
    EXPECT_EQ(out[5].Mark, 5); // the whole record comes back
}

TEST(Organize, NeighboursFollowTheNearestNextOrder)
{
    std::vector<SequencePoint> in;
    addSquare(in, 200, 0, 10, 0);
    addSquare(in, 0, 0, 10, 1);
    addSquare(in, 100, 0, 10, 2);
    int32_t n = 0;
    const auto out = organize(in, &n);
    ASSERT_EQ(n, 15);
    EXPECT_EQ(out[0].X, 0.0f);
    EXPECT_EQ(out[5].X, 100.0f);
    EXPECT_EQ(out[10].X, 200.0f);
}

TEST(Organize, RepeatedPointsAreRemovedAndSharedNumbersRenumbered)
{
    std::vector<SequencePoint> in;
    addSquare(in, 100, 0, 10, 0);
    in.insert(in.begin() + 2, SequencePoint{110, 0.0000004f, 0, 0});
    addSquare(in, 200, 0, 10, 1);
    addSquare(in, 0, 0, 10, 0); // same number as the first, apart from it
    int32_t n = 0;
    const auto out = organize(in, &n);
    ASSERT_EQ(n, 15);
    // The two contours numbered 0 now meet: all are numbered in order.
    EXPECT_EQ(out[0].Sequence, 0);
    EXPECT_EQ(out[5].Sequence, 1);
    EXPECT_EQ(out[10].Sequence, 2);
}

TEST(Organize, ContoursWithNonFiniteCoordinatesFollowUnchanged)
{
    std::vector<SequencePoint> in;
    addSquare(in, 0, 0, 10, 0);
    in.push_back(SequencePoint{std::numeric_limits<float>::quiet_NaN(), 1, 0, 1});
    in.push_back(SequencePoint{std::numeric_limits<float>::infinity(), 1, 0, 1});
    addSquare(in, -50, -50, 5, 2);
    int32_t n = 0;
    const auto out = organize(in, &n);
    ASSERT_EQ(n, 12);
    EXPECT_EQ(out[0].X, -50.0f);
    EXPECT_EQ(out[5].X, 0.0f);
    EXPECT_TRUE(std::isnan(out[10].X));
    EXPECT_TRUE(std::isinf(out[11].X));
}

TEST(Organize, AnEmptyArrayStaysEmptyAndAWrongOneIsRefused)
{
    int32_t n = -1;
    EXPECT_TRUE(organize({}, &n).empty());
    EXPECT_EQ(n, 0);
    Array wrong(sizeof(ContourPoint), 3);
    EXPECT_EQ(SeqOrganize(wrong.ref()), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(SeqOrganize(nullptr), VX_ERR_ARRAY_LOCK);
}

TEST(Organize, SoudeSequencesDoesNothingAndSaysSo)
{
    int32_t a = 7;
    EXPECT_EQ(SoudeSequences(&a, nullptr), 0);
    EXPECT_EQ(SoudeSequences(nullptr, nullptr), 0);
    EXPECT_EQ(a, 7);
}

TEST_F(OrganizeFailures, EachResizeStepReportsItsCode)
{
    std::vector<SequencePoint> in;
    addSquare(in, 0, 0, 10, 0);
    Array a(in);
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(SeqOrganize(a.ref()), VX_ERR_ARRAY_LOCK);
    vx::testing::failArrayStep(vx::ArrayStep::Free);
    EXPECT_EQ(SeqOrganize(a.ref()), VX_ERR_ARRAY_FREE);
    EXPECT_EQ(a.items<SequencePoint>()[1].X, 10.0f);
    vx::testing::failArrayStep(vx::ArrayStep::Alloc);
    EXPECT_EQ(SeqOrganize(a.ref()), VX_ERR_ARRAY_ALLOC);
    EXPECT_EQ(a.get()->count, 5);
    EXPECT_EQ(a.get()->data, nullptr);
    EXPECT_EQ(a.get()->locks, 0);
}
