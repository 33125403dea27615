// Command-line parsing and validation.
#include "counter/options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "counter/reading_text.h"
#include "counter/usage_error.h"

namespace zorvalit::counter {

namespace {

constexpr double kMaxRate = 1'000'000.0;

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

template <typename T>
std::string to_text(T value) {
    if constexpr (std::is_floating_point_v<T>) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return buffer;
    } else {
        return std::to_string(value);
    }
}

template <typename T>
T number(std::string_view name, std::string_view text, T min, T max) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || !(value >= min && value <= max)) {
        throw UsageError(std::string(name) + ": expected a number from " + to_text(min) + " to " + to_text(max) +
                         ", not " + quoted(text));
    }
    return value;
}

std::vector<std::string> reading_list(std::string_view text) {
    std::vector<std::string> readings;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        auto reading = parse_reading(item);
        if (!reading) {
            throw UsageError("--readings: " + quoted(item) +
                             " is neither a number of Hz up to 99999999 nor a reading like '10.032.768 Hz'");
        }
        readings.push_back(std::move(*reading));
        if (comma == std::string_view::npos) return readings;
        text.remove_prefix(comma + 1);
    }
}

void check_combinations(const Options& options, bool walk_given) {
    if (!options.readings.empty() && walk_given) throw UsageError("--readings cannot be combined with --base or --drift");
    if (!options.fast && options.frame_period_ns < kMinPacedFramePeriodNs) {
        throw UsageError("--rate: at most 11.4 frames/s unless --fast (a paced frame takes 83 ms plus a pause)");
    }
    if (options.reopen_after_ms && !options.hangup_after) throw UsageError("--reopen-after needs --hangup-after");
}

}  // namespace

Options parse_options(const std::vector<std::string_view>& args) {
    Options options;
    bool walk_given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return options;
        }
        if (!name.starts_with("--")) throw UsageError("unexpected argument " + quoted(name));

        std::optional<std::string_view> inline_value;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            inline_value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        // Taken only by options that have a value, so an unknown option is
        // reported as such rather than as missing its value.
        const auto value = [&]() -> std::string_view {
            if (inline_value) return *inline_value;
            if (i + 1 < args.size()) return args[++i];
            throw UsageError(std::string(name) + " needs a value");
        };

        if (name == "--fast") {
            if (inline_value) throw UsageError("--fast takes no value");
            options.fast = true;
        } else if (name == "--link") {
            options.link = std::string(value());
            if (options.link->empty()) throw UsageError("--link needs a path");
        } else if (name == "--rate") {
            const double rate = number<double>(name, value(), 1e-3, kMaxRate);
            options.frame_period_ns = std::llround(1e9 / rate);
        } else if (name == "--frames") {
            options.frames = number<std::uint64_t>(name, value(), 1, UINT64_MAX);
        } else if (name == "--readings") {
            options.readings = reading_list(value());
        } else if (name == "--base") {
            options.base_hz = number<std::uint32_t>(name, value(), 0, kMaxReadingHz);
            walk_given = true;
        } else if (name == "--drift") {
            options.drift_hz = number<std::uint32_t>(name, value(), 0, kMaxReadingHz);
            walk_given = true;
        } else if (name == "--seed") {
            options.seed = number<std::uint64_t>(name, value(), 0, UINT64_MAX);
        } else if (name == "--fault") {
            options.faults.push_back(parse_scheduled_fault(value()));
        } else if (name == "--fault-rate") {
            options.fault_rate = number<double>(name, value(), 0.0, 1.0);
        } else if (name == "--hangup-after") {
            options.hangup_after = number<std::uint64_t>(name, value(), 1, UINT64_MAX);
        } else if (name == "--reopen-after") {
            options.reopen_after_ms = number<std::int64_t>(name, value(), 0, 3'600'000);
        } else if (name == "--log") {
            options.log_path = std::string(value());
            if (options.log_path->empty()) throw UsageError("--log needs a file name");
        } else {
            throw UsageError("unknown option " + quoted(name));
        }
    }
    check_combinations(options, walk_given);
    return options;
}

}  // namespace zorvalit::counter
