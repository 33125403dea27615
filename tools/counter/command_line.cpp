// The options declared with CLI11, the counter's own wording for CLI11's
// messages where they are unclear, and the layout of --help.
#include "counter/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>

namespace zorvalit::counter {

namespace {

constexpr double kMaxRate = 1'000'000.0;
constexpr std::size_t kHelpColumn = 32;

constexpr const char* kDescription =
    R"(Stands in for the frequency counter on its RS-232 line (2400 baud, 8N1):
opens a pseudo-terminal, prints the path of its slave side as the first line
on standard output, and sends 20-byte measurement frames on it until it is
stopped with SIGINT, SIGTERM or SIGHUP (exit status 0) or --frames is reached.

Frame: 3 spaces, the 13-character reading right-aligned ("10.032.768 Hz"),
2 uppercase hex digits of the sum of bytes 0-15 mod 256, CR LF.
Whatever the receiver sends is read and ignored. When nobody reads and the
pty is full, bytes are dropped rather than waited for (see --log). While no
receiver has the port open, frames wait in the pty and arrive in one rush
when it is opened, so a receiver should discard its input after opening.)";

constexpr const char* kFooter = R"(Fault kinds for --fault:
  cut:N          send only the first N bytes (1-19), then 250 ms silence
  nospace[:I]    lead byte I (0-2) becomes '*'; all three without I
  nul[:P]        NUL at reading position P (0-12, default 6)
  cp1250[:P]     bytes 0xB5 'µ' 0x8A 'Š' at reading positions P, P+1
                 (0-11, default 0)
  burst:N        N random bytes (1-4096) before the frame, then the
                 normal pause
  silence:MS     MS ms (1-3600000) of extra quiet before the frame

Exit status: 0 when stopped or done, 1 on a runtime error, 2 on bad options.

Example:
  zorvalit-counter --link /tmp/COM1 --readings "32768,10.032.768 Hz" \
      --fault cut:7@5 --fault nul@8 --hangup-after 20 --reopen-after 500 \
      --log counter.log)";

std::string in_quotes(std::string_view text) { return "'" + std::string(text) + "'"; }

template <typename T>
std::string to_text(T value)
{
    if constexpr (std::is_floating_point_v<T>) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", value);
        return buffer;
    } else {
        return std::to_string(value);
    }
}

// CLI::Range(min, max) for a plain decimal number. CLI11 alone reads "-1" as
// 18446744073709551615 for an unsigned option, "010" as octal, and says
// "Value 0 not in range 0.001000 to 1000000.000000"; this checks the text
// first, rewrites an integer in plain decimal for CLI11's conversion, and
// words the message as "expected a number from MIN to MAX, not 'TEXT'". Its
// description, shown in --help after the value's name, is the range in
// parentheses (none for the whole range of an unsigned type).
template <typename T>
CLI::Validator number_in(T min, T max)
{
    const CLI::Range range(min, max);
    const std::string expected = "expected a number from " + to_text(min) + " to " + to_text(max) + ", not ";
    std::string shown;
    if (max != std::numeric_limits<T>::max()) {
        shown = "(" + to_text(min) + " to " + to_text(max) + ")";
    } else if (min != 0) {
        shown = "(from " + to_text(min) + ")";
    }
    return CLI::Validator(
        [range, expected](std::string& input) {
            T value{};
            const auto [end, ec] = std::from_chars(input.data(), input.data() + input.size(), value);
            if (input.empty() || ec != std::errc{} || end != input.data() + input.size() ||
                !range(input).empty()) {
                return expected + in_quotes(input);
            }
            if constexpr (std::is_integral_v<T>) input = std::to_string(value);
            return std::string();
        },
        shown);
}

CLI::Validator not_empty(const std::string& what)
{
    return CLI::Validator(
        [what](std::string& input) { return input.empty() ? "needs " + what : std::string(); }, "");
}

