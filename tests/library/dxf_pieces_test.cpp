// Drawings read without a working list (curves sampled as they are walked,
// block bodies kept once, arcs simplified from their geometry, records
// filled from the planned contours) against the working list put through
// the plain reorganisation: the same records, bit for bit.
#include "order/cutting_order.h"
#include "dxf_test_support.h"
#include "order/fill.h"
#include "plain_cutting_order.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

using dxftest::Dxf;
using vx::Node;
using vx::PointList;

namespace {

struct Output {
    int32_t result = 0;
    std::vector<ContourPoint> points;
    float bounds[4] = {-1, -1, -1, -1};
    int32_t seqResult = 0;
    std::vector<SequencePoint> seq;
};

// Records of a working list as LireFichier and File2Seq gave them from it.
Output fromList(int read, PointList list, bool drawing = true)
{
    Output o;
    vx::dropUnusable(list);
    if (read < 0 || read == 0 || list.empty()) {
        o.result = o.seqResult = read < 0 ? read : VX_ERR_NO_POINT;
        return o;
    }
    PointList ordered = drawing ? plain::referenceCuttingOrder(list) : list;
    PointList forSeq = ordered;
    vxtest::Array contour(sizeof(ContourPoint));
    const vx::Bounds b = vx::removeRepeats(ordered);
    vx::addPenUpPartners(ordered);
    o.result = vx::fillContourArray(contour.ref(), ordered, b, &o.bounds[0], &o.bounds[1], &o.bounds[2], &o.bounds[3]);
    o.points = contour.items<ContourPoint>();
    vxtest::Array sequence(sizeof(SequencePoint));
    const vx::Bounds bs = vx::removeRepeats(forSeq);
    o.seqResult = vx::fillSequenceArray(sequence.ref(), forSeq, bs, nullptr, nullptr, nullptr, nullptr);
    o.seq = sequence.items<SequencePoint>();
    return o;
}

// The working list of the reader through the plain steps.
Output expected(const std::string &bytes)
{
    const dxftest::Working w = dxftest::readWorking(bytes);
    return fromList(w.result, w.list);
}

Output actual(const std::string &bytes)
{
    vxtest::TempDir dir;
    const std::string path = dir.write("d.dxf", bytes);
    const vxtest::Read r = vxtest::lire(path);
    const vxtest::SeqRead s = vxtest::file2seq(path);
    Output o;
    o.result = r.result;
    o.points = r.points;
    const float b[4] = {r.xMin, r.xMax, r.yMin, r.yMax};
    std::memcpy(o.bounds, b, sizeof b);
    o.seqResult = s.result;
    o.seq = s.points;
    return o;
}

::testing::AssertionResult same(const Output &a, const Output &b)
{
    if (a.result != b.result || a.seqResult != b.seqResult)
        return ::testing::AssertionFailure() << "results " << a.result << "/" << a.seqResult << " against " << b.result
                                             << "/" << b.seqResult;
    if (a.result < 0)
        return ::testing::AssertionSuccess();
    if (std::memcmp(a.bounds, b.bounds, sizeof a.bounds) != 0)
        return ::testing::AssertionFailure() << "bounds differ";
    for (size_t i = 0; i < a.points.size() && i < b.points.size(); ++i)
        if (std::memcmp(&a.points[i], &b.points[i], sizeof(ContourPoint)) != 0)
            return ::testing::AssertionFailure() << "record " << i << ": (" << a.points[i].X << ", " << a.points[i].Y
                                                 << ") against (" << b.points[i].X << ", " << b.points[i].Y << ")";
    if (a.points.size() != b.points.size())
        return ::testing::AssertionFailure() << a.points.size() << " records against " << b.points.size();
    if (a.seq.size() != b.seq.size() || std::memcmp(a.seq.data(), b.seq.data(), a.seq.size() * sizeof(SequencePoint)))
        return ::testing::AssertionFailure() << "sequence records differ";
    return ::testing::AssertionSuccess();
}

// A radius whose chord over k steps of `delta` has a sagitta of the
// simplification's tolerance, nudged by a relative `nudge`.
double radiusAtTolerance(int k, double delta, double nudge)
{
    const double t = std::sqrt(vx::kSimplifyTolerance);
    const double s = k % 2 == 0 ? 1 - std::cos(k * delta / 2) : std::cos(delta / 2) - std::cos(k * delta / 2);
    return t / s * (1 + nudge);
}

// Random drawings with every kind of entity, blocks placed and nested in
// every way, radii on the simplification's edges, coordinates of zero and
// beyond the usable range.
class Drawings {
public:
    explicit Drawings(uint32_t seed) : m_rng(seed) {}

