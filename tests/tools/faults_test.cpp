// Fault parsing, the seeded fault plan and what faults do to a frame slot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counter/command_line.h"
#include "counter/faults.h"
#include "counter/frames.h"

namespace zorvalit::counter {
namespace {

struct FaultText {
    const char* text;
    Fault fault;
};

class ParseFault : public ::testing::TestWithParam<FaultText> {};

TEST_P(ParseFault, ReadsKindAndArgumentOrDefault)
{
    EXPECT_EQ(parse_fault(GetParam().text), GetParam().fault);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ParseFault,
    ::testing::Values(FaultText{"cut:7", {FaultKind::Cut, 7}}, FaultText{"cut:19", {FaultKind::Cut, 19}},
                      FaultText{"nospace", {FaultKind::NoSpace, kWholeLead}},
                      FaultText{"nospace:2", {FaultKind::NoSpace, 2}}, FaultText{"nul", {FaultKind::Nul, 6}},
                      FaultText{"nul:12", {FaultKind::Nul, 12}}, FaultText{"cp1250", {FaultKind::Cp1250, 0}},
                      FaultText{"cp1250:11", {FaultKind::Cp1250, 11}},
                      FaultText{"burst:4096", {FaultKind::Burst, 4096}},
                      FaultText{"silence:250", {FaultKind::Silence, 250}}));

class BadFault : public ::testing::TestWithParam<const char*> {};

TEST_P(BadFault, IsAUsageError) { EXPECT_THROW(parse_scheduled_fault(GetParam()), UsageError); }

INSTANTIATE_TEST_SUITE_P(Texts, BadFault,
                         ::testing::Values("cut:7", "cut:7@", "cut:7@0", "cut:7@x", "cut@3", "cut:0@3",
                                           "cut:20@3", "cut:-1@3", "cut:7x@3", "nospace:3@1", "nul:13@1",
                                           "cp1250:12@1", "burst@1", "burst:4097@1", "silence:0@1", "zap@1",
                                           "@1"));

TEST(ParseScheduledFault, ReadsTheFrame)
{
    EXPECT_EQ(parse_scheduled_fault("cut:7@5"), (ScheduledFault{{FaultKind::Cut, 7}, 5}));
}

std::string as_text(const Fault& fault)
{
    std::string text(fault_name(fault.kind));
    if (!(fault.kind == FaultKind::NoSpace && fault.arg == kWholeLead))
        text += ":" + std::to_string(fault.arg);
    return text;
}

TEST(FaultPlan, SameSeedGivesSameFaultsAndEveryRandomFaultIsValid)
{
    const FaultPlan plan({}, 1.0, 42);
    const FaultPlan again({}, 1.0, 42);
    const FaultPlan other({}, 1.0, 43);
    int differences = 0;
    for (std::uint64_t frame = 1; frame <= 1000; ++frame) {
        const auto faults = plan.faults_for(frame);
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults, again.faults_for(frame));
        EXPECT_EQ(faults, plan.faults_for(frame)) << "depends on call order";
        EXPECT_EQ(parse_fault(as_text(faults[0])), faults[0]);
        differences += faults != other.faults_for(frame);
    }
    EXPECT_GT(differences, 500);
}

TEST(FaultPlan, RateSetsTheShareOfFaultyFrames)
{
    const FaultPlan none({}, 0.0, 1);
    const FaultPlan some({}, 0.25, 1);
    int faulty = 0;
    for (std::uint64_t frame = 1; frame <= 4000; ++frame) {
        EXPECT_TRUE(none.faults_for(frame).empty());
        faulty += !some.faults_for(frame).empty();
    }
    EXPECT_NEAR(faulty, 1000, 150);
}

TEST(FaultPlan, ScheduledFaultsHitOnlyTheirFrameInOrder)
{
    const FaultPlan plan({{{FaultKind::Nul, 2}, 5}, {{FaultKind::Cut, 4}, 9}, {{FaultKind::Burst, 3}, 5}},
                         0.0, 1);
    EXPECT_EQ(plan.faults_for(5), (std::vector<Fault>{{FaultKind::Nul, 2}, {FaultKind::Burst, 3}}));
    EXPECT_EQ(plan.faults_for(9), (std::vector<Fault>{{FaultKind::Cut, 4}}));
    EXPECT_TRUE(plan.faults_for(4).empty());
}

class SlotTest : public ::testing::Test {
protected:
    const std::string reading = "10.032.768 Hz";
    const Bytes clean = make_frame(kLead, reading);

