// Cutting order of drawings: joins, orientation, nesting and nearest-next
// order, checked on small cases and against plain pairwise scans.
#include "order/contour_index.h"
#include "order/cutting_order.h"
#include "order/fill.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <random>

using vx::Contour;
using vx::Node;
using vx::PointList;

namespace {

void addSegment(PointList &list, int32_t contour, double x0, double y0, double x1, double y1)
{
    vx::appendPoint(list, x0, y0, contour);
    vx::appendPoint(list, x1, y1, contour);
}

// A square as four separate segments, some reversed, in shuffled order.
void addSquare(PointList &list, int32_t &contour, double x, double y, double side, std::mt19937 &rng)
{
    struct Seg {
        double x0, y0, x1, y1;
    };
    std::vector<Seg> s = {{x, y, x + side, y},
                          {x + side, y, x + side, y + side},
                          {x + side, y + side, x, y + side},
                          {x, y + side, x, y}};
    std::shuffle(s.begin(), s.end(), rng);
    for (Seg g : s) {
        if (rng() % 2)
            std::swap(g.x0, g.x1), std::swap(g.y0, g.y1);
        addSegment(list, ++contour, g.x0, g.y0, g.x1, g.y1);
    }
}

struct Piece {
    std::vector<Node> pts;
};

std::vector<Piece> pieces(const PointList &list)
{
    std::vector<Piece> out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i == 0 || list[i].contour != list[i - 1].contour)
            out.push_back({});
        out.back().pts.push_back(list[i]);
    }
    return out;
}

double area(const std::vector<Node> &p)
{
    double a = 0;
    for (size_t i = 1; i < p.size(); ++i)
        a += p[i - 1].x * p[i].y - p[i - 1].y * p[i].x;
    return a;
}

// Plain pairwise scans, as the reorganisation is described.
void naiveJoin(std::vector<Contour> &cs)
{
    auto near = [](const Node &a, const Node &b) {
        return std::fabs(a.x - b.x) < vx::kJoinTolerance && std::fabs(a.y - b.y) < vx::kJoinTolerance;
    };
    std::vector<char> dead(cs.size(), 0);
    for (size_t i = 0; i < cs.size(); ++i) {
        if (dead[i])
            continue;
        for (size_t j = i + 1; j < cs.size(); ++j) {
            if (dead[j])
                continue;
            Contour &a = cs[i];
            Contour &b = cs[j];
            bool again = true;
            bool joined = false;
            while (again && !joined) {
                again = false;
                if (near(a.pts.back(), b.pts.front())) {
                    for (Node n : b.pts)
                        n.contour = a.pts[0].contour, a.pts.push_back(n);
                    joined = true;
                } else if (near(a.pts.front(), b.pts.back())) {
                    std::vector<Node> p = b.pts;
                    for (Node &n : p)
                        n.contour = a.pts[0].contour;
                    p.insert(p.end(), a.pts.begin(), a.pts.end());
                    a.pts.swap(p);
                    joined = true;
                } else if (near(a.pts.back(), b.pts.back()) || near(a.pts.front(), b.pts.front())) {
                    b.reverse();
                    again = true;
                }
            }
            if (joined) {
                dead[j] = 1;
                j = i;
            }
        }
    }
    std::vector<Contour> out;
    for (size_t i = 0; i < cs.size(); ++i)
        if (!dead[i])
            out.push_back(cs[i]);
    cs.swap(out);
}

