// Feeds arbitrary records, tolerances, offsets and overlaps (NaN and
// infinities included) to DecalSequence and SeqOffset: any result is fine as
// long as it is consistent; a crash, a hang or a leak is not.
#include "vextra.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 13)
        return 0;
    const bool sequence = data[0] & 1;
    float tolerance, offset;
    int32_t overlap;
    std::memcpy(&tolerance, data + 1, 4);
    std::memcpy(&offset, data + 5, 4);
    std::memcpy(&overlap, data + 9, 4);
    data += 13;
    size -= 13;
    const size_t record = sequence ? sizeof(SequencePoint) : sizeof(ContourPoint);
    const size_t n = std::min<size_t>(size / record, 512);
    VxArray *a = VxArrayCreate(static_cast<int32_t>(record), static_cast<int32_t>(n));
    if (n > 0)
        std::memcpy(a->data, data, n * record);
    const int32_t r = sequence ? SeqOffset(&a, &tolerance, &offset, &overlap) : DecalSequence(&a, &tolerance, &offset, &overlap);
    if (a->locks != 0)
        std::abort();
    if (r <= 0 && r != -107 && a->count != static_cast<int32_t>(n))
        std::abort(); // nothing written: the caller's contours stay
    if (r > 0 && a->count > 0 && a->count != static_cast<int32_t>(n)) {
        // Offset contours: finite points, and as many contours as the result says.
        int32_t contours = 0;
        for (int32_t i = 0; i < a->count; ++i) {
            float x, y;
            std::memcpy(&x, static_cast<const char *>(a->data) + i * record, 4);
            std::memcpy(&y, static_cast<const char *>(a->data) + i * record + 4, 4);
            if (!std::isfinite(x) || !std::isfinite(y))
                std::abort();
            uint16_t id = 0, previous = 0;
            std::memcpy(&id, static_cast<const char *>(a->data) + i * record + (sequence ? 10 : 14), 2);
            if (i > 0)
                std::memcpy(&previous, static_cast<const char *>(a->data) + (i - 1) * record + (sequence ? 10 : 14), 2);
            contours += i == 0 || id != previous;
        }
        if (contours != r)
            std::abort();
    }
    VxArrayDestroy(a);
    return 0;
}