std::string check_reading_list(std::string_view text, std::vector<std::string>* readings)
{
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        auto reading = parse_reading(item);
        if (!reading) {
            return in_quotes(item) +
                   " is neither a number of Hz up to 99999999 nor a reading like '10.032.768 Hz'";
        }
        if (readings != nullptr) readings->push_back(std::move(*reading));
        if (comma == std::string_view::npos) return {};
        text.remove_prefix(comma + 1);
    }
}

// CLI11's "--a excludes --b" and "--a requires --b" in the words --help uses.
std::string reworded(std::string message, const std::string& from, const std::string& to)
{
    if (const auto at = message.find(from); at != std::string::npos) message.replace(at, from.size(), to);
    return message;
}

// The --help layout: usage first, then the description, the options by
// group with their value's name and range, and the footer. What an option
// needs or excludes is added under its description.
class HelpFormatter : public CLI::Formatter {
public:
    HelpFormatter() { column_width(kHelpColumn); }

    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode) const override
    {
        std::string help = "Usage: " + name + " [OPTION]...\n" + app->get_description() + "\n";
        for (const std::string& group : app->get_groups()) {
            const auto options = app->get_options(
                [&group](const CLI::Option* option) { return option->get_group() == group; });
            if (!options.empty()) help += make_group(group, false, options);
        }
        return help + "\n" + app->get_footer() + "\n";
    }

    std::string make_option_name(const CLI::Option* option, bool) const override
    {
        return CLI::detail::find_and_replace(option->get_name(false, true), ",", ", ");
    }

    // "VALUE (RANGE)": CLI11's type name is the value's name, then ':' and
    // each validator's description, which is "(RANGE)" for a number.
    std::string make_option_opts(const CLI::Option* option) const override
    {
        if (option->get_type_size() == 0) return {};
        return " " + CLI::detail::find_and_replace(option->get_type_name(), ":(", " (");
    }

    std::string make_option_desc(const CLI::Option* option) const override
    {
        std::string description = option->get_description();
        const auto names = [](const std::set<CLI::Option*>& options) {
            std::vector<std::string> list;
            for (const CLI::Option* other : options) list.push_back(other->get_name());
            std::sort(list.begin(), list.end());
            return CLI::detail::join(list, " or ");
        };
        if (!option->get_needs().empty()) description += "\n(needs " + names(option->get_needs()) + ")";
        if (!option->get_excludes().empty())
            description += "\n(not with " + names(option->get_excludes()) + ")";
        return description;
    }
};

// The options declared once for parsing and for --help.
class CommandLine {
public:
    CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    Options parse(const std::vector<std::string_view>& args);
    std::string help() const { return app_.help(); }

private:
    void check_combinations() const;

    CLI::App app_{kDescription, "zorvalit-counter"};
    Options options_;
    std::string link_;
    double rate_ = 0;
    std::uint64_t frames_ = 0;
    std::string readings_;
    std::vector<std::string> faults_;
    std::uint64_t hangup_after_ = 0;
    std::int64_t reopen_after_ms_ = 0;
    std::string log_path_;
    CLI::Option* link_option_ = nullptr;
    CLI::Option* rate_option_ = nullptr;
    CLI::Option* frames_option_ = nullptr;
    CLI::Option* readings_option_ = nullptr;
    CLI::Option* hangup_after_option_ = nullptr;
    CLI::Option* reopen_after_option_ = nullptr;
    CLI::Option* log_option_ = nullptr;
};

