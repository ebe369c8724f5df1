// Every export runs its body through this guard: no C++ exception crosses
// the C interface.
#pragma once

#include "vextra.h"

#include <new>

namespace vx {

template <typename Body> int32_t guarded(Body &&body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        return VX_ERR_MEMORY;
    } catch (...) {
        return VX_ERR_MEMORY;
    }
}

} // namespace vx