    std::string next()
    {
        Dxf d;
        d.section("TABLES").layer("OFF", -3).endSection();
        const int blocks = static_cast<int>(m_rng() % 5);
        d.section("BLOCKS");
        for (int b = 0; b < blocks; ++b) {
            d.block(("B" + std::to_string(b)).c_str(), pick({0.0, coord(5)}), pick({0.0, coord(5)}));
            const int n = 1 + static_cast<int>(m_rng() % 8);
            for (int e = 0; e < n; ++e)
                entity(d, b);
            d.endBlock();
        }
        d.endSection();
        d.section("ENTITIES");
        const int n = 1 + static_cast<int>(m_rng() % 40);
        for (int e = 0; e < n; ++e)
            entity(d, blocks);
        d.endSection();
        return d.file();
    }

private:
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(m_rng); }
    double pick(std::initializer_list<double> v) { return v.begin()[m_rng() % v.size()]; }
    double coord(double scale)
    {
        switch (m_rng() % 40) {
        case 0:
            return pick({1e31, -1e31, 0.0, -0.0, 1e29});
        case 1:
        case 2:
            return static_cast<double>(static_cast<int>(m_rng() % 7) - 3);
        default:
            return uniform(-scale, scale);
        }
    }
    double radius(double delta)
    {
        switch (m_rng() % 6) {
        case 0:
        case 1:
            return radiusAtTolerance(2 + static_cast<int>(m_rng() % 18), delta,
                                     pick({0.0, 1e-15, -1e-15, 1e-12, -1e-12, 1e-9, -1e-9, 1e-6, -1e-6}));
        case 2:
            return pick({0.0, -2.0, 1e-5, 0.05, 0.09, 1e5, 1e30});
        default:
            return std::pow(10.0, uniform(-2, 3));
        }
    }

    void entity(Dxf &d, int blocks)
    {
        const char *layer = m_rng() % 20 == 0 ? "OFF" : "0";
        const bool below = m_rng() % 8 == 0;
        auto common = [&](const char *name) {
            d.entity(name).pair(8, layer);
            if (below)
                d.pair(230, -1.0);
        };
        constexpr double kTurn = 2 * std::numbers::pi;
        switch (m_rng() % 12) {
        case 0:
        case 1: {
            // Lines in chains, their ends within the join tolerance.
            common("LINE");
            const double x = m_chain ? m_x : coord(50), y = m_chain ? m_y : coord(50);
            m_x = x + uniform(-20, 20) + pick({0.0, 0.0, 3e-5});
            m_y = y + uniform(-20, 20);
            m_chain = m_rng() % 4 != 0;
            d.xy(10, x, y).xy(11, m_x, m_y);
            break;
        }
        case 2:
        case 3:
            common("CIRCLE");
            d.xy(10, coord(60), coord(60)).pair(40, radius(kTurn / 100));
            break;
        case 4: {
            common("ARC");
            const double start = pick({0.0, 90.0, uniform(0, 360), uniform(-2000, 2000)});
            const double end = pick({start + uniform(1, 359), uniform(0, 360), start, start + 1e-7});
            double sweep = (end - start) * std::numbers::pi / 180;
            if (sweep < 0)
                sweep += kTurn;
            d.xy(10, coord(60), coord(60)).pair(40, radius(std::fabs(sweep) / 100)).pair(50, start).pair(51, end);
            break;
        }
        case 5: {
            common("LWPOLYLINE");
            const int n = 1 + static_cast<int>(m_rng() % 8);
            d.pair(90, n).pair(70, static_cast<int>(m_rng() % 2));
            double x = coord(50), y = coord(50);
            for (int i = 0; i < n; ++i) {
                d.xy(10, x, y);
                if (m_rng() % 2)
                    d.pair(42, pick({1.0, -1.0, 0.4, -0.2, 1e-9, 50.0, uniform(-2, 2)}));
                x += uniform(-30, 30);
                y += uniform(-30, 30);
            }
            break;
        }
        case 6: {
            common("POLYLINE");
            d.pair(66, 1).pair(70, static_cast<int>(m_rng() % 2));
            const int n = static_cast<int>(m_rng() % 6);
            for (int i = 0; i < n; ++i) {
                d.entity("VERTEX").pair(8, "0").xy(10, coord(50), coord(50));
                if (m_rng() % 2)
                    d.pair(42, uniform(-1.5, 1.5));
            }
            d.entity("SEQEND").pair(8, "0");
            break;
        }
        case 7: {
            common("SPLINE");
            const int degree = static_cast<int>(pick({1, 2, 3, 3}));
            const int n = degree + 1 + static_cast<int>(m_rng() % 8);
            d.pair(70, static_cast<int>(pick({8, 9, 0}))).pair(71, degree).pair(72, n + degree + 1).pair(73, n);
            for (int k = 0; k < n + degree + 1; ++k)
                d.pair(40, static_cast<double>(std::clamp(k - degree, 0, n - degree)));
            const double x = coord(50), y = coord(50);
            for (int k = 0; k < n; ++k)
                d.xy(10, x + 5 * k, y + uniform(-8, 8));
            break;
        }
        case 8:
            common("ELLIPSE");
            d.xy(10, coord(50), coord(50)).xy(11, uniform(-20, 20), uniform(-20, 20)).pair(40, uniform(0.1, 1));
            d.pair(41, 0.0).pair(42, pick({kTurn, uniform(0.5, 6)}));
            break;
        case 9:
            common("POINT");
            d.xy(10, coord(50), coord(50));
            break;
        default: {
            if (blocks == 0)
                break;
            // Inserts placed alike in X and Y (arcs stay arcs), mirrored, or
            // stretched; blocks may insert earlier ones, or themselves.
            common("INSERT");
            d.pair(2, ("B" + std::to_string(m_rng() % (blocks + 1) % std::max(blocks, 1))).c_str());
            d.xy(10, coord(80), coord(80));
            const double s = pick({1.0, 0.5, 2.0, 1.5, uniform(0.2, 3)});
            switch (m_rng() % 3) {
            case 0:
                d.pair(41, s * pick({1.0, -1.0})).pair(42, s);
                break;
            case 1:
                d.pair(41, uniform(-3, 3)).pair(42, uniform(-3, 3));
                break;
            default:
                break;
            }
            if (m_rng() % 2)
                d.pair(50, pick({0.0, 90.0, 180.0, uniform(0, 360)}));
            break;
        }
        }
    }

