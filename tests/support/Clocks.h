// The clocks tests and benchmarks read: CLOCK_MONOTONIC, which the stand-in counter's log and
// the window programs also use, and the CPU time this process has used; and waiting on the first
// for a condition to hold.
#pragma once

#include <time.h>

#include <chrono>
#include <cstdint>
#include <thread>

inline std::int64_t NsOf(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

inline std::int64_t MonotonicNs() { return NsOf(CLOCK_MONOTONIC); }
inline std::int64_t ProcessCpuNs() { return NsOf(CLOCK_PROCESS_CPUTIME_ID); }
inline double CpuSeconds() { return static_cast<double>(ProcessCpuNs()) / 1e9; }

// Whether the condition holds within that many milliseconds, looked at every 100 ms.
template <class Condition>
bool Within(int milliseconds, Condition condition)
{
    const std::int64_t end = MonotonicNs() + std::int64_t{milliseconds} * 1'000'000;
    while (!condition()) {
        if (MonotonicNs() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}