PointList naiveOrderAndEmit(std::vector<Contour> cs, bool reverseHoles)
{
    std::stable_sort(cs.begin(), cs.end(), [](const Contour &a, const Contour &b) { return a.boxArea() < b.boxArea(); });
    const size_t n = cs.size();
    double sx = cs[0].minX, sy = cs[0].minY;
    for (const Contour &c : cs)
        sx = std::min(sx, c.minX), sy = std::min(sy, c.minY);
    std::vector<int> parent(n, -1);
    std::vector<std::vector<int>> kids(n);
    std::vector<int> top;
    for (size_t e = 0; e < n; ++e)
        for (size_t f = e + 1; f < n; ++f)
            if (cs[f].boxContains(cs[e]) && vx::pointInContour(cs[f].pts, cs[e].pts[0].x, cs[e].pts[0].y)) {
                parent[e] = static_cast<int>(f);
                kids[f].insert(kids[f].begin(), static_cast<int>(e));
                break;
            }
    for (size_t e = 0; e < n; ++e)
        if (parent[e] < 0)
            top.push_back(static_cast<int>(e));
    auto corner = [&](int c, int k) -> std::pair<double, double> {
        const Contour &x = cs[static_cast<size_t>(c)];
        switch (k) {
        case 0: return {x.minX, x.minY};
        case 1: return {x.maxX, x.maxY};
        case 2: return {x.maxX, x.minY};
        default: return {x.minX, x.maxY};
        }
    };
    std::function<std::vector<int>(std::vector<int>, double, double)> order = [&](std::vector<int> list, double qx,
                                                                                   double qy) {
        std::vector<int> picks;
        int prev = -1;
        while (!list.empty()) {
            double best = 9.99999999e107;
            size_t bi = 0;
            for (size_t i = 0; i < list.size(); ++i) {
                double d;
                if (prev < 0) {
                    auto c = corner(list[i], 0);
                    d = (c.first - qx) * (c.first - qx) + (c.second - qy) * (c.second - qy);
                } else {
                    d = 1e300;
                    for (int k = 0; k < 4; ++k) {
                        auto a = corner(prev, k), b = corner(list[i], k);
                        d = std::min(d, (a.first - b.first) * (a.first - b.first) + (a.second - b.second) * (a.second - b.second));
                    }
                }
                if (d < best)
                    best = d, bi = i;
            }
            prev = list[bi];
            picks.push_back(prev);
            list.erase(list.begin() + static_cast<long>(bi));
        }
        return picks;
    };
    PointList out;
    std::function<void(int, int)> emit = [&](int c, int depth) {
        for (int k : order(kids[static_cast<size_t>(c)], cs[static_cast<size_t>(c)].minX, cs[static_cast<size_t>(c)].minY))
            emit(k, depth + 1);
        Contour x = cs[static_cast<size_t>(c)];
        if (reverseHoles && depth % 2 == 1)
            x.reverse();
        out.insert(out.end(), x.pts.begin(), x.pts.end());
    };
    for (int t : order(top, sx, sy))
        emit(t, 0);
    return out;
}

bool samePoints(const PointList &a, const PointList &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].contour != b[i].contour)
            return false;
    return true;
}

} // namespace

TEST(CuttingOrder, FourSeparateSidesBecomeOneCounterClockwiseSquareFromItsLowerRightCorner)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 20; ++trial) {
        PointList list;
        int32_t c = 0;
        addSquare(list, c, 2, 3, 10, rng);
        PointList out = vx::cuttingOrder(list);
        vx::removeRepeats(out);
        ASSERT_EQ(out.size(), 5u);
        EXPECT_EQ(out[0].x, 12);
        EXPECT_EQ(out[0].y, 3);
        EXPECT_EQ(out[4].x, 12);
        EXPECT_EQ(out[4].y, 3);
        EXPECT_GT(area(out), 0);
    }
}

TEST(CuttingOrder, AHoleComesBeforeItsOutlineAndRunsClockwise)
{
    std::mt19937 rng(3);
    PointList list;
    int32_t c = 0;
    addSquare(list, c, 0, 0, 100, rng);
    addSquare(list, c, 40, 40, 20, rng);
    std::vector<Piece> out = pieces(vx::cuttingOrder(list));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].pts[0].x, 60);
    EXPECT_LT(area(out[0].pts), 0);
    EXPECT_EQ(out[1].pts[0].x, 100);
    EXPECT_GT(area(out[1].pts), 0);

    // An island inside the hole runs counter-clockwise again, and comes first.
    addSquare(list, c, 45, 45, 5, rng);
    out = pieces(vx::cuttingOrder(list));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].pts[0].x, 50);
    EXPECT_GT(area(out[0].pts), 0);
    EXPECT_LT(area(out[1].pts), 0);
    EXPECT_GT(area(out[2].pts), 0);
}