    std::mt19937 m_rng;
    bool m_chain = false;
    double m_x = 0, m_y = 0;
};

} // namespace

TEST(DxfPieces, RandomDrawingsGiveTheRecordsOfTheWorkingList)
{
    Drawings drawings(17);
    for (int trial = 0; trial < 300; ++trial) {
        const std::string file = drawings.next();
        ASSERT_TRUE(same(actual(file), expected(file))) << "trial " << trial << "\n" << file;
    }
}

TEST(DxfPieces, ArcsOnTheToleranceEdgeAreSimplifiedAsTheirSamplesAre)
{
    // Circles and arcs whose chord over k steps bows out by the tolerance, a
    // hair more or less, placed by inserts of several scales and turns: the
    // answers known from the geometry must be those the samples give.
    for (int k = 2; k <= 20; ++k) {
        Dxf d;
        d.section("BLOCKS").block("C", 1.5, -2);
        int count = 0;
        for (const double nudge : {0.0, 1e-14, -1e-14, 1e-11, -1e-11, 1e-8, -1e-8, 1e-5, -1e-5}) {
            d.circle(3 * count, 0, radiusAtTolerance(k, 2 * std::numbers::pi / 100, nudge));
            const double sweep = 37.0 + count;
            d.entity("ARC").pair(8, "0").xy(10, 3 * count, 40).pair(40, radiusAtTolerance(k, sweep * std::numbers::pi / 18000, nudge));
            d.pair(50, 10.0 * count).pair(51, 10.0 * count + sweep);
            d.entity("LWPOLYLINE").pair(8, "0").pair(90, 2).pair(70, 0).xy(10, 3 * count, 80).pair(42, 0.3 + 0.01 * k);
            d.xy(10, 3 * count + radiusAtTolerance(k, 4 * std::atan(0.3 + 0.01 * k) / 100, nudge), 80);
            ++count;
        }
        d.endBlock().endSection();
        d.section("ENTITIES");
        for (const double s : {1.0, 0.5, 2.0, -1.0, 1e-3})
            for (const double turn : {0.0, 90.0, 33.3})
                d.insert("C", 1000 * s + turn, -500 * s, s, turn);
        d.entity("INSERT").pair(8, "0").pair(2, "C").xy(10, 7, 7).pair(41, -2.0).pair(42, 2.0).pair(230, -1.0);
        d.endSection();
        const std::string file = d.file();
        ASSERT_TRUE(same(actual(file), expected(file))) << "k " << k;
    }
}

