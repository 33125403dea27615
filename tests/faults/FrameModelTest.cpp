// The soak's judge: a gap near 170 ms may go either way, and nothing else is let through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FrameModel.h"
#include "MeasurementFrame.h"

using ::testing::HasSubstr;

namespace {

constexpr std::int64_t Ms = 1'000'000;

// A frame whose second half comes after a gap, then a whole frame after a long pause.
std::vector<Arrival> SplitThenWhole(std::int64_t gapNs)
{
    const std::string split = MeasurementFrame("10.032.768 Hz");
    const std::string whole = MeasurementFrame("99.999.999 Hz");
    std::vector<Arrival> arrivals;
    for (int i = 0; i < 20; ++i)
        arrivals.push_back({i < 10 ? 0 : gapNs, static_cast<std::uint8_t>(split[i]), 1});
    for (char byte : whole) arrivals.push_back({gapNs + 1000 * Ms, static_cast<std::uint8_t>(byte), 2});
    return arrivals;
}

}  // namespace

TEST(FrameModel, GapNearTheLimitAllowsBothOutcomes)
{
    const std::vector<Arrival> arrivals = SplitThenWhole(200 * Ms);
    const std::vector<Shown> endsTheFrame = Predict(arrivals, 170 * Ms);
    const std::vector<Shown> goesOn = Predict(arrivals, 250 * Ms);
    ASSERT_NE(endsTheFrame, goesOn);
    EXPECT_TRUE(Match(arrivals, endsTheFrame).matched);
    EXPECT_TRUE(Match(arrivals, goesOn).matched);
    EXPECT_EQ(Match(arrivals, goesOn).uncertainGaps, 1);
}

TEST(FrameModel, GapsClearOfTheLimitAllowOneOutcome)
{
    for (const std::int64_t gap : {100 * Ms, 300 * Ms}) {
        const std::vector<Arrival> arrivals = SplitThenWhole(gap);
        const std::vector<Shown> right = Predict(arrivals);
        const std::vector<Shown> wrong = Predict(arrivals, gap < 170 * Ms ? 50 * Ms : 400 * Ms);
        ASSERT_NE(right, wrong);
        EXPECT_TRUE(Match(arrivals, right).matched);
        const MatchResult mismatch = Match(arrivals, wrong);
        EXPECT_FALSE(mismatch.matched);
        EXPECT_EQ(mismatch.uncertainGaps, 0);
    }
}

TEST(FrameModel, ExtraOrMissingEventsAreMismatchesThatSayWhere)
{
    const std::vector<Arrival> arrivals = SplitThenWhole(300 * Ms);
    std::vector<Shown> extra = Predict(arrivals);
    extra.push_back(Shown::Error());
    EXPECT_THAT(Match(arrivals, extra).mismatch, HasSubstr("at the end of the line"));

    std::vector<Shown> missing = Predict(arrivals);
    missing.erase(missing.begin());
    EXPECT_THAT(Match(arrivals, missing).mismatch, HasSubstr("at slot 1"));
}