TEST(CuttingOrder, OpenContoursAreOriented)
{
    // Alone, an open contour runs from its end of larger X.
    PointList one;
    vx::appendPoint(one, 0, 0, 1);
    vx::appendPoint(one, 5, 3, 1);
    vx::appendPoint(one, 10, 0, 1);
    PointList out = vx::cuttingOrder(one);
    EXPECT_EQ(out.front().x, 10);

    // Among others, by the sign of its area with the closing edge.
    PointList two = one;
    vx::appendPoint(two, 50, 50, 2);
    vx::appendPoint(two, 60, 50, 2);
    std::vector<Piece> p = pieces(vx::cuttingOrder(two));
    ASSERT_EQ(p.size(), 2u);
    for (const Piece &piece : p)
        EXPECT_GE(area(piece.pts) + piece.pts.back().x * piece.pts[0].y - piece.pts[0].x * piece.pts.back().y, 0);
}

TEST(CuttingOrder, CollinearPointsAreDroppedButKeptNodesStay)
{
    PointList list;
    for (int i = 0; i <= 10; ++i)
        vx::appendPoint(list, i, 0, 1, i == 4 ? vx::kKeep : 0);
    PointList out = vx::cuttingOrder(list);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[1].x, 4);
}

TEST(CuttingOrder, JoinMatchesThePairwiseScanOnShuffledPaths)
{
    std::mt19937 rng(11);
    for (int trial = 0; trial < 200; ++trial) {
        PointList list;
        int32_t c = 0;
        // Random walks on a coarse lattice, so that ends meet often.
        const int segments = 2 + static_cast<int>(rng() % 40);
        for (int s = 0; s < segments; ++s) {
            const double x0 = rng() % 6, y0 = rng() % 6;
            const double x1 = rng() % 6, y1 = rng() % 6;
            addSegment(list, ++c, x0, y0, x1 + (rng() % 3 == 0 ? 0.00005 : 0), y1);
        }
        std::vector<Contour> fast = vx::splitContours(list);
        std::vector<Contour> slow = fast;
        vx::joinContours(fast);
        naiveJoin(slow);
        ASSERT_EQ(fast.size(), slow.size()) << "trial " << trial;
        for (size_t i = 0; i < fast.size(); ++i) {
            PointList a(fast[i].pts.begin(), fast[i].pts.end());
            PointList b(slow[i].pts.begin(), slow[i].pts.end());
            ASSERT_TRUE(samePoints(a, b)) << "trial " << trial << " contour " << i;
        }
    }
}

TEST(CuttingOrder, NestingAndOrderMatchThePairwiseScan)
{
    std::mt19937 rng(5);
    for (int trial = 0; trial < 60; ++trial) {
        std::vector<Contour> cs;
        // Many boxes on a small lattice: equal areas, equal distances, nesting.
        const int count = 1 + static_cast<int>(rng() % 300);
        for (int i = 0; i < count; ++i) {
            const double x = rng() % 40, y = rng() % 40;
            const double w = 1 + rng() % 12, h = 1 + rng() % 12;
            Contour c;
            const int32_t id = i + 1;
            for (auto [px, py] : {std::pair{x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}, {x + w, y}})
                c.pts.push_back({px, py, id, 0});
            c.update();
            cs.push_back(std::move(c));
        }
        ASSERT_TRUE(samePoints(vx::orderAndEmit(cs, true), naiveOrderAndEmit(cs, true))) << "trial " << trial;
    }
}

TEST(CuttingOrder, NearestNextSearchMatchesThePlainScanOnLargeScatteredSets)
{
    std::mt19937 rng(9);
    for (int trial = 0; trial < 8; ++trial) {
        std::vector<Contour> cs;
        const int count = 500 + static_cast<int>(rng() % 1500);
        std::uniform_real_distribution<double> at(-1000, 1000);
        for (int i = 0; i < count; ++i) {
            // Half on a lattice (ties), half anywhere; separate, so all top level.
            const bool lattice = i % 2 == 0;
            const double x = lattice ? static_cast<double>(rng() % 200) * 10 : at(rng);
            const double y = lattice ? static_cast<double>(rng() % 200) * 10 : at(rng);
            Contour c;
            for (auto [px, py] : {std::pair{x + 2, y}, {x + 2, y + 1}, {x, y + 1}, {x, y}, {x + 2, y}})
                c.pts.push_back({px, py, i + 1, 0});
            c.update();
            cs.push_back(std::move(c));
        }
        ASSERT_TRUE(samePoints(vx::orderAndEmit(cs, false), naiveOrderAndEmit(cs, false))) << "trial " << trial;
    }
}