CommandLine::CommandLine()
{
    app_.formatter(std::make_shared<HelpFormatter>());
    app_.footer(kFooter);
    // Unknown options and stray arguments are reported in the counter's words.
    app_.allow_extras();
    // An option given twice takes its last value.
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    constexpr std::uint64_t kMaxCount = std::numeric_limits<std::uint64_t>::max();

    link_option_ = app_.add_option("--link", link_,
                                   "make PATH a symbolic link to the slave (e.g.\n"
                                   "/dev/COM1), removed at exit; an existing PATH\n"
                                   "is replaced only if it is a link into /dev/pts\n"
                                   "(left from an earlier run)")
                       ->type_name("PATH")
                       ->check(not_empty("a path"))
                       ->group("Line");
    app_.add_flag("--fast", options_.fast,
                  "write each frame in one go instead of one byte\n"
                  "every 1/240 s as the real line does")
        ->disable_flag_override()
        ->group("Line");
    rate_option_ = app_.add_option("--rate", rate_,
                                   "frames a second (default 2: a 83 ms frame,\n"
                                   "then 417 ms quiet, so a receiver that starts\n"
                                   "mid-frame falls in step at the next one);\n"
                                   "at most 11.4 unless --fast")
                       ->type_name("FPS")
                       ->transform(number_in(1e-3, kMaxRate))
                       ->group("Line");
    frames_option_ = app_.add_option("--frames", frames_,
                                     "stop after N frame slots: wait while the\n"
                                     "receiver reads them (up to 1 s after it last\n"
                                     "read), then hang up and exit 0")
                         ->type_name("N")
                         ->transform(number_in<std::uint64_t>(1, kMaxCount))
                         ->group("Line");
    app_.add_flag("--wait-for-usr1", options_.wait_for_usr1,
                  "send nothing until SIGUSR1 comes; the first\n"
                  "frame slot starts then")
        ->disable_flag_override()
        ->group("Line");

    const std::string readings = "Readings (default: --base 10032768 --drift 5)";
    readings_option_ =
        app_.add_option("--readings", readings_,
                        "comma-separated readings used in turn, each\n"
                        "a number of Hz (\"32768\") or a reading text\n"
                        "(\"32.768 Hz\"), at most 99999999 Hz")
            ->type_name("LIST")
            ->check(CLI::Validator([](std::string& input) { return check_reading_list(input, nullptr); }, ""))
            ->group(readings);
    CLI::Option* base = app_.add_option("--base", options_.base_hz, "centre of a random walk of readings")
                            ->type_name("HZ")
                            ->transform(number_in<std::uint32_t>(0, kMaxReadingHz))
                            ->group(readings);
    CLI::Option* drift =
        app_.add_option("--drift", options_.drift_hz, "how far the walk may move from the base")
            ->type_name("HZ")
            ->transform(number_in<std::uint32_t>(0, kMaxReadingHz))
            ->group(readings);
    readings_option_->excludes(base)->excludes(drift);
    app_.add_option("--seed", options_.seed,
                    "seed for the walk, random faults and burst\n"
                    "bytes (default 1)")
        ->type_name("N")
        ->transform(number_in<std::uint64_t>(0, kMaxCount))
        ->group(readings);

    const std::string faults = "Faults (frame slots are numbered from 1)";
    app_.add_option("--fault", faults_,
                    "inject a fault in that slot; repeatable;\n"
                    "the kinds are listed below")
        ->type_name("KIND[:ARG]@FRAME")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false)
        ->check(CLI::Validator(
            [](std::string& input) {
                try {
                    parse_scheduled_fault(input);
                    return std::string();
                } catch (const UsageError& error) {
                    return std::string(error.what());
                }
            },
            ""))
        ->group(faults);
    app_.add_option("--fault-rate", options_.fault_rate,
                    "each slot gets one random fault with\n"
                    "probability P (bursts up to 40 bytes,\n"
                    "silences 50-500 ms)")
        ->type_name("P")
        ->transform(number_in(0.0, 1.0))
        ->group(faults);
    hangup_after_option_ = app_.add_option("--hangup-after", hangup_after_,
                                           "after slot N, wait as --frames does for the\n"
                                           "receiver to read, then close the pty (the\n"
                                           "receiver sees a hang-up); with no --reopen-after\n"
                                           "nothing more is sent, the link dangles and\n"
                                           "the counter waits for SIGINT/SIGTERM")
                               ->type_name("N")
                               ->transform(number_in<std::uint64_t>(1, kMaxCount))
                               ->group(faults);
    reopen_after_option_ = app_.add_option("--reopen-after", reopen_after_ms_,
                                           "MS ms after the hang-up open a new pty, print\n"
                                           "its slave path as a new line, point --link at\n"
                                           "it and go on")
                               ->type_name("MS")
                               ->transform(number_in<std::int64_t>(0, 3'600'000))
                               ->needs(hangup_after_option_)
                               ->group(faults);

    log_option_ = app_.add_option("--log", log_path_,
                                  "write one line per write to the pty, flushed:\n"
                                  "  NS FRAME KIND DATA DROPPED\n"
                                  "NS: CLOCK_MONOTONIC ns just before the write;\n"
                                  "FRAME: slot number; KIND: frame, burst, or the\n"
                                  "faults applied to the frame joined by '+'\n"
                                  "(e.g. nul+cut); DATA: the bytes the pty took\n"
                                  "in lowercase hex ('-' if none); DROPPED: bytes\n"
                                  "of the write the pty refused.\n"
                                  "Events: \"NS FRAME open SLAVE-PATH 0\" when a\n"
                                  "pty is opened and \"NS FRAME hangup - 0\" when\n"
                                  "it is closed, FRAME being the last slot begun\n"
                                  "(0 before any)")
                      ->type_name("FILE")
                      ->check(not_empty("a file name"))
                      ->group("Other");
    // Declared last, so it is listed last.
    app_.set_help_flag("-h,--help", "show this help")->group("Other");
}

