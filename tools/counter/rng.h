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
    static Rng stream(std::uint64_t seed, std::uint64_t stream, std::uint64_t index = 0) {
        Rng per_stream(seed ^ (stream * 0xD1B54A32D192ED03ULL));
        Rng per_index(per_stream.next() + index * 0x9E3779B97F4A7C15ULL);
        return Rng(per_index.next());
    }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [lo, hi]; the modulo bias is negligible for the small ranges used here.
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<std::int64_t>(next() % span);
    }

    // True with probability p.
    bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }

private:
    std::uint64_t state_;
};

}  // namespace zorvalit::counter
