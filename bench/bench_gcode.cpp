// Times EcrireGCode on a tapered, swept panel of two profiles of N points.
//   bench_gcode [POINTS] [RUNS] [FOLDER]
#include "bench_timing.h"
#include "vextra.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

double cpuMs() { return orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID); }

double wallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A closed profile of `n` points from the trailing edge round the nose and
// back, `chord` long, moved by (dx, dy).
VxArray *profile(int32_t n, double chord, double dx, double dy)
{
    VxArray *a = VxArrayCreate(sizeof(ContourPoint), n);
    auto *p = static_cast<ContourPoint *>(a->data);
    for (int32_t i = 0; i < n; ++i) {
        const double t = 2 * M_PI * i / (n - 1);
        const double x = (1 + std::cos(t)) / 2, thickness = 0.6 * (std::sqrt(x) - x);
        p[i].X = static_cast<float>(dx + chord * x);
        p[i].Y = static_cast<float>(dy + chord * thickness * std::sin(t));
        p[i].Pen[0] = 'P';
        p[i].Pen[1] = 'D';
        p[i].Tag[0] = ' ';
        p[i].Tag[1] = 'A';
    }
    return a;
}

} // namespace

int main(int argc, char **argv)
{
    const int32_t n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    VxArray *root = profile(n, 300, 20, 40), *tip = profile(n, 180, 90, 55);
    VxMachine m{};
    m.size = sizeof m;
    m.towers = 1200;
    m.rootPos = 100;
    m.span = 1000;
    m.feed = 250;
    m.kerfRoot = 0.6f;
    m.kerfTip = 0.8f;
    m.heat = 40;
    m.dwell = 2;
    m.approach = 1;
    std::strcpy(m.axes, "XYUV");
    const std::string folder = argc > 3 ? argv[3] : "/tmp";
    const std::string path = folder + "/bench-gcode-" + std::to_string(::getpid()) + ".ngc";
    for (int decimals : {3, 6}) {
        m.decimals = decimals;
        std::vector<double> cpu, wall;
        int32_t moves = 0;
        for (int r = 0; r < runs; ++r) {
            std::string name = path;
            char *p = name.data();
            const double c0 = cpuMs(), w0 = wallMs();
            moves = EcrireGCode(&root, &tip, &p, &m);
            cpu.push_back(cpuMs() - c0);
            wall.push_back(wallMs() - w0);
        }
        struct stat st {};
        ::stat(path.c_str(), &st);
        std::printf("EcrireGCode 2 x %d points, %d decimals: %d moves, %lld bytes; processor %.1f ms (median %.1f), "
                    "wall %.1f ms (median %.1f)\n",
                    n, decimals, moves, static_cast<long long>(st.st_size), *std::min_element(cpu.begin(), cpu.end()),
                    orvbench::median(cpu), *std::min_element(wall.begin(), wall.end()), orvbench::median(wall));
    }
    std::remove(path.c_str());
    VxArrayDestroy(root);
    VxArrayDestroy(tip);
    return 0;
}
