// Reading texts as the counter shows them: the frequency in Hz with its
// digits grouped in threes by '.', then " Hz", right-aligned in 13 characters
// ("10.032.768 Hz", "    32.768 Hz").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvalit::counter {

inline constexpr std::size_t kReadingSize = 13;
// The widest value whose text still fits in 13 characters.
inline constexpr std::uint32_t kMaxReadingHz = 99'999'999;

// Formats hz (at most kMaxReadingHz, else std::out_of_range) as a 13-character reading.
std::string format_reading(std::uint32_t hz);

// Accepts a plain number of Hz ("32768") or a reading text with any leading
// spaces ("32.768 Hz", "   10.032.768 Hz") and returns the 13-character
// reading; nullopt if the text is neither or does not fit.
std::optional<std::string> parse_reading(std::string_view text);

}  // namespace zorvalit::counter
