// SplitMix64 and the streams drawn from it.
#include "counter/random_source.h"

namespace zorvalit::counter {

Rng Rng::stream(std::uint64_t seed, std::uint64_t stream, std::uint64_t index)
{
    Rng per_stream(seed ^ (stream * 0xD1B54A32D192ED03ULL));
    Rng per_index(per_stream.next() + index * 0x9E3779B97F4A7C15ULL);
    return Rng(per_index.next());
}

std::uint64_t Rng::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::int64_t Rng::between(std::int64_t lo, std::int64_t hi)
{
    const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<std::int64_t>(next() % span);
}

bool Rng::chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }

}  // namespace zorvalit::counter
