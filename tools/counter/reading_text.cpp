// Formatting and parsing of 13-character reading texts.
#include "counter/reading_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace zorvalit::counter {

namespace {

constexpr std::string_view kUnit = " Hz";
constexpr std::size_t kMaxDigits = 8;

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::optional<std::uint32_t> to_hz(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxDigits) return std::nullopt;
    std::uint32_t hz = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), hz);
    if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return hz;
}

}  // namespace

std::string format_reading(std::uint32_t hz) {
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

std::optional<std::string> parse_reading(std::string_view text) {
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

}  // namespace zorvalit::counter
