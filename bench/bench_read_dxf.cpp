// Times LireFichier on DXF drawings beside libdxflib parsing the same file,
// with the floor (reading the file and converting every group code and
// number), and measures the peak memory of one LireFichier in a fresh child
// process per file.
//   bench_read_dxf [--runs N] FILE...
#include "bench_timing.h"
#include "readers/dxf_reader.h"
#include "dxflib_counter.h"
#include "foundation/text_input.h"
#include "vextra.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

// C++ heap in use and its peak, counted only while `g_counting` is set.
bool g_counting = false;
size_t g_heap = 0;
size_t g_heapPeak = 0;

void *countedAlloc(size_t n)
{
    void *p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    if (g_counting) {
        g_heap += malloc_usable_size(p);
        g_heapPeak = std::max(g_heapPeak, g_heap);
    }
    return p;
}

void countedFree(void *p)
{
    if (p && g_counting)
        g_heap -= std::min(g_heap, malloc_usable_size(p));
    std::free(p);
}

// Processor time of this process (user and system), in seconds: on a busy
// machine it does not count the time spent waiting for a processor.
double cpuSeconds() { return orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID) / 1e3; }

template <typename F> double timed(F &&f)
{
    const double t0 = cpuSeconds();
    f();
    return cpuSeconds() - t0;
}

int32_t lireFichier(const std::string &path, int32_t *records = nullptr)
{
    std::string name = path;
    char *namePtr = name.data();
    std::string title(255, ' ');
    char *titlePtr = title.data();
    float x0, x1, y0, y1;
    VxArray *points = VxArrayCreate(sizeof(ContourPoint), 0);
    const int32_t n = LireFichier(&points, &namePtr, &x0, &x1, &y0, &y1, &titlePtr);
    if (records)
        *records = n;
    VxArrayDestroy(points);
    return n;
}

// The working list alone: every sample as a point, before the cutting order
// (the reference the tests compare the fast path with).
size_t readOnly(const std::string &path)
{
    std::string title(255, ' ');
    char *titlePtr = title.data();
    vx::TitleBuffer buffer(&titlePtr);
    vx::PointList list;
    vx::readDxf(path.c_str(), buffer, list);
    return list.size();
}

bool realCode(int c)
{
    return (c >= 10 && c <= 59) || (c >= 110 && c <= 149) || (c >= 210 && c <= 239) || (c >= 460 && c <= 469) ||
           (c >= 1010 && c <= 1059);
}

bool integerCode(int c)
{
    return (c >= 60 && c <= 99) || (c >= 160 && c <= 179) || (c >= 270 && c <= 289) || (c >= 370 && c <= 389) ||
           (c >= 400 && c <= 409) || (c >= 420 && c <= 459) || (c >= 1060 && c <= 1071);
}

// The floor: load the file and convert every group code and number.
double floorChecksum(const std::string &path)
{
    std::string text;
    if (vx::loadFile(path.c_str(), text) < 0)
        return 0;
    vx::dxf::PairCursor cursor(text);
    vx::dxf::Pair p;
    double sum = 0;
    while (cursor.next(p)) {
        sum += p.code;
        if (realCode(p.code)) {
            double v = 0;
            if (vx::dxf::readNumber(p.value, v))
                sum += v;
        } else if (integerCode(p.code)) {
            int64_t v = 0;
            if (vx::dxf::readInteger(p.value, v))
                sum += static_cast<double>(v);
        }
    }
    return sum;
}

// High-water mark of this process image's resident memory (kB); unlike
// getrusage, it starts afresh at exec.
long maxRssKb()
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    std::fclose(f);
    return kb;
}

// Child mode: one LireFichier, then "rss-before rss-after heap-peak records".
int memoryChild(const std::string &path)
{
    const long before = maxRssKb();
    g_heap = g_heapPeak = 0;
    g_counting = true;
    int32_t records = 0;
    lireFichier(path, &records);
    g_counting = false;
    std::printf("%ld %ld %zu %d\n", before, maxRssKb(), g_heapPeak, records);
    return 0;
}

