// Resizing, locking and filling the caller's arrays, with the failure codes
// of each step. Tests can make a step fail on purpose.
#pragma once

#include "vextra.h"

#include <cstdint>

namespace vx {

enum class ArrayStep { Free, Alloc, Lock };

// Checks the descriptor and takes a lock. 0, or VX_ERR_ARRAY_LOCK when the
// array is missing, malformed or holds records of another size.
int lockArray(VxArray **array, int32_t elemSize);
void unlockArray(VxArray **array);

// Frees the old data (-102), sets the count and allocates zero-filled data
// (-103), then locks it (-104). On success the array is locked once more.
// An array locked by someone else cannot be freed: -102, left as it was.
// A caller that writes every byte of every record may skip the zeroing.
enum class NewData { Zeroed, Unset };
int resizeArray(VxArray **array, int32_t elemSize, int64_t count, NewData data = NewData::Zeroed);

template <typename T> T *elements(VxArray **array) { return static_cast<T *>((*array)->data); }

// Locks an array for the lifetime of the guard.
class ArrayLock {
public:
    ArrayLock(VxArray **array, int32_t elemSize) : m_array(array), m_result(lockArray(array, elemSize)) {}
    ~ArrayLock() { release(); }
    ArrayLock(const ArrayLock &) = delete;
    ArrayLock &operator=(const ArrayLock &) = delete;
    int result() const { return m_result; }
    bool ok() const { return m_result == 0; }
    void release()
    {
        if (m_result == 0 && m_array) {
            unlockArray(m_array);
            m_array = nullptr;
        }
    }

private:
    VxArray **m_array;
    int m_result;
};

namespace testing {
// The `skip`+1-th next call of `step` fails; -1 clears. Not exported.
void failArrayStep(ArrayStep step, int skip = 0);
void clearArrayFailures();
} // namespace testing

} // namespace vx