TEST(CuttingOrder, NearestNextSearchMatchesThePlainScanWhenCornersLieOnTheCellEdges)
{
    // Every corner on a lattice that the search cells divide (twice a square
    // number of boxes, two to a cell, over a span of whole cells): queries
    // and entries on the edges of the cells searched, and many equal
    // distances.
    std::mt19937 rng(21);
    for (const int side : {8, 10, 20}) {
        std::vector<Contour> cs;
        const int count = 2 * side * side;
        for (int i = 0; i < count; ++i) {
            const double x = i == 0 ? 0 : static_cast<double>(rng() % 200) * 10;
            const double y = i == 0 ? 0 : static_cast<double>(rng() % 200) * 10;
            const double w = i == 1 ? 2000 - x : 10.0 * (1 + rng() % 3), h = i == 1 ? 2000 - y : 10.0 * (1 + rng() % 3);
            Contour c;
            for (auto [px, py] : {std::pair{x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}, {x + w, y}})
                c.pts.push_back({px, py, i + 1, 0});
            c.update();
            cs.push_back(std::move(c));
        }
        ASSERT_TRUE(samePoints(vx::orderAndEmit(cs, false), naiveOrderAndEmit(cs, false))) << "side " << side;
    }
}

TEST(CuttingOrder, AreaOrderIsTheStableSortOfTheAreas)
{
    // Ties, both zeros, negative and infinite values, and lists of one digit
    // in some bytes.
    std::mt19937 rng(4);
    const double inf = std::numeric_limits<double>::infinity();
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<double> value(static_cast<size_t>(trial * 37 + 1));
        for (double &v : value) {
            switch (rng() % 6) {
            case 0:
                v = static_cast<double>(rng() % 5);
                break;
            case 1:
                v = rng() % 2 ? 0.0 : -0.0;
                break;
            case 2:
                v = -static_cast<double>(rng() % 1000) / 7;
                break;
            case 3:
                v = rng() % 2 ? inf : -inf;
                break;
            default:
                v = std::ldexp(static_cast<double>(rng()), static_cast<int>(rng() % 200) - 100);
            }
        }
        std::vector<uint32_t> expected(value.size());
        std::iota(expected.begin(), expected.end(), 0u);
        std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) { return value[a] < value[b]; });
        std::vector<uint64_t> key;
        for (const double v : value)
            key.push_back(vx::orderKey(v));
        ASSERT_EQ(vx::stableOrder(key), expected) << "trial " << trial;
    }
}

TEST(CuttingOrder, BandedPointInContourAgreesWithThePlainTest)
{
    std::mt19937 rng(2);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<Node> star;
    for (int i = 0; i < 500; ++i) {
        const double a = i * 2 * M_PI / 500, r = 5 + 3 * std::sin(7 * a) + u(rng);
        star.push_back({r * std::cos(a), r * std::sin(a), 1, 0});
    }
    vx::ContourLocator loc(star);
    for (int i = 0; i < 20000; ++i) {
        const double x = 10 * u(rng), y = 10 * u(rng);
        ASSERT_EQ(loc.contains(x, y), vx::pointInContour(star, x, y));
    }
    // Heights of the vertices themselves.
    for (const Node &n : star)
        ASSERT_EQ(loc.contains(n.x - 0.1, n.y), vx::pointInContour(star, n.x - 0.1, n.y));
}

TEST(ContourNames, The53rdContourIsNamedAA)
{
    uint16_t t[2];
    vx::contourTag(0, t);
    EXPECT_EQ(t[0], ' ');
    EXPECT_EQ(t[1], 'A');
    vx::contourTag(26, t);
    EXPECT_EQ(t[1], 'a');
    vx::contourTag(52, t);
    EXPECT_EQ(t[0], 'A');
    EXPECT_EQ(t[1], 'A');
    vx::contourTag(27 * 52, t);
    EXPECT_EQ(t[0], 'a');
    // Past "zz" the names start again, so neighbours still differ.
    uint16_t u[2];
    vx::contourTag(53 * 52 - 1, t);
    vx::contourTag(53 * 52, u);
    EXPECT_TRUE(t[0] != u[0] || t[1] != u[1]);
}
