// The resize steps of the caller's arrays and their failure codes.
#include "test_support.h"
#include "foundation/vx_array.h"

#include <gtest/gtest.h>

using namespace vxtest;

namespace {

class ArrayFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }
    TempDir dir;
    std::string path = dir.write("p.dat", "T\n0 0\n1 0\n1 1\n");

    int32_t read(Array &a)
    {
        std::string name = path;
        char *namePtr = name.data();
        float x0, x1, y0, y1;
        return LireFichier(a.ref(), &namePtr, &x0, &x1, &y0, &y1, nullptr);
    }
};

} // namespace

TEST_F(ArrayFailures, FreeFailureLeavesTheArrayAsItWas)
{
    Array a(std::vector<ContourPoint>{contourPoint(1, 2), contourPoint(3, 4)});
    vx::testing::failArrayStep(vx::ArrayStep::Free);
    EXPECT_EQ(read(a), VX_ERR_ARRAY_FREE);
    EXPECT_EQ(a.get()->count, 2);
    EXPECT_EQ(a.get()->locks, 0);
}

TEST_F(ArrayFailures, AllocationFailureKeepsTheNewCountWithoutData)
{
    Array a(sizeof(ContourPoint), 5);
    vx::testing::failArrayStep(vx::ArrayStep::Alloc);
    EXPECT_EQ(read(a), VX_ERR_ARRAY_ALLOC);
    EXPECT_EQ(a.get()->count, 3);
    EXPECT_EQ(a.get()->data, nullptr);
}

TEST_F(ArrayFailures, LockFailureKeepsTheNewCountAndData)
{
    Array a(sizeof(ContourPoint));
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(read(a), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(a.get()->count, 3);
    EXPECT_EQ(a.get()->locks, 0);
}

TEST_F(ArrayFailures, AnArrayLockedByItsOwnerCannotBeReplaced)
{
    Array a(sizeof(ContourPoint), 1);
    a.get()->locks = 1;
    EXPECT_EQ(read(a), VX_ERR_ARRAY_FREE);
    EXPECT_NE(a.get()->data, nullptr);
    a.get()->locks = 0;
}

TEST_F(ArrayFailures, RecordsOfAnotherSizeOrNoDescriptorAreRefused)
{
    Array wrong(12);
    EXPECT_EQ(read(wrong), VX_ERR_ARRAY_LOCK);
    std::string name = path;
    char *namePtr = name.data();
    float x0, x1, y0, y1;
    EXPECT_EQ(LireFichier(nullptr, &namePtr, &x0, &x1, &y0, &y1, nullptr), VX_ERR_ARRAY_LOCK);
}

TEST(ArrayHelpers, CreateRefusesNonsenseAndDestroyAcceptsNull)
{
    EXPECT_EQ(VxArrayCreate(0, 1), nullptr);
    EXPECT_EQ(VxArrayCreate(16, -1), nullptr);
    VxArray *a = VxArrayCreate(16, 3);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->count, 3);
    EXPECT_EQ(static_cast<const char *>(a->data)[47], 0);
    VxArrayDestroy(a);
    VxArrayDestroy(nullptr);
}

TEST(ArrayHelpers, AnyLowerBoundIsFilledFromTheFirstElement)
{
    TempDir dir;
    Array a(sizeof(ContourPoint));
    a.get()->lowerBound = 1;
    std::string name = dir.write("p.dat", "0 0\n2 0\n");
    char *namePtr = name.data();
    float x0, x1, y0, y1;
    ASSERT_EQ(LireFichier(a.ref(), &namePtr, &x0, &x1, &y0, &y1, nullptr), 2);
    EXPECT_EQ(a.get()->lowerBound, 1);
    EXPECT_FLOAT_EQ(a.items<ContourPoint>()[1].X, 2.0f);
    EXPECT_EQ(Version(), 64);
    EXPECT_EQ(SoudeSequences(nullptr, nullptr), 0);
}
