// Small builders and comparisons shared by the geometry command tests.
#pragma once

#include "core/document.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace orv::test {

inline constexpr int16_t S1 = kSelected;

inline ProfilePoints profile(std::initializer_list<PointProfil> pts)
{
    return ProfilePoints(std::vector<PointProfil>(pts));
}

inline Profils wing(std::initializer_list<PointProfil> root, std::initializer_list<PointProfil> tip)
{
    Profils d;
    d.PointsE = profile(root);
    d.PointsS = profile(tip);
    return d;
}

// Points 1..n at (i, y(i)), all with the same flags.
template <typename F> ProfilePoints line(int32_t n, F &&y, int16_t flags = 0)
{
    std::vector<PointProfil> v;
    for (int32_t i = 1; i <= n; ++i)
        v.push_back({static_cast<float>(i), static_cast<float>(y(i)), flags});
    return ProfilePoints(v);
}

inline std::vector<std::pair<float, float>> xy(const ProfilePoints &p)
{
    std::vector<std::pair<float, float>> v;
    p.forEach([&](int32_t, const PointProfil &q) { v.emplace_back(q.X, q.Y); });
    return v;
}

inline std::vector<int16_t> flags(const ProfilePoints &p)
{
    std::vector<int16_t> v;
    p.forEach([&](int32_t, const PointProfil &q) { v.push_back(q.Flags); });
    return v;
}

inline std::vector<int32_t> numbersWith(const ProfilePoints &p, int16_t bit)
{
    std::vector<int32_t> v;
    p.forEach([&](int32_t i, const PointProfil &q) {
        if (q.has(bit))
            v.push_back(i);
    });
    return v;
}

using XY = std::vector<std::pair<float, float>>;

} // namespace orv::test
