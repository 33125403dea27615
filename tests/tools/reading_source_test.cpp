// Reading lists and the seeded random walk.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "counter/reading_source.h"
#include "counter/reading_text.h"

namespace zorvalit::counter {
namespace {

std::vector<std::string> take(ReadingSource& source, int count) {
    std::vector<std::string> readings;
    for (int i = 0; i < count; ++i) readings.push_back(source.next());
    return readings;
}

std::uint32_t hz_of(const std::string& reading) {
    std::string digits;
    for (const char c : reading) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return static_cast<std::uint32_t>(std::stoul(digits));
}

TEST(ReadingList, IsUsedInTurnAndStartsOver) {
    auto source = ReadingSource::from_list({"a", "b", "c"});
    EXPECT_EQ(take(source, 7), (std::vector<std::string>{"a", "b", "c", "a", "b", "c", "a"}));
}

TEST(RandomWalk, StartsAtBaseAndIsReproducibleFromTheSeed) {
    auto first = ReadingSource::random_walk(10'032'768, 50, 7);
    auto again = ReadingSource::random_walk(10'032'768, 50, 7);
    auto other = ReadingSource::random_walk(10'032'768, 50, 8);
    const auto walk = take(first, 300);
    EXPECT_EQ(walk.front(), "10.032.768 Hz");
    EXPECT_EQ(walk, take(again, 300));
    EXPECT_NE(walk, take(other, 300));
    EXPECT_GT(std::set<std::string>(walk.begin(), walk.end()).size(), 10u) << "the walk hardly moves";
}

struct Band {
    std::uint32_t base;
    std::uint32_t drift;
    std::uint32_t low;
    std::uint32_t high;
};

class RandomWalkBand : public ::testing::TestWithParam<Band> {};

TEST_P(RandomWalkBand, StaysWithinDriftAndTheDisplayableRange) {
    const Band band = GetParam();
    auto source = ReadingSource::random_walk(band.base, band.drift, 3);
    for (const std::string& reading : take(source, 2000)) {
        ASSERT_EQ(reading.size(), kReadingSize);
        const std::uint32_t hz = hz_of(reading);
        ASSERT_GE(hz, band.low);
        ASSERT_LE(hz, band.high);
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, RandomWalkBand,
                         ::testing::Values(Band{10'032'768, 5, 10'032'763, 10'032'773},
                                           Band{1000, 0, 1000, 1000}, Band{3, 20, 0, 23},
                                           Band{kMaxReadingHz - 2, 40, kMaxReadingHz - 42, kMaxReadingHz}));

}  // namespace
}  // namespace zorvalit::counter
