// Where each frame's reading comes from: a fixed list used in turn, or a
// bounded random walk around a base frequency.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "counter/rng.h"

namespace zorvalit::counter {

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

}  // namespace zorvalit::counter
