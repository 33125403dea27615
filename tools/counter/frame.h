// The 20-byte measurement frame the counter sends:
//   offset 0..2   three spaces (the lead)
//   offset 3..15  the 13-character reading
//   offset 16..17 checksum: two uppercase hex digits of the sum of bytes 0..15 mod 256
//   offset 18..19 CR LF
// Receivers use only the lead and the reading; the last four bytes keep the
// line readable in a terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zorvalit::counter {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kFrameSize = 20;
inline constexpr std::size_t kLeadSize = 3;
inline constexpr std::string_view kLead = "   ";

// Builds a frame from a 3-byte lead and a 13-byte reading (std::invalid_argument
// otherwise). Both may hold any bytes, so faults can alter them.
Bytes make_frame(std::string_view lead, std::string_view reading);

}  // namespace zorvalit::counter
