// Reading lists and the bounded random walk.
#include "counter/reading_source.h"

#include <algorithm>
#include <stdexcept>

#include "counter/reading_text.h"

namespace zorvalit::counter {

namespace {
constexpr std::uint64_t kWalkStream = 1;
}

ReadingSource ReadingSource::from_list(std::vector<std::string> readings) {
    if (readings.empty()) throw std::invalid_argument("empty reading list");
    ReadingSource source(0);
    source.list_ = std::move(readings);
    return source;
}

ReadingSource ReadingSource::random_walk(std::uint32_t base, std::uint32_t drift, std::uint64_t seed) {
    if (base > kMaxReadingHz) throw std::out_of_range("base above 99.999.999 Hz");
    ReadingSource source(Rng::stream(seed, kWalkStream).next());
    source.value_ = base;
    source.low_ = std::max<std::int64_t>(0, std::int64_t{base} - drift);
    source.high_ = std::min<std::int64_t>(kMaxReadingHz, std::int64_t{base} + drift);
    // Each step moves at most a quarter of the drift, so the walk wanders
    // over several frames instead of jumping across the whole band.
    source.step_ = (std::int64_t{drift} + 3) / 4;
    return source;
}

std::string ReadingSource::next() {
    if (!list_.empty()) {
        const std::string& reading = list_[index_];
        index_ = (index_ + 1) % list_.size();
        return reading;
    }
    if (started_ && step_ > 0) {
        value_ = std::clamp(value_ + rng_.between(-step_, step_), low_, high_);
    }
    started_ = true;
    return format_reading(static_cast<std::uint32_t>(value_));
}

}  // namespace zorvalit::counter
