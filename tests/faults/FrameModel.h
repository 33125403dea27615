// An independent model of what the display must show for a stream of bytes and their arrival
// times, written from the frame rules alone:
//  - a frame starts with the first byte that arrives while the receiver is idle;
//  - each of the next 19 bytes must arrive within 170 ms of the one before, else the frame ends
//    there with "Communication error !" and the buffer keeps the bytes of earlier frames beyond
//    the point reached (zeros before the first frame);
//  - a frame that ends either way whose bytes 0..2 are spaces puts bytes 3..15, up to the first
//    NUL, on the label.
// The receiver reads from a buffer, so only gaps between arrivals matter. A gap close to 170 ms
// can go either way on a loaded machine; Match accepts both outcomes there.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "CounterLog.h"
#include "Shown.h"

inline constexpr std::int64_t ByteLimitNs = 170'000'000;

struct Arrival {
    std::int64_t ns;
    std::uint8_t byte;
    std::int64_t slot;  // the counter's frame slot, for reports
};

// Every byte the counter's first line took, in order, with the time of its write.
std::vector<Arrival> ArrivalsFrom(const CounterLog& log);

class ReceiverModel {
public:
    bool InFrame() const { return filled_ > 0; }
    std::int64_t LastNs() const { return lastNs_; }
    // The frame in progress gets no more bytes.
    void TimeOut(std::vector<Shown>& out);
    // The next byte arrives at that time (after any TimeOut its gap calls for).
    void Take(std::int64_t ns, std::uint8_t byte, std::vector<Shown>& out);
    bool operator==(const ReceiverModel&) const = default;

private:
    void Finish(std::vector<Shown>& out) const;

    std::array<std::uint8_t, 20> buffer_{};
    int filled_ = 0;
    std::int64_t lastNs_ = 0;
};

// What the display shows with a fixed limit; a frame still open at the end times out.
std::vector<Shown> Predict(const std::vector<Arrival>& arrivals, std::int64_t limitNs = ByteLimitNs);

// Gaps inside [lowNs, highNs] may end a frame or not.
struct GapBand {
    std::int64_t lowNs = 155'000'000;
    std::int64_t highNs = 240'000'000;
};

struct MatchResult {
    bool matched = false;
    int uncertainGaps = 0;  // gaps inside the band met in a frame
    std::string mismatch;   // where and how the display left every possible outcome
};

// Whether the observed sequence is one the arrivals allow.
MatchResult Match(const std::vector<Arrival>& arrivals, const std::vector<Shown>& observed,
                  GapBand band = {});
