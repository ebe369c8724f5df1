// Timing of the geometry commands on two profiles of 100,000 points:
// synchronization, cleaning, offset, smoothing, point editing and layout.
#include "core/characteristics.h"
#include "core/cleaning.h"
#include "core/layout.h"
#include "core/offset.h"
#include "core/point_editing.h"
#include "core/smoothing.h"
#include "core/synchronization.h"
#include "core/transforms.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace orv;

namespace {

constexpr double kPi = 3.14159265358979;

// A closed airfoil-like contour of n points (first = last), chord `chord`,
// points bunched at the nose as real profiles have them, with a little
// noise so that cleaning has work to do.
std::vector<PointProfil> airfoil(int32_t n, double chord, double x0, double y0, int16_t flags = 0)
{
    std::vector<PointProfil> v(static_cast<size_t>(n));
    for (int32_t i = 0; i < n - 1; ++i) {
        const double t = 2 * kPi * i / (n - 1);
        const double x = chord * (1 + std::cos(t)) / 2;
        const double thickness = 0.12 * chord * std::sqrt(std::max(0.0, x / chord)) * (1 - x / chord);
        const double noise = 1e-6 * chord * std::sin(i * 12.9898);
        v[static_cast<size_t>(i)] = {static_cast<float>(x0 + x), static_cast<float>(y0 + thickness * std::sin(t) + noise),
                                     flags};
    }
    v.back() = v.front();
    return v;
}

Profils wing(int32_t nRoot, int32_t nTip, int16_t flags = 0)
{
    Profils d;
    d.PointsE = ProfilePoints(airfoil(nRoot, 250, 0, 0, flags));
    d.PointsS = ProfilePoints(airfoil(nTip, 180, 30, 10, flags));
    d.Ecartement = 600;
    computeCharacteristics(d);
    return d;
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Best wall time, best processor time and median wall time of `runs`
// timings, each on a fresh copy of `start` that shares its storage as an
// undo snapshot would; the copy is not timed. The processor time is the
// steadier figure on a busy machine.
void measure(const char *what, const Profils &start, int runs, const std::function<void(Profils &)> &f)
{
    std::vector<double> wall;
    double cpu = 1e300;
    for (int r = 0; r < runs; ++r) {
        Profils d = start;
        const double c0 = threadCpuMs();
        const auto t0 = std::chrono::steady_clock::now();
        f(d);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        cpu = std::min(cpu, threadCpuMs() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::printf("| %s | %.2f | %.2f | %.2f |\n", what, wall.front(), cpu, wall[wall.size() / 2]);
}

// Stands in for LissageSequence: 10 points a segment along the polyline.
int32_t tenPerSegment(std::vector<ContourPoint> &b)
{
    std::vector<ContourPoint> out;
    out.reserve(b.size() * 10);
    for (size_t i = 0; i + 1 < b.size(); ++i)
        for (int k = 0; k < 10; ++k)
            out.push_back({b[i].X + (b[i + 1].X - b[i].X) * k / 10, b[i].Y + (b[i + 1].Y - b[i].Y) * k / 10, {0, 0},
                           {0, 0}});
    out.push_back(b.back());
    b.swap(out);
    return static_cast<int32_t>(b.size());
}

} // namespace

int main()
{
    const int n = 100000;
    const int runs = 9;
    std::printf("| Command, 2 x %d points | best ms | best processor ms | median ms |\n|---|---|---|---|\n", n);

    // Different counts and spacings on both sides, five sections.
    Profils sync = wing(n, n - 3217);
    for (int32_t i : {20000, 50000, 80000}) {
        sync.PointsE.edit(i).Flags = kSync;
        sync.PointsS.edit(i - 1000).Flags = kSync;
    }
    measure("optimal synchronization (different counts, 4 sections)", sync, runs, [](Profils &d) {
        if (!synchronizeOptimal(d).synchronized)
            std::printf("refused!\n");
    });

    const Profils equal = wing(n, n);
    measure("total cleaning", equal, runs, [](Profils &d) {
        std::vector<ContourPoint> lus;
        float tolerance = 0;
        cleanTotal(d, lus, tolerance);
    });
    measure("synchronous cleaning", equal, runs, [](Profils &d) { cleanSynchronous(d); });
    {
        std::vector<ContourPoint> lus;
        for (const PointProfil &p : airfoil(n, 250, 0, 0))
            lus.push_back({p.X, p.Y, {0, 0}, {0, 0}});
        measure("list thinning of the read buffer (one contour)", equal, runs, [&](Profils &) {
            std::vector<ContourPoint> copy = lus;
            thinList(copy, 250.0f / 5000);
        });
    }

    // Circles of radius 1000 and 900 mm: points 0.06 mm apart, as the
    // offset refuses neighbours closer than 0.01 mm in X and in Y.
    Profils closedSelected;
    for (Side side : kSides) {
        std::vector<PointProfil> v(static_cast<size_t>(n));
        const double r = side == Emplanture ? 1000 : 900;
        for (int32_t i = 0; i < n - 1; ++i) {
            const double t = 0.3 + 2 * kPi * i / (n - 1);
            v[static_cast<size_t>(i)] = {static_cast<float>(r * std::cos(t) + 1200),
                                         static_cast<float>(r * std::sin(t) + 1100), kSelected};
        }
        v.back() = v.front();
        closedSelected.points(side) = ProfilePoints(v);
    }
    measure("offset of two fully selected closed profiles", closedSelected, runs, [](Profils &d) {
        if (!offsetSelection(d, 1.5f).notices.empty())
            std::printf("refused!\n");
    });

    Profils run = wing(n, n);
    for (int32_t i = 30001; i <= 40000; ++i)
        run.PointsE.edit(i).Flags = kSelected;
    measure("smoothing of one 10,000-point run (stand-in, 100,000 points back)", run, runs,
            [](Profils &d) { smoothSelection(d, tenPerSegment); });
    Profils manyRuns = wing(n, n);
    for (int32_t i = 2; i < n - 2; ++i)
        if (i % 5 != 0)
            manyRuns.PointsE.edit(i).Flags = kSelected;
    measure("smoothing of 20,000 runs of 4 points", manyRuns, runs,
            [](Profils &d) { smoothSelection(d, tenPerSegment); });

    const Profils allSelected = wing(n, n, kSelected);
    measure("rotation of every point", allSelected, runs, [](Profils &d) { rotateSelection(d, 3); });
    measure("insert mid-points everywhere", allSelected, runs, [](Profils &d) { insertMidPoints(d); });
    Profils half = wing(n, n);
    for (int32_t i = 1; i <= n; i += 2) {
        half.PointsE.edit(i).Flags = kSelected;
        half.PointsS.edit(i).Flags = kSelected;
    }
    measure("delete every other point", half, runs, [](Profils &d) { deleteSelectedPoints(d); });
    measure("renumber closed contours", allSelected, runs, [](Profils &d) {
        int32_t current[2] = {n / 2, n / 3};
        renumberFromCurrent(d, current, 0.001f);
    });

    const Profils layout = wing(n, n);
    LayoutState state;
    measure("chord entry", layout, runs, [](Profils &d) { setChord(d, Saumon, 150); });
    measure("spacing entry", layout, runs, [&](Profils &d) { setSpacing(d, state, 750); });
    measure("sweep entry", layout, runs, [&](Profils &d) { typeSweep(d, state, 30); });
    measure("sweep mode \"Aligner les BF\"", layout, runs, [&](Profils &d) { checkSweepMode(d, state, 2); });
    measure("dihedral entry (mm)", layout, runs, [&](Profils &d) { typeDihedralMm(d, state, 12); });
    measure("dihedral mode \"Aligner les extrados\"", layout, runs, [&](Profils &d) { checkDihedralMode(d, state, 0); });
    measure("dihedral entry (degrees)", layout, runs, [&](Profils &d) { typeDihedralDeg(d, state, 2); });
    Profils referenced = layout;
    referenced.PointsE.edit(100).Flags = kReference;
    referenced.PointsS.edit(200).Flags = kReference;
    measure("alignment on reference points", referenced, runs, [&](Profils &d) { checkAlignment(d, state); });
    LayoutState modes{.sweepMode = 1, .dihedralMode = 2};
    measure("re-application with a sweep and a dihedral mode", layout, runs,
            [&](Profils &d) { reapplyLayout(d, modes); });
    measure("two wings, mirrored (cmdDupliquer(0))", layout, runs, [](Profils &d) { duplicateMirrored(d, 40); });
    measure("two wings, head to tail (cmdDupliquer(1))", layout, runs,
            [&](Profils &d) { duplicateHeadToTail(d, state, 80); });
    measure("intermediate profile", layout, runs, [](Profils &d) { (void)intermediateProfile(d, 200); });
    return 0;
}
