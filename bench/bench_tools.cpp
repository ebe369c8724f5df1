// Timings of the contour tools on generated inputs: smoothing and cleaning of
// a million points, the offset of a 20,000-point contour, the cutting order of
// 5,000 contours. Prints the best of several runs of each.
//   bench_tools [RUNS] [TEXT]   (only the cases whose name holds TEXT)
#include "vextra.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

template <typename T> VxArray *makeArray(const std::vector<T> &items)
{
    VxArray *a = VxArrayCreate(sizeof(T), static_cast<int32_t>(items.size()));
    std::memcpy(a->data, items.data(), items.size() * sizeof(T));
    return a;
}

ContourPoint cp(double x, double y, char tag = 'A')
{
    ContourPoint p{};
    p.X = static_cast<float>(x);
    p.Y = static_cast<float>(y);
    p.Pen[0] = 'P';
    p.Pen[1] = 'D';
    p.Tag[0] = ' ';
    p.Tag[1] = static_cast<uint16_t>(tag);
    return p;
}

struct Timing {
    double bestMs = 1e300, bestCpuMs = 1e300, medianMs = 0;
};

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall and processor times of `runs` calls of `call` on fresh copies of
// `input` (the copy is not timed); `result` gets the last result.
template <typename T>
Timing timeCalls(const std::vector<T> &input, int runs, const std::function<int32_t(VxArray **)> &call, int32_t &result)
{
    Timing t;
    std::vector<double> walls;
    for (int r = 0; r < runs; ++r) {
        VxArray *a = makeArray(input);
        const double c0 = cpuMs();
        const auto t0 = std::chrono::steady_clock::now();
        result = call(&a);
        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = cpuMs();
        walls.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        t.bestCpuMs = std::min(t.bestCpuMs, c1 - c0);
        VxArrayDestroy(a);
    }
    std::sort(walls.begin(), walls.end());
    t.bestMs = walls.front();
    t.medianMs = walls[walls.size() / 2];
    return t;
}

// Runs the case, then prints it: the result is known only after the runs.
// Only the cases whose name holds this text, when given.
const char *g_only = nullptr;

template <typename T>
void report(const std::string &what, const std::vector<T> &input, int runs, const std::function<int32_t(VxArray **)> &call)
{
    if (g_only && what.find(g_only) == std::string::npos)
        return;
    int32_t result = 0;
    const Timing t = timeCalls(input, runs, call, result);
    std::printf("| %s | %zu | %d | %.1f | %.1f | %.1f |\n", what.c_str(), input.size(), result, t.bestMs, t.bestCpuMs,
                t.medianMs);
}

// An airfoil-like closed curve, dense and smooth.
std::vector<ContourPoint> smoothCurve(size_t n)
{
    std::vector<ContourPoint> p;
    for (size_t i = 0; i < n; ++i) {
        const double a = 2 * kPi * static_cast<double>(i) / static_cast<double>(n - 1);
        const double x = 100 * (1 + std::cos(a)) / 2;
        const double y = 12 * std::sin(a) * (1 - 0.7 * (1 + std::cos(a)) / 2);
        p.push_back(cp(x, y));
    }
    return p;
}

// A 100-sided polygon with every side sampled by 10,000 collinear points.
std::vector<ContourPoint> longRuns(size_t n)
{
    std::vector<ContourPoint> p;
    const size_t sides = 100, per = n / sides;
    for (size_t s = 0; s < sides; ++s) {
        const double a0 = 2 * kPi * static_cast<double>(s) / sides, a1 = 2 * kPi * static_cast<double>(s + 1) / sides;
        const double x0 = 500 * std::cos(a0), y0 = 500 * std::sin(a0), x1 = 500 * std::cos(a1), y1 = 500 * std::sin(a1);
        for (size_t k = 0; k < per; ++k) {
            const double t = static_cast<double>(k) / static_cast<double>(per);
            p.push_back(cp(x0 + t * (x1 - x0), y0 + t * (y1 - y0)));
        }
    }
    return p;
}

std::vector<ContourPoint> noisyWalk(size_t n)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<ContourPoint> p;
    double x = 0, y = 0;
    for (size_t i = 0; i < n; ++i) {
        x += 0.05 + 0.02 * u(rng);
        y += 0.02 * u(rng);
        p.push_back(cp(x, y));
    }
    return p;
}

// A closed wavy contour of n points, r = 50 + 5 sin(7a), with radial noise.
std::vector<ContourPoint> wavyContour(size_t n, double noise)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<ContourPoint> p;
    for (size_t i = 0; i + 1 < n; ++i) {
        const double a = 2 * kPi * static_cast<double>(i) / static_cast<double>(n - 1);
        const double r = 50 + 5 * std::sin(7 * a) + noise * u(rng);
        p.push_back(cp(r * std::cos(a), r * std::sin(a)));
    }
    p.push_back(p.front());
    return p;
}

