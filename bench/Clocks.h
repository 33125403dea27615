// The clocks the benchmark reads: CLOCK_MONOTONIC (shared with the counter's log and the child
// programs) and the CPU time of this process, both in nanoseconds.
#pragma once

#include <time.h>

#include <cstdint>

inline std::int64_t NsOf(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

inline std::int64_t MonotonicNs() { return NsOf(CLOCK_MONOTONIC); }
inline std::int64_t ProcessCpuNs() { return NsOf(CLOCK_PROCESS_CPUTIME_ID); }
