// Feeds arbitrary SequencePoint records (NaN and infinities included) to
// SeqOrganize: every point comes back but for repeats; a crash, a hang or a
// leak is not acceptable.
#include "vextra.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const size_t n = std::min<size_t>(size / sizeof(SequencePoint), 8192);
    VxArray *a = VxArrayCreate(sizeof(SequencePoint), static_cast<int32_t>(n));
    if (n > 0)
        std::memcpy(a->data, data, n * sizeof(SequencePoint));
    const int32_t r = SeqOrganize(&a);
    if (a->locks != 0 || r < 0 || r != a->count || r > static_cast<int32_t>(n) || (n > 0 && r == 0))
        std::abort();
    VxArrayDestroy(a);
    return 0;
}