struct Memory {
    long rssBeforeKb = 0, rssPeakKb = 0;
    size_t heapPeak = 0;
    int records = 0;
};

Memory measureMemory(const std::string &self, const std::string &path)
{
    Memory m;
    int fds[2];
    if (pipe(fds) != 0)
        return m;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execl(self.c_str(), self.c_str(), "--memory", path.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buf[256] = {};
    ssize_t got = 0, r;
    while (got < static_cast<ssize_t>(sizeof buf) - 1 && (r = read(fds[0], buf + got, sizeof buf - 1 - got)) > 0)
        got += r;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    std::sscanf(buf, "%ld %ld %zu %d", &m.rssBeforeKb, &m.rssPeakKb, &m.heapPeak, &m.records);
    return m;
}

std::string baseName(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

void *operator new(size_t n) { return countedAlloc(n); }
void *operator new[](size_t n) { return countedAlloc(n); }
void operator delete(void *p) noexcept { countedFree(p); }
void operator delete[](void *p) noexcept { countedFree(p); }
void operator delete(void *p, size_t) noexcept { countedFree(p); }
void operator delete[](void *p, size_t) noexcept { countedFree(p); }

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--memory") == 0)
        return memoryChild(argv[2]);
    int runs = 7;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            files.push_back(argv[i]);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s [--runs N] FILE...\n", argv[0]);
        return 2;
    }
    const std::string self = "/proc/self/exe";

    std::printf("| file | bytes | records | LireFichier ms | libdxflib parse ms | ratio (median of pairs) | working list alone ms | floor ms | "
                "peak RSS growth MB (x file) | peak C++ heap MB (x file) |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const std::string &path : files) {
        std::string text;
        if (vx::loadFile(path.c_str(), text) < 0) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            continue;
        }
        const double bytes = static_cast<double>(text.size());
        text.clear();
        text.shrink_to_fit();

        std::vector<double> whole, peer, reader, floorTimes;
        int32_t records = 0;
        DxflibCounts counts;
        volatile double sink = 0;
        std::vector<double> pairRatio;
        lireFichier(path, &records); // warm the caches
        // The peer and the whole read side by side, each pair under the same
        // load; the working list, whose large allocations would change what
        // the next read finds in memory, afterwards.
        for (int r = 0; r < runs; ++r) {
            peer.push_back(timed([&] { counts = dxflibParse(path); }));
            whole.push_back(timed([&] { lireFichier(path); }));
            pairRatio.push_back(whole.back() / peer.back());
        }
        for (int r = 0; r < runs; ++r) {
            reader.push_back(timed([&] { sink = sink + static_cast<double>(readOnly(path)); }));
            floorTimes.push_back(timed([&] { sink = sink + floorChecksum(path); }));
        }
        const Memory m = measureMemory(self, path);
        const double best = *std::min_element(whole.begin(), whole.end());
        const double bestPeer = *std::min_element(peer.begin(), peer.end());
        const double growth = static_cast<double>(m.rssPeakKb - m.rssBeforeKb) * 1024.0;
        std::printf("| %s | %.0f | %d | %.1f (median %.1f) | %.1f (median %.1f) | %.2f (pairs %.2f) | %.1f | %.1f | "
                    "%.1f (%.1f) | %.1f (%.1f) |\n",
                    baseName(path).c_str(), bytes, records, best * 1e3, orvbench::median(whole) * 1e3,
                    bestPeer * 1e3, orvbench::median(peer) * 1e3, best / bestPeer, orvbench::median(pairRatio),
                    *std::min_element(reader.begin(), reader.end()) * 1e3,
                    *std::min_element(floorTimes.begin(), floorTimes.end()) * 1e3, growth / 1048576.0, growth / bytes,
                    static_cast<double>(m.heapPeak) / 1048576.0, static_cast<double>(m.heapPeak) / bytes);
        if (!counts.ok)
            std::fprintf(stderr, "libdxflib could not read %s\n", path.c_str());
        std::fflush(stdout);
    }
    return 0;
}