TEST(DxfPieces, APieceOfMoreThanSixtyFiveThousandSamplesKeepsItsIndexes)
{
    // A spline of 700 control points: 70,000 samples in one piece.
    Dxf d;
    d.section("ENTITIES").entity("SPLINE").pair(8, "0").pair(70, 8).pair(71, 3).pair(72, 704).pair(73, 700);
    for (int k = 0; k < 704; ++k)
        d.pair(40, static_cast<double>(std::clamp(k - 3, 0, 697)));
    for (int k = 0; k < 700; ++k)
        d.xy(10, k * 1.0, 10 * std::sin(k * 0.05));
    d.circle(100, 100, 30).endSection();
    const std::string file = d.file();
    const Output a = actual(file);
    ASSERT_GT(a.result, 0);
    EXPECT_TRUE(same(a, expected(file)));
}

TEST(DxfPieces, ClosedContoursWithRepeatedNodesCountTheirRecordsRight)
{
    // Closed and open contours whose ends and neighbours repeat each other
    // within the 1e-6 of the output, turned either way by the order, and
    // nodes of X or Y zero of both signs at the extremes of the drawing.
    // Nodes marked to keep survive the simplification with their repeats.
    std::mt19937 rng(8);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int trial = 0; trial < 2000; ++trial) {
        PointList list;
        int32_t number = 0;
        const int contours = 1 + static_cast<int>(rng() % 6);
        for (int c = 0; c < contours; ++c) {
            ++number;
            const double cx = 10.0 * static_cast<int>(rng() % 4), cy = 10.0 * static_cast<int>(rng() % 3);
            const int n = 1 + static_cast<int>(rng() % 9);
            const double r = (rng() % 3 == 0) ? 1e-6 : 3 + (rng() % 3);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * std::numbers::pi * i / std::max(n, 3);
                double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
                if (rng() % 5 == 0)
                    x = (rng() % 2) ? 0.0 : -0.0;
                if (rng() % 7 == 0)
                    y = (rng() % 2) ? 0.0 : -0.0;
                auto keep = [&] { return rng() % 3 == 0 ? vx::kKeep : 0; };
                list.push_back({x, y, number, keep()});
                // A node repeated, or nearly, after it.
                if (rng() % 4 == 0)
                    list.push_back({x + u(rng) * 1.2e-6, y + u(rng) * 0.8e-6, number, keep()});
            }
            // Closed again at the first node, exactly or within 1e-6, with a
            // further node just after it.
            if (rng() % 2) {
                size_t f = list.size();
                while (f > 0 && list[f - 1].contour == number)
                    --f;
                const Node first = list[f];
                list.push_back({first.x + u(rng) * 0.9e-6, first.y + u(rng) * 1.5e-6, number, vx::kKeep});
                if (rng() % 3 == 0)
                    list.push_back({first.x + u(rng) * 1.9e-6, first.y, number, vx::kKeep});
            }
        }
        vx::ListPieces source(list);
        const vx::CutPlan plan = vx::planCuttingOrder(source);
        vxtest::Array contour(sizeof(ContourPoint));
        Output o;
        o.result = vx::fillContourArray(contour.ref(), plan, source, &o.bounds[0], &o.bounds[1], &o.bounds[2], &o.bounds[3]);
        o.points = contour.items<ContourPoint>();
        vxtest::Array sequence(sizeof(SequencePoint));
        o.seqResult = vx::fillSequenceArray(sequence.ref(), plan, source, nullptr, nullptr, nullptr, nullptr);
        o.seq = sequence.items<SequencePoint>();
        ASSERT_TRUE(same(o, fromList(1, list))) << "trial " << trial;
    }
}

TEST(DxfPieces, AFileWithoutUsablePointsIsRefusedAlike)
{
    Dxf d;
    d.section("ENTITIES").circle(1e31, 0, 5).line(1e31, 1, 2e31, 1).entity("TEXT").pair(8, "0").pair(1, "x").endSection();
    const std::string file = d.file();
    EXPECT_EQ(actual(file).result, VX_ERR_NO_POINT);
    EXPECT_TRUE(same(actual(file), expected(file)));
}

