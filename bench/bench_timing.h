// Timing helpers every benchmark shares: processor time, which other jobs
// on a busy machine change less than the clock, and medians.
#pragma once

#include <algorithm>
#include <ctime>
#include <vector>

namespace orvbench {

// Processor time in milliseconds, of the thread or of the whole process.
inline double cpuMs(clockid_t clock = CLOCK_THREAD_CPUTIME_ID)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The median of some timings.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace orvbench
