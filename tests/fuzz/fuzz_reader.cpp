// Feeds arbitrary bytes to one reader through LireFichier and File2Seq: any
// result is fine, a crash, a hang or a leak is not.
#include "vextra.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string extensionFor(const std::string &format)
{
    if (format == "hpgl")
        return ".plt";
    if (format == "drill")
        return ".drl";
    return "." + format;
}

const std::string &scratchPath()
{
    static const std::string path =
        "/tmp/vextra-fuzz-" + std::to_string(::getpid()) + extensionFor(FUZZ_FORMAT);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::FILE *f = std::fopen(scratchPath().c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    std::string name = scratchPath();
    char *namePtr = name.data();
    std::string title(255, ' ');
    char *titlePtr = title.data();
    float x0, x1, y0, y1;
    VxArray *points = VxArrayCreate(sizeof(ContourPoint), 0);
    const int32_t n = LireFichier(&points, &namePtr, &x0, &x1, &y0, &y1, &titlePtr);
    if (n > 0 && points->count != n)
        __builtin_trap();
    VxArrayDestroy(points);

    VxArray *seq = VxArrayCreate(sizeof(SequencePoint), 0);
    File2Seq(&seq, &namePtr, &x0, &x1, &y0, &y1, nullptr);
    VxArrayDestroy(seq);
    return 0;
}