namespace {

// Parts as a drawing program keeps them in blocks (a plate with a hole, a
// flange of circles, a bracket of lines and arcs, a triangle with a half
// disc), each inserted many times, alike or scaled, turned, mirrored, seen
// from below or on a switched-off layer, and a block of blocks.
std::string partsDrawing(uint32_t seed, int inserts)
{
    std::mt19937 rng(seed);
    auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto pick = [&](std::initializer_list<double> v) { return v.begin()[rng() % v.size()]; };
    Dxf d;
    d.section("TABLES").layer("OFF", -3).endSection();
    d.section("BLOCKS");
    constexpr int kParts = 8;
    for (int b = 0; b < kParts; ++b) {
        d.block(("P" + std::to_string(b)).c_str(), pick({0.0, uniform(-5, 5)}), pick({0.0, uniform(-5, 5)}));
        const double s = uniform(10, 20);
        auto arc = [&](double cx, double cy, double r, double from, double to) {
            d.entity("ARC").pair(8, "0").xy(10, cx, cy).pair(40, r).pair(50, from).pair(51, to);
        };
        switch (b % 4) {
        case 0:
            d.line(0, 0, s, 0).line(s, 0, s, 0.6 * s).line(s, 0.6 * s, 0, 0.6 * s).line(0, 0.6 * s, 0, 0);
            d.circle(s / 2, 0.3 * s, 0.15 * s);
            break;
        case 1: {
            d.circle(0, 0, s / 2).circle(0, 0, s / 5);
            const int bolts = 3 + static_cast<int>(rng() % 4);
            for (int i = 0; i < bolts; ++i)
                d.circle(0.35 * s * std::cos(i * std::numbers::pi / 3), 0.35 * s * std::sin(i * std::numbers::pi / 3), s / 20);
            d.line(-s, -s, s, s, "OFF");
            break;
        }
        case 2: {
            const double r = 0.2 * s, h = 0.5 * s;
            d.line(r, 0, s - r, 0).line(s, r, s, h - r).line(s - r, h, r, h).line(0, h - r, 0, r);
            arc(s - r, r, r, 270, 360);
            arc(s - r, h - r, r, 0, 90);
            arc(r, h - r, r, 90, 180);
            arc(r, r, r, 180, 270);
            d.circle(0.25 * s, 0.25 * s, 0.08 * s).circle(0.75 * s, 0.25 * s, 0.08 * s);
            break;
        }
        default:
            d.line(0, 0, s, 0).line(s, 0, s / 2, 0.8 * s).line(s / 2, 0.8 * s, 0, 0);
            arc(s / 2, 0.3 * s, 0.1 * s, 0, 180);
            d.line(0.4 * s, 0.3 * s, 0.6 * s, 0.3 * s);
            break;
        }
        d.endBlock();
    }
    d.block("NEST").insert("P0", 0, 0).insert("P1", 30, 0, 1, 90).endBlock();
    d.endSection();
    d.section("ENTITIES");
    const int columns = static_cast<int>(std::ceil(std::sqrt(inserts)));
    for (int k = 0; k < inserts; ++k) {
        const std::string name = k % 50 == 49 ? "NEST" : "P" + std::to_string(rng() % kParts);
        const double scale = pick({0.5, 1.0, 1.0, 1.5, 2.0, uniform(0.5, 2)});
        d.entity("INSERT").pair(8, rng() % 40 == 0 ? "OFF" : "0").pair(2, name.c_str());
        // The first insert at the origin puts nodes on the axes.
        d.xy(10, (k % columns) * 50.0, (k / columns) * 50.0);
        d.pair(41, rng() % 10 == 0 ? -scale : scale).pair(42, scale);
        d.pair(50, pick({0.0, 90.0, 180.0, 270.0, uniform(0, 360)}));
        if (rng() % 10 == 0)
            d.pair(230, -1.0);
    }
    d.endSection();
    return d.file();
}

} // namespace

TEST(DxfPieces, HundredsOfInsertsOfTheSameBlocksGiveTheRecordsOfTheWorkingList)
{
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        const std::string file = partsDrawing(seed, 250);
        ASSERT_TRUE(same(actual(file), expected(file))) << "seed " << seed;
    }
}

TEST(DxfPieces, RealDrawingsGiveTheRecordsOfTheWorkingList)
{
    for (const char *name : {"dxf/d2g_Teile.dxf", "dxf/d2g_Polylinie.dxf", "dxf/gen_lwpolyline_bulges.dxf",
                             "dxf/gen_r12_lines_shuffled_with_hole.dxf", "dxf/dxfparser_ellipse.dxf",
                             "dxf/ezgen_blocks.dxf", "dxf/ezgen_mixed.dxf", "dxf/ezgen_splines.dxf"}) {
        const std::string bytes = vxtest::readBytes(vxtest::fixture(name));
        EXPECT_TRUE(same(actual(bytes), expected(bytes))) << name;
    }
}
