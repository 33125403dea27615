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

// Default frame period: 500 ms (2 frames/s), as from a counter with a half-second gate. The
// receiver finds a frame's start only after more than 170 ms of quiet, so frames sent closer
// together suit only a receiver that was already in step when they began.
inline constexpr std::int64_t kDefaultFramePeriodNs = 500 * kNsPerMs;

// Shortest period when paced: the frame plus at least one character of quiet
// (at most 240/21 ≈ 11.4 frames/s).
inline constexpr std::int64_t kMinPacedFramePeriodNs = char_offset_ns(kFrameSize + 1);

}  // namespace zorvalit::counter
