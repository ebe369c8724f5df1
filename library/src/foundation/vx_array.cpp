#include "foundation/vx_array.h"

#include <climits>
#include <cstdlib>

namespace vx {

namespace {
int g_failCountdown[3] = {-1, -1, -1};

bool injectedFailure(ArrayStep step)
{
    int &countdown = g_failCountdown[static_cast<int>(step)];
    if (countdown < 0)
        return false;
    if (countdown-- == 0)
        return true;
    return false;
}

bool wellFormed(const VxArray *a, int32_t elemSize)
{
    if (!a || a->elemSize != elemSize || a->count < 0 || a->locks < 0)
        return false;
    return a->count == 0 || a->data != nullptr;
}
} // namespace

int lockArray(VxArray **array, int32_t elemSize)
{
    if (!array || !wellFormed(*array, elemSize) || injectedFailure(ArrayStep::Lock))
        return VX_ERR_ARRAY_LOCK;
    ++(*array)->locks;
    return 0;
}

void unlockArray(VxArray **array)
{
    if (array && *array && (*array)->locks > 0)
        --(*array)->locks;
}

int resizeArray(VxArray **array, int32_t elemSize, int64_t count, NewData data)
{
    if (!array)
        return VX_ERR_ARRAY_LOCK;
    if (!*array) {
        // A C caller may pass a null descriptor for an output array.
        *array = VxArrayCreate(elemSize, 0);
        if (!*array)
            return VX_ERR_ARRAY_ALLOC;
    }
    if ((*array)->elemSize != elemSize)
        return VX_ERR_ARRAY_LOCK;
    VxArray *a = *array;
    if (a->locks > 0 || injectedFailure(ArrayStep::Free))
        return VX_ERR_ARRAY_FREE;
    std::free(a->data);
    a->data = nullptr;
    a->count = 0;

    if (count < 0 || count > INT32_MAX)
        return VX_ERR_ARRAY_ALLOC;
    a->count = static_cast<int32_t>(count);
    if (injectedFailure(ArrayStep::Alloc))
        return VX_ERR_ARRAY_ALLOC;
    if (count > 0) {
        const auto n = static_cast<size_t>(count), size = static_cast<size_t>(elemSize);
        a->data = data == NewData::Zeroed ? std::calloc(n, size) : std::malloc(n * size);
        if (!a->data)
            return VX_ERR_ARRAY_ALLOC;
    }
    return lockArray(array, elemSize);
}

namespace testing {
void failArrayStep(ArrayStep step, int skip) { g_failCountdown[static_cast<int>(step)] = skip; }
void clearArrayFailures()
{
    for (int &c : g_failCountdown)
        c = -1;
}
} // namespace testing

} // namespace vx

extern "C" {

VxArray *VxArrayCreate(int32_t elemSize, int32_t count)
{
    if (elemSize < 1 || count < 0)
        return nullptr;
    auto *a = static_cast<VxArray *>(std::calloc(1, sizeof(VxArray)));
    if (!a)
        return nullptr;
    a->elemSize = elemSize;
    a->count = count;
    if (count > 0) {
        a->data = std::calloc(static_cast<size_t>(count), static_cast<size_t>(elemSize));
        if (!a->data) {
            std::free(a);
            return nullptr;
        }
    }
    return a;
}

void VxArrayDestroy(VxArray *array)
{
    if (!array)
        return;
    std::free(array->data);
    std::free(array);
}

} // extern "C"