    std::vector<Chunk> slot(const std::vector<Fault>& faults, std::uint64_t frame = 1, std::uint64_t seed = 1)
    {
        return compose_slot(frame, reading, faults, seed);
    }

    // The clean frame with some bytes changed.
    Bytes clean_with(std::initializer_list<std::pair<std::size_t, std::uint8_t>> changes)
    {
        Bytes frame = make_frame(kLead, reading);
        for (const auto& [offset, byte] : changes) frame[offset] = byte;
        // The checksum follows the bytes sent.
        return make_frame(std::string(frame.begin(), frame.begin() + 3),
                          std::string(frame.begin() + 3, frame.begin() + 16));
    }
};

TEST_F(SlotTest, WithoutFaultsItIsOneCleanFrame)
{
    const auto chunks = slot({});
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].kind, "frame");
    EXPECT_EQ(chunks[0].bytes, clean);
    EXPECT_FALSE(chunks[0].quiet_after_ns);
}

TEST_F(SlotTest, ContentFaultsChangeOnlyTheirBytes)
{
    EXPECT_EQ(slot({{FaultKind::NoSpace, 1}})[0].bytes, clean_with({{1, '*'}}));
    EXPECT_EQ(slot({{FaultKind::NoSpace, kWholeLead}})[0].bytes, clean_with({{0, '*'}, {1, '*'}, {2, '*'}}));
    EXPECT_EQ(slot({{FaultKind::Nul, 6}})[0].bytes, clean_with({{9, 0}}));
    EXPECT_EQ(slot({{FaultKind::Cp1250, 11}})[0].bytes, clean_with({{14, 0xB5}, {15, 0x8A}}));
    EXPECT_EQ(slot({{FaultKind::Nul, 0}, {FaultKind::Cp1250, 2}})[0].kind, "nul+cp1250");
}

TEST_F(SlotTest, CutKeepsTheFirstBytesThenStaysQuietPastTheReceiversTimeout)
{
    const auto chunks = slot({{FaultKind::Nul, 0}, {FaultKind::Cut, 9}, {FaultKind::Cut, 5}});
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0].kind, "nul+cut");
    const Bytes with_nul = clean_with({{3, 0}});
    EXPECT_EQ(chunks[0].bytes, Bytes(with_nul.begin(), with_nul.begin() + 5));
    ASSERT_TRUE(chunks[0].quiet_after_ns);
    EXPECT_GT(*chunks[0].quiet_after_ns, 170 * kNsPerMs);
}

TEST_F(SlotTest, SilenceAndBurstComeBeforeTheFrameInOrder)
{
    const auto chunks = slot({{FaultKind::Burst, 12}, {FaultKind::Silence, 300}});
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].kind, "burst");
    EXPECT_EQ(chunks[0].bytes.size(), 12u);
    EXPECT_EQ(chunks[1].kind, "silence");
    EXPECT_TRUE(chunks[1].bytes.empty());
    EXPECT_EQ(chunks[1].quiet_after_ns, 300 * kNsPerMs);
    EXPECT_EQ(chunks[2].bytes, clean);
}

TEST_F(SlotTest, BurstBytesFollowSeedAndFrame)
{
    const Fault burst{FaultKind::Burst, 64};
    const Bytes bytes = slot({burst}, 3, 9)[0].bytes;
    EXPECT_EQ(bytes, slot({burst}, 3, 9)[0].bytes);
    EXPECT_NE(bytes, slot({burst}, 4, 9)[0].bytes);
    EXPECT_NE(bytes, slot({burst}, 3, 10)[0].bytes);
}

}  // namespace
}  // namespace zorvalit::counter
