// The counter's command line: its options, declared once with CLI11, which
// parses them and generates the --help text from the same declarations.
// parse_options checks every value and combination and throws UsageError
// with a short message on the first problem.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "counter/faults.h"
#include "counter/frames.h"

namespace zorvalit::counter {

// The error thrown for a bad command line; its message is shown to the user
// and the counter exits with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    bool help = false;
    std::optional<std::string> link;
    bool fast = false;
    std::int64_t frame_period_ns = kDefaultFramePeriodNs;
    std::optional<std::uint64_t> frames;
    bool wait_for_usr1 = false;
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

// The --help text: every option by group, the frame and log formats, and an example.
std::string help_text();

}  // namespace zorvalit::counter
