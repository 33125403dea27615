// Command-line parsing: what valid options set and which mistakes are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counter/command_line.h"

namespace zorvalit::counter {
namespace {

Options parse(std::vector<std::string_view> args) { return parse_options(args); }

TEST(ParseOptions, ReadsValuesInBothForms)
{
    const Options options = parse({"--link=/tmp/COM1", "--fast", "--rate",         "1000",
                                   "--frames",         "5",      "--readings",     "32768, 1.000 Hz",
                                   "--seed",           "9",      "--fault",        "cut:3@2",
                                   "--fault-rate",     "0.5",    "--hangup-after", "4",
                                   "--reopen-after",   "250",    "--log",          "c.log"});
    EXPECT_EQ(options.link, "/tmp/COM1");
    EXPECT_TRUE(options.fast);
    EXPECT_EQ(options.frame_period_ns, 1'000'000);
    EXPECT_EQ(options.frames, 5u);
    EXPECT_EQ(options.readings, (std::vector<std::string>{"    32.768 Hz", "     1.000 Hz"}));
    EXPECT_EQ(options.seed, 9u);
    EXPECT_EQ(options.faults, (std::vector<ScheduledFault>{{{FaultKind::Cut, 3}, 2}}));
    EXPECT_DOUBLE_EQ(options.fault_rate, 0.5);
    EXPECT_EQ(options.hangup_after, 4u);
    EXPECT_EQ(options.reopen_after_ms, 250);
    EXPECT_EQ(options.log_path, "c.log");
}

TEST(ParseOptions, DefaultsToTwoPacedFramesASecondOfTheRandomWalk)
{
    const Options options = parse({});
    EXPECT_FALSE(options.fast);
    EXPECT_EQ(options.frame_period_ns, 500'000'000);
    EXPECT_TRUE(options.readings.empty());
    EXPECT_EQ(options.base_hz, 10'032'768u);
    EXPECT_FALSE(options.frames);
    EXPECT_FALSE(options.hangup_after);
}

TEST(ParseOptions, TakesPlainDecimalNumbersAndTheLastOfARepeatedOption)
{
    const Options options = parse({"--frames", "010", "--seed", "3", "--seed", "4"});
    EXPECT_EQ(options.frames, 10u);
    EXPECT_EQ(options.seed, 4u);
}

TEST(ParseOptions, HelpIsAskedForAndListsEachOptionWithItsRangeAndCombinations)
{
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"-h"}).help);
    const std::string help = help_text();
    EXPECT_TRUE(help.starts_with("Usage: zorvalit-counter [OPTION]...\n")) << help;
    for (const char* part : {"--link PATH", "--fast", "--rate FPS (0.001 to 1000000)", "--frames N (from 1)",
                             "--readings LIST", "(not with --base or --drift)", "--base HZ (0 to 99999999)",
                             "--drift HZ", "--seed N", "--fault KIND[:ARG]@FRAME", "--fault-rate P (0 to 1)",
                             "--hangup-after N", "--reopen-after MS (0 to 3600000)", "(needs --hangup-after)",
                             "--log FILE", "-h, --help", "Exit status:"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
}

struct Mistake {
    std::vector<std::string_view> args;
    const char* message_part;
};

class ParseOptionsMistake : public ::testing::TestWithParam<Mistake> {};

TEST_P(ParseOptionsMistake, IsRefusedWithAMessageNamingIt)
{
    try {
        parse(GetParam().args);
        FAIL() << "accepted";
    } catch (const UsageError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message_part), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, ParseOptionsMistake,
    ::testing::Values(Mistake{{"--bogus"}, "unknown option '--bogus'"},
                      Mistake{{"COM1"}, "unexpected argument"},
                      Mistake{{"--frames"}, "--frames needs a value"}, Mistake{{"--frames", "0"}, "--frames"},
                      Mistake{{"--frames", "2x"}, "--frames"}, Mistake{{"--fast=yes"}, "takes no value"},
                      Mistake{{"--rate", "12"}, "at most 11.4"}, Mistake{{"--rate", "0"}, "--rate"},
                      Mistake{{"--base", "100000000"}, "--base"}, Mistake{{"--readings", "1,,2"}, "''"},
                      Mistake{{"--readings", "5", "--drift", "3"}, "cannot be combined"},
                      Mistake{{"--fault-rate", "1.5"}, "--fault-rate"},
                      Mistake{{"--fault", "cut:3"}, "@FRAME"},
                      Mistake{{"--reopen-after", "5"}, "needs --hangup-after"},
                      Mistake{{"--link="}, "--link"}, Mistake{{"--hangup-after", "-1"}, "--hangup-after"},
                      Mistake{{"--seed", "0x10"}, "--seed"}, Mistake{{"--log="}, "--log needs a value"}));

}  // namespace
}  // namespace zorvalit::counter
