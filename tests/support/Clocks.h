// The clocks tests and benchmarks read: CLOCK_MONOTONIC, which the stand-in counter's log and
// the window programs also use, and the CPU time this process has used.
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
inline double CpuSeconds() { return static_cast<double>(ProcessCpuNs()) / 1e9; }
