// The chunked point list: behaves like a plain vector, copies share storage
// and stay unchanged whatever is done to the original.
#include "core/document.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace orv;

namespace {

PointProfil pt(float x, float y = 0, int16_t flags = 0)
{
    return {x, y, flags};
}

std::vector<PointProfil> line(int32_t n, float start = 0)
{
    std::vector<PointProfil> v;
    for (int32_t i = 0; i < n; ++i)
        v.push_back(pt(start + static_cast<float>(i), static_cast<float>(i) * 0.5f));
    return v;
}

size_t distinctChunks(std::initializer_list<const ProfilePoints *> lists)
{
    std::vector<ProfilePoints::ChunkRef> refs;
    for (auto *l : lists)
        l->chunks(refs);
    std::set<const void *> ids;
    for (auto &r : refs)
        ids.insert(r.id);
    return ids.size();
}

size_t chunkCount(const ProfilePoints &p)
{
    std::vector<ProfilePoints::ChunkRef> refs;
    p.chunks(refs);
    return refs.size();
}

void expectSame(const ProfilePoints &p, const std::vector<PointProfil> &v)
{
    ASSERT_EQ(p.count(), static_cast<int32_t>(v.size()));
    EXPECT_EQ(p.toVector(), v);
    int32_t seen = 0;
    p.forEach([&](int32_t i, const PointProfil &q) {
        ++seen;
        ASSERT_EQ(q, v[static_cast<size_t>(i - 1)]);
    });
    EXPECT_EQ(seen, p.count());
    for (int32_t i = 1; i <= p.count(); i += 97)
        ASSERT_EQ(p[i], v[static_cast<size_t>(i - 1)]);
}

} // namespace

TEST(ProfilePoints, NumbersPointsFromOne)
{
    ProfilePoints p(line(3, 10));
    EXPECT_EQ(p.count(), 3);
    EXPECT_EQ(p[1].X, 10);
    EXPECT_EQ(p[3].X, 12);
    EXPECT_THROW(p[0], std::out_of_range);
    EXPECT_THROW(p[4], std::out_of_range);
    ProfilePoints empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_THROW(empty[1], std::out_of_range);
    EXPECT_THROW(empty.edit(1), std::out_of_range);
}

TEST(ProfilePoints, RejectsRangesOutsideTheList)
{
    ProfilePoints p(line(5));
    EXPECT_THROW(p.insert(0, pt(1)), std::out_of_range);
    EXPECT_THROW(p.insert(7, pt(1)), std::out_of_range);
    EXPECT_THROW(p.erase(5, 2), std::out_of_range);
    EXPECT_THROW(p.erase(0, 1), std::out_of_range);
    EXPECT_THROW(p.resize(-1), std::out_of_range);
    p.erase(6, 0);
    expectSame(p, line(5));
}

TEST(ProfilePoints, GrowsWithZeroPointsAndShrinksFromTheEnd)
{
    ProfilePoints p(line(3, 1));
    p.resize(5);
    EXPECT_EQ(p[5], PointProfil{});
    p.resize(2);
    expectSame(p, line(2, 1));
    p.resize(0);
    EXPECT_TRUE(p.empty());
    p.append(pt(7));
    expectSame(p, {pt(7)});
}

TEST(ProfilePoints, CopiesShareEveryChunkUntilOneIsEdited)
{
    ProfilePoints a(line(100000));
    ProfilePoints b = a;
    const size_t chunks = chunkCount(a);
    EXPECT_GE(chunks, 100000u / 4096);
    EXPECT_LE(chunks, 100000u / 512);
    EXPECT_EQ(distinctChunks({&a, &b}), chunks);

    b.edit(50000).X = -1;
    EXPECT_EQ(distinctChunks({&a, &b}), chunks + 1);
    EXPECT_EQ(a[50000].X, 49999);
    EXPECT_NE(a, b);
}

TEST(ProfilePoints, InsertAndEraseCopyOnlyTheChunksTheyTouch)
{
    ProfilePoints a(line(100000));
    ProfilePoints b = a;
    const size_t chunks = chunkCount(a);
    std::vector<PointProfil> three = line(3, -10);
    b.insert(30000, three);
    b.erase(70000, 5);
    EXPECT_LE(distinctChunks({&a, &b}), chunks + 2);
    expectSame(a, line(100000));
}

