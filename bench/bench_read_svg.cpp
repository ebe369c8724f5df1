// Times the SVG reader: the whole LireFichier (parse, sampling, cutting order,
// fill) and the reader's working list alone, in processor time.
//   bench_read_svg [--runs N] FILE.svg...   (svg_letters.svg: bench/gen_svg_letters.py)
#include "bench_timing.h"
#include "readers/readers.h"
#include "vextra.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

// Processor time of the process: on a busy machine it leaves out the wait
// for a processor.
double cpuMs() { return orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID); }

struct Figures {
    double best = 1e30, median = 0;
    long count = 0;
};

template <typename F> Figures measure(int runs, F &&once)
{
    std::vector<double> ms;
    Figures f;
    for (int i = 0; i < runs; ++i) {
        const double t0 = cpuMs();
        f.count = once();
        ms.push_back(cpuMs() - t0);
    }
    f.best = *std::min_element(ms.begin(), ms.end());
    f.median = orvbench::median(ms);
    return f;
}

long lireFichier(const std::string &path)
{
    std::string name = path;
    char *namePtr = name.data();
    std::string title(255, ' ');
    char *titlePtr = title.data();
    float x0, x1, y0, y1;
    VxArray *a = VxArrayCreate(sizeof(ContourPoint), 0);
    const int32_t n = LireFichier(&a, &namePtr, &x0, &x1, &y0, &y1, &titlePtr);
    VxArrayDestroy(a);
    return n;
}

long workingList(const std::string &path)
{
    vx::PointList list;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    vx::readSvg(path.c_str(), title, list);
    return static_cast<long>(list.size());
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 9;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            files.push_back(a);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: bench_read_svg [--runs N] FILE.svg...\n");
        return 2;
    }
    std::printf("| file | records | LireFichier ms (median) | points | working list alone ms (median) |\n"
                "|---|---:|---:|---:|---:|\n");
    for (const std::string &f : files) {
        const Figures whole = measure(runs, [&] { return lireFichier(f); });
        const Figures list = measure(runs, [&] { return workingList(f); });
        const std::string name = f.substr(f.find_last_of('/') + 1);
        std::printf("| %s | %ld | %.1f (%.1f) | %ld | %.1f (%.1f) |\n", name.c_str(), whole.count, whole.best,
                    whole.median, list.count, list.best, list.median);
    }
    return 0;
}
