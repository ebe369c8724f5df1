// Timing of the editor's core model on large profiles: undo snapshots and
// their memory, characteristics, projection, status texts and number display.
#include "core/characteristics.h"
#include "core/history.h"
#include "core/numeric_entry.h"
#include "core/selection.h"
#include "core/status.h"
#include "core/view.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

using namespace orv;

namespace {

Profils makeWing(int32_t n)
{
    std::vector<PointProfil> root(static_cast<size_t>(n)), tip(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const double t = 2 * 3.14159265358979 * i / n;
        root[static_cast<size_t>(i)] = {static_cast<float>(100 * (1 + std::cos(t))), static_cast<float>(12 * std::sin(t)), 0};
        tip[static_cast<size_t>(i)] = {static_cast<float>(20 + 70 * (1 + std::cos(t))), static_cast<float>(8 * std::sin(t)), 0};
    }
    Profils d;
    d.PointsE = ProfilePoints(root);
    d.PointsS = ProfilePoints(tip);
    d.Ecartement = 600;
    computeCharacteristics(d);
    return d;
}

// Best of `runs` timings of f, in milliseconds.
double bestMs(int runs, const std::function<void()> &f)
{
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return best;
}

} // namespace

int main()
{
    {
        Profils doc = makeWing(100000);
        const size_t one = documentBytes(doc);
        History h;
        const auto t0 = std::chrono::steady_clock::now();
        for (int command = 0; command < 45; ++command) {
            h.record(doc, {});
            // A small edit: three points moved on each profile and one inserted.
            for (int k = 0; k < 3; ++k) {
                doc.PointsE.edit(1 + (command * 2203 + k * 17) % 100000).X += 0.5f;
                doc.PointsS.edit(1 + (command * 1999 + k * 29) % 100000).Y -= 0.5f;
            }
            doc.PointsE.insert(1 + command * 1000, PointProfil{1, 2, kSelected});
            computeCharacteristics(doc);
            h.record(doc, {});
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        std::printf("history: 45 commands on 2 x 100000 points, 90 snapshots (40 kept)\n");
        std::printf("  document %.2f MB, history %.2f MB (%.2f x the document)\n", one / 1e6, h.memoryBytes() / 1e6,
                    static_cast<double>(h.memoryBytes()) / static_cast<double>(one));
        std::printf("  %.2f ms per command (edit, characteristics, two snapshots)\n", ms / 45);
        std::printf("  undo + restore copy: %.4f ms\n", bestMs(20, [&] {
                        Profils restored = h.undo()->doc;
                        (void)restored;
                        h.redo();
                    }));
    }
    {
        Profils doc = makeWing(100000);
        std::printf("characteristics, 2 x 100000 points: %.3f ms\n", bestMs(20, [&] { computeCharacteristics(doc); }));
        selectRange(doc.PointsE, 100, 60000, kSelected);
        std::printf("status panels (selection extent), 2 x 100000 points: %.3f ms\n",
                    bestMs(20, [&] { (void)statusPanels(doc, kSelected); }));
    }
    {
        Profils doc = makeWing(50000);
        View v;
        v.setPictureSize(15000, 10000);
        ShowFlags show;
        std::printf("view rebuild (project, fit, map), 2 x 50000 points: %.3f ms\n",
                    bestMs(20, [&] { v.rebuild(doc, show); }));
        std::printf("map to screen after a zoom step, 2 x 50000 points: %.3f ms\n",
                    bestMs(20, [&] { v.zoomBarChanged(v.state.ValeurZoomPrecedente + 1); }));
        std::printf("click hit test, 2 x 50000 points: %.3f ms\n",
                    bestMs(20, [&] { (void)v.hitClick(7500, 5000, show); }));
    }
    {
        NumberPattern six(kFmtFile6);
        std::string out;
        out.reserve(200000 * 16);
        std::printf("format 200000 numbers with \"#####0.000000\": %.3f ms\n", bestMs(5, [&] {
                        out.clear();
                        for (int i = 0; i < 200000; ++i)
                            six.formatTo(out, i * 0.0173f - 900);
                    }));
    }
    return 0;
}
