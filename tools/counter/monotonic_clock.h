// CLOCK_MONOTONIC in nanoseconds, the clock for pacing and for --log times.
#pragma once

#include <time.h>

#include <cstdint>

namespace zorvalit::counter {

inline std::int64_t monotonic_ns() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace zorvalit::counter
