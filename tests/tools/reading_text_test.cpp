// Reading texts and the frame around them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "counter/frame.h"
#include "counter/reading_text.h"

namespace zorvalit::counter {
namespace {

struct Formatted {
    std::uint32_t hz;
    const char* text;
};

class FormatReading : public ::testing::TestWithParam<Formatted> {};

TEST_P(FormatReading, GroupsDigitsAndRightAligns) {
    const std::string text = format_reading(GetParam().hz);
    EXPECT_EQ(text, GetParam().text);
    EXPECT_EQ(text.size(), kReadingSize);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatReading,
                         ::testing::Values(Formatted{0, "         0 Hz"}, Formatted{999, "       999 Hz"},
                                           Formatted{1000, "     1.000 Hz"}, Formatted{32768, "    32.768 Hz"},
                                           Formatted{100000, "   100.000 Hz"}, Formatted{1000000, " 1.000.000 Hz"},
                                           Formatted{10032768, "10.032.768 Hz"},
                                           Formatted{99999999, "99.999.999 Hz"}));

TEST(FormatReadingLimit, RefusesWhatDoesNotFit) {
    EXPECT_THROW(format_reading(100'000'000), std::out_of_range);
}

struct Parsed {
    const char* input;
    const char* reading;  // nullptr: rejected
};

class ParseReading : public ::testing::TestWithParam<Parsed> {};

TEST_P(ParseReading, AcceptsNumbersAndWellFormedTextsOnly) {
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
                      Parsed{"100.000.000 Hz", nullptr}, Parsed{"3.2768 Hz", nullptr}, Parsed{"032.768 Hz", nullptr},
                      Parsed{"32,768 Hz", nullptr}, Parsed{"32.768Hz", nullptr}, Parsed{"32.768 hz", nullptr},
                      Parsed{" Hz", nullptr}, Parsed{"-5", nullptr}, Parsed{"12a", nullptr}));

TEST(MakeFrame, PutsLeadReadingChecksumAndLineEndInPlace) {
    const Bytes frame = make_frame(kLead, "10.032.768 Hz");
    // 0x20 * 3 + the reading's bytes sum to 825; 825 mod 256 = 0x39.
    const std::string expected = "   10.032.768 Hz39\r\n";
    EXPECT_EQ(std::string(frame.begin(), frame.end()), expected);
    EXPECT_EQ(frame.size(), kFrameSize);
}

TEST(MakeFrame, RefusesWrongSizes) {
    EXPECT_THROW(make_frame("  ", "10.032.768 Hz"), std::invalid_argument);
    EXPECT_THROW(make_frame(kLead, "32.768 Hz"), std::invalid_argument);
}

}  // namespace
}  // namespace zorvalit::counter
