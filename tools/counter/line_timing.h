// Timing of the 2400-baud line (8N1: 10 bits a character, 240 characters a
// second) and of the pauses between frames. All times are nanoseconds.
#pragma once

#include <cstdint>

#include "counter/frame.h"

namespace zorvalit::counter {

inline constexpr std::int64_t kCharsPerSecond = 240;
inline constexpr std::int64_t kNsPerSecond = 1'000'000'000;
inline constexpr std::int64_t kNsPerMs = 1'000'000;

// When character i of a chunk starts, counted from the chunk's first character.
// Computed from i each time, so pacing never accumulates rounding.
constexpr std::int64_t char_offset_ns(std::int64_t i) { return i * kNsPerSecond / kCharsPerSecond; }

// Quiet after a cut-off frame: longer than the 170 ms a receiver waits for a
// missing byte, so it reports a communication error.
inline constexpr std::int64_t kCutSilenceNs = 250 * kNsPerMs;

// Default frame period: 20 characters of frame plus 4 of quiet, 100 ms (10 frames/s).
inline constexpr std::int64_t kDefaultFramePeriodNs = char_offset_ns(kFrameSize + 4);

// Shortest period when paced: the frame plus at least one character of quiet,
// so the receiver can tell where the next frame starts (at most 240/21 ≈ 11.4 frames/s).
inline constexpr std::int64_t kMinPacedFramePeriodNs = char_offset_ns(kFrameSize + 1);

}  // namespace zorvalit::counter
