// End-to-end tests: the zorvalit-counter executable on its pseudo-terminal,
// read by the test as a receiver would.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "CounterLog.h"
#include "PollUntil.h"
#include "TempDir.h"
#include "counter/frames.h"
#include "counter_process.h"

namespace zorvalit::counter {
namespace {

using testing::CounterProcess;
using testing::Receiver;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

Bytes frame_of(std::uint32_t hz) { return make_frame(kLead, format_reading(hz)); }

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class CounterLine : public ::testing::Test {
protected:
    // Starts the counter and returns the slave path it printed first.
    std::string start(const std::vector<std::string>& args)
    {
        counter.emplace(args);
        const auto path = counter->ReadLine(5000);
        EXPECT_TRUE(path) << "no slave path printed";
        return path.value_or("/nonexistent");
    }

    void stop_and_expect_clean_exit()
    {
        counter->Signal(SIGTERM);
        EXPECT_EQ(counter->WaitExit(3000), 0);
    }

    TempDir dir;
    std::optional<CounterProcess> counter;
};

TEST_F(CounterLine, SendsRawFramesWithTheReadingsInTurnAndIgnoresInput)
{
    const std::string path = start({"--fast", "--readings", "32768,99.999.999 Hz"});
    Receiver receiver(path);
    const std::string chatter(4000, '\r');
    ASSERT_EQ(::write(receiver.fd(), chatter.data(), chatter.size()), static_cast<ssize_t>(chatter.size()));
    EXPECT_EQ(receiver.read(60, 3000), join({frame_of(32768), frame_of(99'999'999), frame_of(32768)}));
    stop_and_expect_clean_exit();
}

TEST_F(CounterLine, PacesBytesAtTheLineRate)
{
    Receiver receiver(start({"--readings", "5"}));
    ASSERT_EQ(receiver.read(20, 3000), frame_of(5));
    // Time the second frame from its first byte to its last: 19 character
    // times of 4.17 ms are 79 ms.
    ASSERT_EQ(receiver.read(1, 3000).size(), 1u);
    const auto first = Clock::now();
    EXPECT_EQ(receiver.read(19, 3000).size(), 19u);
    const auto took = Clock::now() - first;
    EXPECT_GE(took, std::chrono::milliseconds(60));
    EXPECT_LE(took, std::chrono::milliseconds(1000));
    stop_and_expect_clean_exit();
}

class CounterStop : public CounterLine, public ::testing::WithParamInterface<int> {};

TEST_P(CounterStop, EndsPromptlyDuringSilenceAndRemovesTheLink)
{
    const std::string link = dir.path("COM1");
    const std::string path = start({"--fast", "--link", link, "--fault", "silence:60000@2"});
    EXPECT_EQ(fs::read_symlink(link), path);
    Receiver receiver(path);
    ASSERT_EQ(receiver.read(20, 3000).size(), 20u);

    const auto signalled = Clock::now();
    counter->Signal(GetParam());
    EXPECT_EQ(counter->WaitExit(3000), 0);
    EXPECT_LT(Clock::now() - signalled, std::chrono::milliseconds(1000));
    EXPECT_FALSE(fs::is_symlink(link));
}

INSTANTIATE_TEST_SUITE_P(Signals, CounterStop, ::testing::Values(SIGTERM, SIGINT));

TEST_F(CounterLine, RefusesToReplaceAFileAtTheLinkPath)
{
    const std::string file = dir.path("COM1");
    std::ofstream(file) << "keep";
    counter.emplace(std::vector<std::string>{"--link", file});
    EXPECT_FALSE(counter->ReadLine(3000));
    EXPECT_EQ(counter->WaitExit(3000), 1);
    std::ifstream kept(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
}

TEST_F(CounterLine, ReplacesALinkLeftByAnEarlierRun)
{
    const std::string link = dir.path("COM1");
    fs::create_symlink("/dev/pts/999999", link);
    const std::string path = start({"--link", link});
    EXPECT_EQ(fs::read_symlink(link), path);
    stop_and_expect_clean_exit();
}

TEST_F(CounterLine, HangUpClosesTheLineAndLeavesTheLinkDanglingUntilTheEnd)
{
    const std::string link = dir.path("COM1");
    Receiver receiver(start({"--fast", "--hangup-after", "2", "--link", link}));
    EXPECT_EQ(receiver.read(40, 3000).size(), 40u);
    EXPECT_TRUE(receiver.sees_hangup(3000));
    EXPECT_TRUE(fs::is_symlink(link));
    stop_and_expect_clean_exit();
    EXPECT_FALSE(fs::is_symlink(link));
}

TEST_F(CounterLine, ReopensANewLineAndPointsTheLinkAtIt)
{
    const std::string link = dir.path("COM1");
    Receiver first(start({"--fast", "--hangup-after", "1", "--reopen-after", "100", "--link", link}));
    EXPECT_EQ(first.read(20, 3000).size(), 20u);
    EXPECT_TRUE(first.sees_hangup(3000));

    const auto second_path = counter->ReadLine(3000);
    ASSERT_TRUE(second_path);
    EXPECT_EQ(fs::read_symlink(link), *second_path);
    Receiver second(*second_path);
    const Bytes frame = second.read(20, 3000);
    ASSERT_EQ(frame.size(), 20u);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 3), Bytes(3, ' '));
    stop_and_expect_clean_exit();
}

TEST_F(CounterLine, LogRecordsExactlyWhatTheReceiverGotAndWhen)
{
    const std::string log = dir.path("counter.log");
    Receiver receiver(start(
        {"--frames", "4", "--readings", "1000", "--fault", "cut:5@2", "--fault", "burst:3@3", "--log", log}));
    const Bytes received = receiver.read(1000, 5000);
    EXPECT_EQ(counter->WaitExit(3000), 0);
    EXPECT_EQ(received.size(), 20u + 5 + 3 + 20 + 20);

    const std::vector<CounterLogLine> entries = CounterLog::Read(log).lines;
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries.front().kind, "open");
    EXPECT_EQ(entries.back().kind, "hangup");
    Bytes logged;
    std::int64_t cut_end = 0;
    std::int64_t after_cut = 0;
    for (std::size_t i = 1; i + 1 < entries.size(); ++i) {
        const CounterLogLine& entry = entries[i];
        EXPECT_GE(entry.ns, entries[i - 1].ns);
        EXPECT_EQ(entry.bytes.size(), 1u) << "paced writes carry one byte";
        EXPECT_EQ(entry.dropped, 0);
        logged.insert(logged.end(), entry.bytes.begin(), entry.bytes.end());
        if (entry.kind == "cut") cut_end = entry.ns;
        if (entry.kind == "burst" && after_cut == 0) after_cut = entry.ns;
    }
    EXPECT_EQ(logged, received);
    EXPECT_GE(after_cut - cut_end, 200'000'000) << "the cut is not followed by a long silence";
}

TEST_F(CounterLine, DropsAndLogsWhatAFullLineCannotTake)
{
    const std::string log = dir.path("counter.log");
    start({"--fast", "--rate", "1000000", "--log", log});
    EXPECT_TRUE(PollUntil([&] { return CounterLog::Read(log).Dropped() > 0; }, 10000, 100));
    stop_and_expect_clean_exit();
}

TEST(CounterCommandLine, UnknownOptionExitsWithStatus2AndHelpWith0)
{
    CounterProcess bad({"--bogus"});
    EXPECT_FALSE(bad.ReadLine(3000));
    EXPECT_EQ(bad.WaitExit(3000), 2);

    CounterProcess help({"--help"});
    const auto first = help.ReadLine(3000);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->starts_with("Usage: zorvalit-counter"));
    EXPECT_EQ(help.WaitExit(3000), 0);
}

}  // namespace
}  // namespace zorvalit::counter
