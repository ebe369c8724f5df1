// Feeds arbitrary records and tolerances (NaN and infinities included) to
// NettoyageFichier, PtClean and the synchronised cleaning: the result must be
// consistent with the array; a crash, a hang or a leak is not acceptable.
#include "vextra.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5)
        return 0;
    const int mode = data[0] % 3; // 0 contour points, 1 sequence points, 2 point pairs
    float tolerance;
    std::memcpy(&tolerance, data + 1, sizeof tolerance);
    data += 5;
    size -= 5;
    const size_t record = mode == 1 ? sizeof(SequencePoint) : 16;
    const size_t n = std::min<size_t>(size / record, 4096);
    VxArray *a = VxArrayCreate(static_cast<int32_t>(record), static_cast<int32_t>(n));
    if (n > 0)
        std::memcpy(a->data, data, n * record);
    const int32_t count = static_cast<int32_t>(n);
    const int32_t r = mode == 0 ? NettoyageFichier(&a, &tolerance)
                      : mode == 1 ? PtClean(&a, &tolerance)
                                  : PtSyncClean(&a, &tolerance);
    if (a->locks != 0 || r < 0 || r > count)
        std::abort();
    if (mode == 2 ? a->count != count : a->count != r)
        std::abort();
    // Cleaning keeps at least the two ends of three points or more.
    if (count >= 3 && r < (mode == 2 ? 2 : 1))
        std::abort();
    VxArrayDestroy(a);
    return 0;
}
