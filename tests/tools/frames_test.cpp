// Reading texts, the frame around them, reading lists and the seeded random walk.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "counter/frames.h"

namespace zorvalit::counter {
namespace {

struct Formatted {
    std::uint32_t hz;
    const char* text;
};

class FormatReading : public ::testing::TestWithParam<Formatted> {};

TEST_P(FormatReading, GroupsDigitsAndRightAligns)
{
    const std::string text = format_reading(GetParam().hz);
    EXPECT_EQ(text, GetParam().text);
    EXPECT_EQ(text.size(), kReadingSize);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatReading,
    ::testing::Values(Formatted{0, "         0 Hz"}, Formatted{999, "       999 Hz"},
                      Formatted{1000, "     1.000 Hz"}, Formatted{32768, "    32.768 Hz"},
                      Formatted{100000, "   100.000 Hz"}, Formatted{1000000, " 1.000.000 Hz"},
                      Formatted{10032768, "10.032.768 Hz"}, Formatted{99999999, "99.999.999 Hz"}));

TEST(FormatReadingLimit, RefusesWhatDoesNotFit)
{
    EXPECT_THROW(format_reading(100'000'000), std::out_of_range);
}

struct Parsed {
    const char* input;
    const char* reading;  // nullptr: rejected
};

class ParseReading : public ::testing::TestWithParam<Parsed> {};

TEST_P(ParseReading, AcceptsNumbersAndWellFormedTextsOnly)
{
    const auto reading = parse_reading(GetParam().input);
    if (GetParam().reading == nullptr) {
        EXPECT_FALSE(reading) << "accepted as '" << *reading << "'";
    } else {
        ASSERT_TRUE(reading);
        EXPECT_EQ(*reading, GetParam().reading);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ParseReading,
    ::testing::Values(Parsed{"32768", "    32.768 Hz"}, Parsed{"0", "         0 Hz"},
                      Parsed{"00032768", "    32.768 Hz"}, Parsed{"32.768 Hz", "    32.768 Hz"},
                      Parsed{"   10.032.768 Hz", "10.032.768 Hz"}, Parsed{"99.999.999 Hz", "99.999.999 Hz"},
                      Parsed{"", nullptr}, Parsed{"   ", nullptr}, Parsed{"100000000", nullptr},
                      Parsed{"100.000.000 Hz", nullptr}, Parsed{"3.2768 Hz", nullptr},
                      Parsed{"032.768 Hz", nullptr}, Parsed{"32,768 Hz", nullptr},
                      Parsed{"32.768Hz", nullptr}, Parsed{"32.768 hz", nullptr}, Parsed{" Hz", nullptr},
                      Parsed{"-5", nullptr}, Parsed{"12a", nullptr}));

TEST(MakeFrame, PutsLeadReadingChecksumAndLineEndInPlace)
{
    const Bytes frame = make_frame(kLead, "10.032.768 Hz");
    // 0x20 * 3 + the reading's bytes sum to 825; 825 mod 256 = 0x39.
    const std::string expected = "   10.032.768 Hz39\r\n";
    EXPECT_EQ(std::string(frame.begin(), frame.end()), expected);
    EXPECT_EQ(frame.size(), kFrameSize);
}

TEST(MakeFrame, RefusesWrongSizes)
{
    EXPECT_THROW(make_frame("  ", "10.032.768 Hz"), std::invalid_argument);
    EXPECT_THROW(make_frame(kLead, "32.768 Hz"), std::invalid_argument);
}

std::vector<std::string> take(ReadingSource& source, int count)
{
    std::vector<std::string> readings;
    for (int i = 0; i < count; ++i) readings.push_back(source.next());
    return readings;
}

std::uint32_t hz_of(const std::string& reading)
{
    std::string digits;
    for (const char c : reading) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return static_cast<std::uint32_t>(std::stoul(digits));
}

TEST(ReadingList, IsUsedInTurnAndStartsOver)
{
    auto source = ReadingSource::from_list({"a", "b", "c"});
    EXPECT_EQ(take(source, 7), (std::vector<std::string>{"a", "b", "c", "a", "b", "c", "a"}));
}

TEST(RandomWalk, StartsAtBaseAndIsReproducibleFromTheSeed)
{
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

TEST_P(RandomWalkBand, StaysWithinDriftAndTheDisplayableRange)
{
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
