// Reading texts, reading lists and the bounded random walk, and frame assembly.
#include "counter/frames.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace zorvalit::counter {

namespace {

constexpr std::string_view kUnit = " Hz";
constexpr std::size_t kMaxDigits = 8;
constexpr std::uint64_t kWalkStream = 1;

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::optional<std::uint32_t> to_hz(std::string_view digits)
{
    if (digits.empty() || digits.size() > kMaxDigits) return std::nullopt;
    std::uint32_t hz = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), hz);
    if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return hz;
}

}  // namespace

std::string format_reading(std::uint32_t hz)
{
    if (hz > kMaxReadingHz) throw std::out_of_range("reading above 99.999.999 Hz");
    const std::string digits = std::to_string(hz);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
        grouped += digits[i];
    }
    grouped += kUnit;
    return std::string(kReadingSize - grouped.size(), ' ') + grouped;
}

std::optional<std::string> parse_reading(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text.remove_prefix(first);

    if (std::all_of(text.begin(), text.end(), is_digit)) {
        const auto hz = to_hz(text);
        if (!hz) return std::nullopt;
        return format_reading(*hz);
    }

    if (!text.ends_with(kUnit)) return std::nullopt;
    std::string digits;
    for (const char c : text.substr(0, text.size() - kUnit.size())) {
        if (is_digit(c)) {
            digits += c;
        } else if (c != '.') {
            return std::nullopt;
        }
    }
    const auto hz = to_hz(digits);
    if (!hz) return std::nullopt;
    // Reformatting must give the same text back, which rejects misplaced
    // dots and leading zeros.
    std::string reading = format_reading(*hz);
    if (std::string_view(reading).substr(reading.find_first_not_of(' ')) != text) return std::nullopt;
    return reading;
}

ReadingSource ReadingSource::from_list(std::vector<std::string> readings)
{
    if (readings.empty()) throw std::invalid_argument("empty reading list");
    ReadingSource source(0);
    source.list_ = std::move(readings);
    return source;
}

ReadingSource ReadingSource::random_walk(std::uint32_t base, std::uint32_t drift, std::uint64_t seed)
{
    if (base > kMaxReadingHz) throw std::out_of_range("base above 99.999.999 Hz");
    ReadingSource source(Rng::stream(seed, kWalkStream).next());
    source.value_ = base;
    source.low_ = std::max<std::int64_t>(0, std::int64_t{base} - drift);
    source.high_ = std::min<std::int64_t>(kMaxReadingHz, std::int64_t{base} + drift);
    // Each step moves at most a quarter of the drift, so the walk wanders
    // over several frames instead of jumping across the whole band.
    source.step_ = (std::int64_t{drift} + 3) / 4;
    return source;
}

std::string ReadingSource::next()
{
    if (!list_.empty()) {
        const std::string& reading = list_[index_];
        index_ = (index_ + 1) % list_.size();
        return reading;
    }
    if (started_ && step_ > 0) {
        value_ = std::clamp(value_ + rng_.between(-step_, step_), low_, high_);
    }
    started_ = true;
    return format_reading(static_cast<std::uint32_t>(value_));
}

Bytes make_frame(std::string_view lead, std::string_view reading)
{
    if (lead.size() != kLeadSize || reading.size() != kReadingSize) {
        throw std::invalid_argument("frame needs a 3-byte lead and a 13-byte reading");
    }
    Bytes frame;
    frame.reserve(kFrameSize);
    frame.insert(frame.end(), lead.begin(), lead.end());
    frame.insert(frame.end(), reading.begin(), reading.end());

    unsigned sum = 0;
    for (const std::uint8_t byte : frame) sum += byte;
    constexpr std::string_view kHex = "0123456789ABCDEF";
    frame.push_back(static_cast<std::uint8_t>(kHex[(sum >> 4) & 0xF]));
    frame.push_back(static_cast<std::uint8_t>(kHex[sum & 0xF]));
    frame.push_back('\r');
    frame.push_back('\n');
    return frame;
}

}  // namespace zorvalit::counter