Options CommandLine::parse(const std::vector<std::string_view>& args)
{
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app_.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        options_.help = true;
        return options_;
    } catch (const CLI::ExcludesError& error) {
        throw UsageError(reworded(error.what(), " excludes ", " cannot be combined with "));
    } catch (const CLI::RequiresError& error) {
        throw UsageError(reworded(error.what(), " requires ", " needs "));
    } catch (const CLI::ArgumentMismatch& error) {
        // CLI11 names a flag without its dashes.
        const std::string message = error.what();
        std::string name = message.substr(0, message.find_first_of(": "));
        if (!name.starts_with("-")) name = "--" + name;
        if (message.ends_with(" missing")) throw UsageError(name + " needs a value");
        if (message.find("flag override") != std::string::npos) throw UsageError(name + " takes no value");
        throw UsageError(message);
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
    if (const auto extras = app_.remaining(); !extras.empty()) {
        const std::string& extra = extras.front();
        if (extra.starts_with("-"))
            throw UsageError("unknown option " + in_quotes(extra.substr(0, extra.find('='))));
        throw UsageError("unexpected argument " + in_quotes(extra));
    }

    if (link_option_->count() > 0) options_.link = link_;
    if (rate_option_->count() > 0) options_.frame_period_ns = std::llround(1e9 / rate_);
    if (frames_option_->count() > 0) options_.frames = frames_;
    if (readings_option_->count() > 0) check_reading_list(readings_, &options_.readings);
    for (const std::string& fault : faults_) options_.faults.push_back(parse_scheduled_fault(fault));
    if (hangup_after_option_->count() > 0) options_.hangup_after = hangup_after_;
    if (reopen_after_option_->count() > 0) options_.reopen_after_ms = reopen_after_ms_;
    if (log_option_->count() > 0) options_.log_path = log_path_;
    check_combinations();
    return options_;
}

// What CLI11 cannot declare: a limit on one option that another lifts.
void CommandLine::check_combinations() const
{
    if (!options_.fast && options_.frame_period_ns < kMinPacedFramePeriodNs) {
        throw UsageError(
            "--rate: at most 11.4 frames/s unless --fast (a paced frame takes 83 ms plus a pause)");
    }
}

}  // namespace

Options parse_options(const std::vector<std::string_view>& args) { return CommandLine().parse(args); }

std::string help_text() { return CommandLine().help(); }

}  // namespace zorvalit::counter
