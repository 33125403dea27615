// What the counter puts on the line: reading texts, where each frame's
// reading comes from, the 20-byte frame, and the line's timing.
//
// A reading text is the frequency in Hz with its digits grouped in threes by
// '.', then " Hz", right-aligned in 13 characters ("10.032.768 Hz",
// "    32.768 Hz").
//
// The frame:
//   offset 0..2   three spaces (the lead)
//   offset 3..15  the 13-character reading
//   offset 16..17 checksum: two uppercase hex digits of the sum of bytes 0..15 mod 256
//   offset 18..19 CR LF
// Receivers use only the lead and the reading; the last four bytes keep the
// line readable in a terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "counter/random_source.h"

namespace zorvalit::counter {

// ---- Reading texts

inline constexpr std::size_t kReadingSize = 13;
// The widest value whose text still fits in 13 characters.
inline constexpr std::uint32_t kMaxReadingHz = 99'999'999;

// Formats hz (at most kMaxReadingHz, else std::out_of_range) as a 13-character reading.
std::string format_reading(std::uint32_t hz);

// Accepts a plain number of Hz ("32768") or a reading text with any leading
// spaces ("32.768 Hz", "   10.032.768 Hz") and returns the 13-character
// reading; nullopt if the text is neither or does not fit.
std::optional<std::string> parse_reading(std::string_view text);

// ---- Where each frame's reading comes from: a fixed list used in turn, or a
// bounded random walk around a base frequency.

class ReadingSource {
public:
    // Uses the 13-character readings in turn, starting over after the last.
    static ReadingSource from_list(std::vector<std::string> readings);

    // Starts at base and moves by a few Hz each frame, never further than
    // drift from base nor outside 0..kMaxReadingHz; the same seed gives the same walk.
    static ReadingSource random_walk(std::uint32_t base, std::uint32_t drift, std::uint64_t seed);

    // The 13-character reading for the next frame.
    std::string next();

private:
    explicit ReadingSource(std::uint64_t seed) : rng_(seed) {}

    std::vector<std::string> list_;
    std::size_t index_ = 0;
    std::int64_t value_ = 0;
    std::int64_t low_ = 0;
    std::int64_t high_ = 0;
    std::int64_t step_ = 0;
    bool started_ = false;
    Rng rng_;
};

// ---- The frame

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kFrameSize = 20;
inline constexpr std::size_t kLeadSize = 3;
inline constexpr std::string_view kLead = "   ";

// Builds a frame from a 3-byte lead and a 13-byte reading (std::invalid_argument
// otherwise). Both may hold any bytes, so faults can alter them.
Bytes make_frame(std::string_view lead, std::string_view reading);

// ---- Timing of the 2400-baud line (8N1: 10 bits a character, 240 characters a
// second) and of the pauses between frames. All times are nanoseconds.

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
