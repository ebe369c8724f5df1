// Feeds arbitrary records (NaN and infinities included) to LissageSequence
// and PtSmooth: any result is fine as long as it is consistent; a crash, a
// hang or a leak is not.
#include "vextra.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool sequence = data[0] & 1;
    const size_t record = sequence ? sizeof(SequencePoint) : sizeof(ContourPoint);
    const size_t n = std::min<size_t>((size - 1) / record, 4096);
    VxArray *a = VxArrayCreate(static_cast<int32_t>(record), static_cast<int32_t>(n));
    if (n > 0)
        std::memcpy(a->data, data + 1, n * record);
    const int32_t r = sequence ? PtSmooth(&a) : LissageSequence(&a);
    if (a->locks != 0 || (r >= 0 && r != a->count) || (r < 0 && a->count != static_cast<int32_t>(n)))
        std::abort();
    if (r >= 0 && r != (r % 11 == 0 ? 11 * (static_cast<int32_t>(n) - 1) : 11 * (static_cast<int32_t>(n) - 3) + 2))
        std::abort();
    VxArrayDestroy(a);
    return 0;
}