// 2,500 squares each with a square hole, in shuffled order: 5,000 contours.
std::vector<SequencePoint> squaresWithHoles()
{
    struct Sq {
        double x, y, side;
    };
    std::vector<Sq> squares;
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 50; ++j) {
            squares.push_back({i * 20.0, j * 20.0, 15});
            squares.push_back({i * 20.0 + 5, j * 20.0 + 5, 5});
        }
    std::mt19937 rng(11);
    std::shuffle(squares.begin(), squares.end(), rng);
    std::vector<SequencePoint> p;
    int16_t seq = 0;
    for (const Sq &s : squares) {
        const double c[5][2] = {{s.x, s.y}, {s.x + s.side, s.y}, {s.x + s.side, s.y + s.side}, {s.x, s.y + s.side}, {s.x, s.y}};
        for (const auto &q : c)
            p.push_back(SequencePoint{static_cast<float>(q[0]), static_cast<float>(q[1]), 0, seq});
        ++seq;
    }
    return p;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    g_only = argc > 2 ? argv[2] : nullptr;
    std::printf("| case | points in | result | best ms | best processor ms | median ms |\n|---|---|---|---|---|---|\n");

    const auto curve = smoothCurve(1'000'000);
    report("LissageSequence, closed curve", curve, runs, LissageSequence);
    report("LissageSequence, closed curve, 1,000,000 points out", smoothCurve(90'910), runs, LissageSequence);
    const auto walk = noisyWalk(1'000'000);
    report("LissageSequence, open noisy walk", walk, runs, LissageSequence);

    for (float tol : {0.001f, 0.01f, 1.0f}) {
        auto clean = [tol](VxArray **a) {
            float t = tol;
            return NettoyageFichier(a, &t);
        };
        const std::string t = std::to_string(tol).substr(0, 5);
        report("NettoyageFichier tol " + t + ", closed curve", curve, runs, clean);
        const auto runs100 = longRuns(1'000'000);
        report("NettoyageFichier tol " + t + ", 100 runs of 10,000", runs100, runs, clean);
        report("NettoyageFichier tol " + t + ", noisy walk", walk, runs, clean);
    }
    {
        float big = 50;
        auto clean = [&](VxArray **a) { return NettoyageFichier(a, &big); };
        report("NettoyageFichier tol 50 (wider than the curve)", curve, runs, clean);
    }
    {
        std::vector<PointPair> pairs;
        const auto b = longRuns(1'000'000);
        for (size_t i = 0; i < curve.size(); ++i)
            pairs.push_back(PointPair{curve[i].X, curve[i].Y, b[i].X, b[i].Y});
        auto sync = [](VxArray **a) {
            float t = 0.01f;
            return NettoyageSynchro(a, &t);
        };
        report("NettoyageSynchro tol 0.01, curve and runs", pairs, runs, sync);
    }

    // Offsets of a closed contour of 20,000 points (spacing 0.016 mm): smooth,
    // with no simplification (tolerance 0) and with 0.0001 mm (about one
    // point in twelve stays); with radial noise of 0.002 mm at a tolerance
    // twenty times smaller (nearly every point stays) and at one above it.
    struct OffsetCase {
        const char *name;
        double noise;
        float tol, offset;
        int32_t overlap;
    };
    const OffsetCase offsets[] = {
        {"smooth, tol 0 (all 20,000 kept), offset 2", 0, 0, 2, -1},
        {"smooth, tol 0 (all 20,000 kept), offset -2", 0, 0, -2, -1},
        {"smooth, tol 0 (all 20,000 kept), offset 8", 0, 0, 8, -1},
        {"smooth, tol 0 (all 20,000 kept), offset -20 (cusps)", 0, 0, -20, -1},
        {"smooth, tol 0.0001, offset 2", 0, 0.0001f, 2, -1},
        {"smooth, tol 0.0001, offset -2", 0, 0.0001f, -2, -1},
        {"smooth, tol 0.0001, offset 8", 0, 0.0001f, 8, -1},
        {"smooth, tol 0.0001, offset -20 (cusps)", 0, 0.0001f, -20, -1},
        {"smooth, tol 0.0001, offset 2, overlap 20 (passes)", 0, 0.0001f, 2, 20},
        {"noisy, tol 0.0001, offset 2", 0.002, 0.0001f, 2, -1},
        {"noisy, tol 0.0001, offset -2", 0.002, 0.0001f, -2, -1},
        {"noisy, tol 0.0001, offset 8", 0.002, 0.0001f, 8, -1},
        {"noisy, tol 0.01, offset 2", 0.002, 0.01f, 2, -1},
        {"noisy, tol 0.01, offset -20", 0.002, 0.01f, -20, -1},
    };
    for (const OffsetCase &c : offsets) {
        const auto contour = wavyContour(20'000, c.noise);
        auto offset = [&c](VxArray **a) {
            float tol = c.tol, d = c.offset;
            int32_t overlap = c.overlap;
            return DecalSequence(a, &tol, &d, &overlap);
        };
        report(std::string("DecalSequence, ") + c.name + " (contours)", contour, runs, offset);
    }

    const auto squares = squaresWithHoles();
    report("SeqOrganize, 5,000 contours", squares, runs, SeqOrganize);
    return 0;
}
