// A small deterministic random source (SplitMix64) that gives the same
// numbers on every platform, so a --seed always reproduces the same
// readings, faults and burst bytes.
#pragma once

#include <cstdint>

namespace zorvalit::counter {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    // An independent stream for one purpose (stream) and one item (index),
    // so drawing more numbers for one frame never shifts another's.
    static Rng stream(std::uint64_t seed, std::uint64_t stream, std::uint64_t index = 0);

    std::uint64_t next();

    // Uniform in [lo, hi]; the modulo bias is negligible for the small ranges used here.
    std::int64_t between(std::int64_t lo, std::int64_t hi);

    // True with probability p.
    bool chance(double p);

private:
    std::uint64_t state_;
};

}  // namespace zorvalit::counter
