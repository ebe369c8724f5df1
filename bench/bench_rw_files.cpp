// Times the drill-hole ordering (against the plain quadratic scan), the
// plotter, PostScript and drill readers through LireFichier, and the writers.
//   bench_rw_files [HOLES]
#include "order/drill_order.h"
#include "plain_drill_order.h"
#include "vextra.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::vector<vx::Hole> board(size_t n, unsigned seed)
{
    // Two thirds on a 2.54 mm grid in rows, one third scattered, as on a
    // mixed through-hole and via board of 400 x 300 mm.
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> x(0, 400), y(0, 300);
    std::vector<vx::Hole> h;
    for (size_t i = 0; i < n; ++i) {
        if (i % 3 == 0)
            h.push_back({x(rng), y(rng)});
        else
            h.push_back({static_cast<double>(i % 400) + 0.5, static_cast<double>(i / 400) * 2.54});
    }
    return h;
}


int32_t readAll(const std::string &path)
{
    VxArray *a = VxArrayCreate(sizeof(ContourPoint), 0);
    std::string name = path;
    char *p = name.data();
    float x0, x1, y0, y1;
    const int32_t n = LireFichier(&a, &p, &x0, &x1, &y0, &y1, nullptr);
    VxArrayDestroy(a);
    return n;
}

} // namespace

int main(int argc, char **argv)
{
    const size_t holes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 50000;
    const std::string dir = "/tmp/bench-rw-" + std::to_string(::getpid());
    std::system(("mkdir -p " + dir).c_str());

    for (size_t n : {size_t(20000), holes}) {
        const std::vector<vx::Hole> h = board(n, 1);
        auto t = std::chrono::steady_clock::now();
        const size_t kept = vx::orderHoles(h).size();
        std::printf("orderHoles        %7zu holes: %.3f s (%zu kept)\n", n, seconds(t), kept);
        if (n <= 20000) {
            t = std::chrono::steady_clock::now();
            vxtest::plainOrder(h);
            std::printf("plain scan        %7zu holes: %.3f s\n", n, seconds(t));
        }
    }

    std::mt19937 rng(2);
    std::uniform_int_distribution<int> coord(0, 40000);
    {
        std::ofstream drl(dir + "/board.drl");
        drl << "M48\nMETRIC,TZ\n%\nT1\n";
        char line[64];
        for (const vx::Hole &p : board(holes, 3)) {
            std::snprintf(line, sizeof line, "X%.3fY%.3f\n", p.x, p.y);
            drl << line;
        }
        std::ofstream plt(dir + "/big.plt");
        plt << "IN;";
        for (int c = 0; c < 5000; ++c) {
            const int x = coord(rng), y = coord(rng);
            plt << "PU" << x << ',' << y << ";PD";
            for (int k = 0; k < 100; ++k)
                plt << (k ? "," : "") << x + k * 10 << ',' << y + (k * k) % 50;
            plt << ';';
        }
        std::ofstream eps(dir + "/big.eps");
        eps << "%!PS-Adobe-3.0\n";
        for (int c = 0; c < 5000; ++c) {
            const int x = coord(rng) / 80, y = coord(rng) / 80;
            eps << "newpath\n" << x << ' ' << y << " moveto\n";
            for (int k = 1; k < 100; ++k)
                eps << x + k * 0.5 << ' ' << y + (k * k) % 7 << " lineto\n";
            eps << "closepath\n";
        }
    }
    for (const char *name : {"board.drl", "big.plt", "big.eps"}) {
        const auto t = std::chrono::steady_clock::now();
        const int32_t n = readAll(dir + "/" + name);
        std::printf("LireFichier %-10s: %.3f s (%d records)\n", name, seconds(t), n);
    }

    // A million points as .dat and 2-D DXF; 3-D DXF of two 500,000-point profiles.
    const int32_t count = 1000000;
    VxArray *pts = VxArrayCreate(sizeof(ContourPoint), count);
    auto *cp = static_cast<ContourPoint *>(pts->data);
    for (int32_t i = 0; i < count; ++i) {
        cp[i].X = static_cast<float>(std::cos(i * 1e-3) * 100);
        cp[i].Y = static_cast<float>(std::sin(i * 1e-3) * 10);
        cp[i].Tag[0] = ' ';
        cp[i].Tag[1] = static_cast<uint16_t>('A' + (i / 100000));
    }
    for (const char *ext : {".dat", ".dxf"}) {
        std::string name = dir + "/out" + ext;
        char *p = name.data();
        char *title = nullptr;
        const auto t = std::chrono::steady_clock::now();
        const int32_t r = EcrireFichier(&pts, &p, &title);
        std::printf("EcrireFichier %s  1,000,000 points: %.3f s (result %d)\n", ext, seconds(t), r);
    }
    VxArray *half = VxArrayCreate(sizeof(ContourPoint), count / 2);
    std::copy(cp, cp + count / 2, static_cast<ContourPoint *>(half->data));
    {
        std::string name = dir + "/panel.dxf";
        char *p = name.data();
        float span = 500;
        const auto t = std::chrono::steady_clock::now();
        const int32_t r = EcrireFichier3D(&half, &half, &p, &span);
        std::printf("EcrireFichier3D 2 x 500,000 points: %.3f s (result %d)\n", seconds(t), r);
    }
    VxArrayDestroy(pts);
    VxArrayDestroy(half);
    std::system(("rm -rf " + dir).c_str());
    return 0;
}
