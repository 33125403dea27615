// The counter's command-line options and their parsing. parse_options
// checks every value and combination and throws UsageError with a short
// message on the first problem.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "counter/fault.h"
#include "counter/line_timing.h"

namespace zorvalit::counter {

struct Options {
    bool help = false;
    std::optional<std::string> link;
    bool fast = false;
    std::int64_t frame_period_ns = kDefaultFramePeriodNs;
    std::optional<std::uint64_t> frames;
    std::vector<std::string> readings;  // 13-character readings; empty: random walk
    std::uint32_t base_hz = 10'032'768;
    std::uint32_t drift_hz = 5;
    std::uint64_t seed = 1;
    std::vector<ScheduledFault> faults;
    double fault_rate = 0.0;
    std::optional<std::uint64_t> hangup_after;
    std::optional<std::int64_t> reopen_after_ms;
    std::optional<std::string> log_path;
};

// args are the arguments after the program name. Accepts "--name VALUE" and "--name=VALUE".
Options parse_options(const std::vector<std::string_view>& args);

}  // namespace zorvalit::counter