TEST(ProfilePoints, EditingEveryPointLeavesUnchangedChunksShared)
{
    ProfilePoints a(line(20000));
    a.edit(10).Flags = kSelected;
    ProfilePoints b = a;
    const size_t chunks = chunkCount(a);
    b.forEachEdit([](int32_t, PointProfil &p) {
        if (p.has(kSelected))
            p.X += 1;
    });
    EXPECT_EQ(distinctChunks({&a, &b}), chunks + 1);
    EXPECT_EQ(b[10].X, 10);
    EXPECT_EQ(a[10].X, 9);

    // Turning 0 into -0 is a change.
    ProfilePoints c = a;
    c.forEachEdit([](int32_t i, PointProfil &p) {
        if (i == 1)
            p.X = -0.0f;
    });
    EXPECT_TRUE(std::signbit(c[1].X));
    EXPECT_FALSE(std::signbit(a[1].X));
}

TEST(ProfilePoints, KeepIfDropsPointsAndKeepsUntouchedChunksShared)
{
    ProfilePoints a(line(20000));
    ProfilePoints b = a;
    const size_t chunks = chunkCount(a);
    b.keepIf([](const PointProfil &p) { return p.X != 5 && p.X != 6; });
    EXPECT_EQ(b.count(), 19998);
    EXPECT_EQ(b[6].X, 7);
    EXPECT_LE(distinctChunks({&a, &b}), chunks + 2);
    b.keepIf([](const PointProfil &) { return false; });
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(a.count(), 20000);
}

TEST(ProfilePoints, RunsCoverEveryPointOnceInOrder)
{
    ProfilePoints p(line(9000));
    int32_t next = 1;
    p.forEachRun([&](int32_t first, std::span<const PointProfil> run) {
        EXPECT_EQ(first, next);
        EXPECT_EQ(run.front().X, static_cast<float>(first - 1));
        next += static_cast<int32_t>(run.size());
    });
    EXPECT_EQ(next, 9001);
}

// Random operations applied both to a ProfilePoints and to a std::vector give
// the same list, and earlier copies never change.
TEST(ProfilePoints, BehavesLikeAVectorUnderRandomEditsWhileCopiesStayUnchanged)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 6; ++round) {
        const int32_t start = round % 2 == 0 ? 0 : 9000;
        std::vector<PointProfil> model = line(start);
        ProfilePoints p(model);
        std::vector<std::pair<ProfilePoints, std::vector<PointProfil>>> copies;
        float tag = 1e6f;
        for (int step = 0; step < 600; ++step) {
            const int32_t n = static_cast<int32_t>(model.size());
            auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
            switch (pick(0, 7)) {
            case 0:
            case 1: { // insert a run, sometimes longer than a chunk
                const int32_t at = pick(1, n + 1);
                const int32_t len = pick(0, 3) == 0 ? pick(1, 6000) : pick(1, 20);
                std::vector<PointProfil> run = line(len, tag);
                tag += 1e4f;
                p.insert(at, run);
                model.insert(model.begin() + (at - 1), run.begin(), run.end());
                break;
            }
            case 2:
            case 3: { // erase a range, sometimes across chunks
                if (n == 0)
                    break;
                const int32_t first = pick(1, n);
                const int32_t len = pick(0, n - first + 1 > 3000 ? 3000 : n - first + 1);
                p.erase(first, len);
                model.erase(model.begin() + (first - 1), model.begin() + (first - 1 + len));
                break;
            }
            case 4: { // edit one point
                if (n == 0)
                    break;
                const int32_t i = pick(1, n);
                PointProfil q = pt(tag++, -1, static_cast<int16_t>(pick(0, 7)));
                p.set(i, q);
                model[static_cast<size_t>(i - 1)] = q;
                break;
            }
            case 5: { // keep some
                const int16_t bit = static_cast<int16_t>(1 << pick(0, 2));
                p.keepIf([&](const PointProfil &q) { return !q.has(bit); });
                std::erase_if(model, [&](const PointProfil &q) { return q.has(bit); });
                break;
            }
            case 6: { // resize
                const int32_t to = pick(0, n + 50);
                p.resize(to);
                model.resize(static_cast<size_t>(to));
                break;
            }
            case 7:
                copies.emplace_back(p, model);
                break;
            }
            ASSERT_EQ(p.count(), static_cast<int32_t>(model.size()));
            if (step % 50 == 0) {
                ASSERT_NO_FATAL_FAILURE(expectSame(p, model));
            }
        }
        ASSERT_NO_FATAL_FAILURE(expectSame(p, model));
        for (auto &[copy, snapshot] : copies) {
            ASSERT_NO_FATAL_FAILURE(expectSame(copy, snapshot));
            EXPECT_EQ(copy == p, snapshot == model);
        }
    }
}
