// Traffic the display must take apart exactly as the frame rules say: frames split by a pause
// at every byte position, frames at the fastest paced rate and far above it, and random bytes
// bursting in between frames.
#include <chrono>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CounterLine.h"
#include "DisplayOnALine.h"
#include "FrameModel.h"
#include "MeasurementFrame.h"
#include "Pty.h"
#include "PumpScript.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

// What a frame buffer puts on the label, if anything.
std::vector<Shown> Label(const std::string& buffer)
{
    if (buffer.compare(0, 3, "   ") != 0) return {};
    return {Shown::Caption(buffer.substr(3, 13).c_str())};
}

std::vector<Shown> Concat(std::initializer_list<std::vector<Shown>> parts)
{
    std::vector<Shown> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The reading of every whole frame the counter wrote, in order (a frame the line refused bytes
// of is not whole).
std::vector<Shown> ReadingsSent(const CounterLog& log)
{
    std::vector<Shown> readings;
    for (const CounterLogLine& chunk : log.Chunks())
        if (chunk.kind == "frame" && chunk.bytes.size() == 20)
            readings.push_back(Shown::Caption({reinterpret_cast<const char*>(&chunk.bytes[3]), 13}));
    return readings;
}

}  // namespace

// The test plays the counter: it sends each part after its pause, on a thread of its own, so
// that the pauses on the line do not depend on when the display gets round to its pumps.
class Playback {
public:
    struct Part {
        int pauseMs;  // before the part
        std::string bytes;
    };
    Playback(const Pty& line, std::vector<Part> parts) : line_(line), parts_(std::move(parts)) {}
    ~Playback()
    {
        if (thread_.joinable()) thread_.join();
    }
    void Start()
    {
        thread_ = std::thread([this] {
            for (const Part& part : parts_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(part.pauseMs));
                line_.Send(part.bytes);
            }
        });
    }

private:
    const Pty& line_;
    std::vector<Part> parts_;
    std::thread thread_;
};

// Three frames, the second in two parts with a pause between them.
class SplitFrame : public DisplayOnALine, public ::testing::WithParamInterface<int> {
protected:
    std::vector<Shown> Show(int at, int pauseMs)
    {
        Pty line;
        dev.Link("COM1", line.path());
        Playback counter(
            line, {{0, first}, {250, second.substr(0, at)}, {pauseMs, second.substr(at)}, {250, third}});
        PumpScript display;
        display.Do([&] { counter.Start(); }).WaitUntil("the third frame", [&] {
            return panel.Label() == "11.111.111 Hz";
        });
        display.Run(framework, panel);
        EXPECT_THAT(display.Failures(), IsEmpty());
        return panel.From(1);
    }

    const std::string first = MeasurementFrame("87.654.321 Hz");
    const std::string second = MeasurementFrame("       876 Hz");  // ten spaces before the digits
    const std::string third = MeasurementFrame("11.111.111 Hz");
};

// A pause longer than 170 ms ends each part in a communication error, and the label shows what
// the frame buffer then holds.
TEST_P(SplitFrame, EachPartEndsInAnErrorAndShowsTheFrameBuffer)
{
    const int at = GetParam();
    // The head of the second frame over the first; then its tail, from byte 0, over that.
    const std::string head = second.substr(0, at) + first.substr(at);
    const std::string tail = second.substr(at) + head.substr(20 - at);
    const std::vector<Shown> expected = Concat({{Shown::Caption("87.654.321 Hz"), Shown::Error()},
                                                Label(head),
                                                {Shown::Error()},
                                                Label(tail),
                                                {Shown::Caption("11.111.111 Hz")}});
    EXPECT_THAT(Show(at, 250), ElementsAreArray(expected));

    // The model the soak relies on agrees, on the same bytes a quarter of a second apart.
    std::vector<Arrival> arrivals;
    const std::string parts[] = {first, second.substr(0, at), second.substr(at), third};
    for (int part = 0; part < 4; ++part)
        for (char byte : parts[part])
            arrivals.push_back({part * 250'000'000LL, static_cast<std::uint8_t>(byte), part});
    EXPECT_THAT(Predict(arrivals), ElementsAreArray(expected));
}

// A pause well under the limit is no pause to the display.
class PausedFrame : public SplitFrame {};

TEST_P(PausedFrame, PauseWellUnderTheLimitKeepsTheFrameWhole)
{
    EXPECT_THAT(Show(GetParam(), 90),
                ElementsAre(Shown::Caption("87.654.321 Hz"), Shown::Caption("       876 Hz"),
                            Shown::Caption("11.111.111 Hz")));
}

INSTANTIATE_TEST_SUITE_P(AtByte, SplitFrame, ::testing::Range(1, 20),
                         [](const auto& info) { return std::to_string(info.param); });
INSTANTIATE_TEST_SUITE_P(AtByte, PausedFrame, ::testing::Values(1, 10, 19),
                         [](const auto& info) { return std::to_string(info.param); });

// Frames as fast as the line can carry them, and far faster: every frame's reading is shown,
// in order, and nothing else.
struct Pace {
    const char* name;
    std::vector<std::string> options;
    int frames;
};

void PrintTo(const Pace& pace, std::ostream* out) { *out << pace.name; }

class EveryFrameShown : public DisplayOnALine, public ::testing::WithParamInterface<Pace> {};

TEST_P(EveryFrameShown, InOrderAndNothingElse)
{
    const Pace& pace = GetParam();
    std::vector<std::string> options{"--frames", std::to_string(pace.frames), "--fault", "silence:300@1"};
    options.insert(options.end(), pace.options.begin(), pace.options.end());
    CounterLine counter(dev, "COM1", options);
    RecordingPanel wide(static_cast<std::size_t>(pace.frames) + 16);
    PumpScript display;
    auto exited = [&] { return counter.Exited(); };
    display.WaitUntil("the counter's last frame", exited, 30000).Wait(400);
    display.Run(framework, wide);

    const CounterLog log = counter.Log();
    ASSERT_EQ(log.Count("frame"), pace.frames);
    EXPECT_EQ(log.Dropped(), 0) << "the line refused bytes: the display did not keep up";
    EXPECT_THAT(display.Failures(), IsEmpty());
    EXPECT_THAT(framework.messages, IsEmpty());
    EXPECT_EQ(wide.Lost(), 0u);
    EXPECT_THAT(wide.From(1), ElementsAreArray(ReadingsSent(log)));
}

INSTANTIATE_TEST_SUITE_P(
    Counter, EveryFrameShown,
    ::testing::Values(
        Pace{"FastestPacedRate", {"--rate", "11.4", "--readings", "12345678,876,5,99999999,1"}, 12},
        Pace{"UnpacedAt200FramesASecond", {"--fast", "--rate", "200"}, 400},
        Pace{"UnpacedAt2000FramesASecond", {"--fast", "--rate", "2000"}, 4000}),
    [](const auto& info) { return std::string(info.param.name); });

// A burst of random bytes before frame 4 puts the receiver out of step with the frames for as
// long as they follow each other closely; a long silence before frame 9 brings it back.
struct Burst {
    const char* name;
    std::vector<std::string> options;
};

void PrintTo(const Burst& burst, std::ostream* out) { *out << burst.name; }

class BurstOfBytes : public DisplayOnALine, public ::testing::WithParamInterface<Burst> {};

TEST_P(BurstOfBytes, ShowsWhatTheFrameRulesGiveAndFallsBackInStep)
{
    std::vector<std::string> options{"--frames",      "12",      "--seed",       "7", "--fault",
                                     "silence:300@1", "--fault", "silence:400@9"};
    options.insert(options.end(), GetParam().options.begin(), GetParam().options.end());
    CounterLine counter(dev, "COM1", options);
    PumpScript display;
    auto exited = [&] { return counter.Exited(); };
    display.WaitUntil("the counter's last frame", exited, 30000).Wait(400);
    display.Run(framework, panel);

    const CounterLog log = counter.Log();
    ASSERT_EQ(log.Count("burst"), 1);
    EXPECT_EQ(log.Dropped(), 0);
    EXPECT_THAT(display.Failures(), IsEmpty());
    const std::vector<Shown> shown = panel.From(1);
    const MatchResult match = Match(ArrivalsFrom(log), shown);
    EXPECT_TRUE(match.matched) << match.mismatch;
    EXPECT_EQ(match.uncertainGaps, 0) << "no gap on this line is near 170 ms";
    // In step again: frames 9 to 12 are shown as they were sent.
    const std::vector<Shown> sent = ReadingsSent(log);
    ASSERT_GE(shown.size(), 4u);
    ASSERT_EQ(sent.size(), 12u);
    EXPECT_THAT(std::vector<Shown>(shown.end() - 4, shown.end()),
                ElementsAreArray(sent.end() - 4, sent.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Counter, BurstOfBytes,
    ::testing::Values(Burst{"OneByte", {"--fast", "--rate", "20", "--fault", "burst:1@4"}},
                      Burst{"ThreeBytes", {"--fast", "--rate", "20", "--fault", "burst:3@4"}},
                      Burst{"NineteenBytes", {"--fast", "--rate", "20", "--fault", "burst:19@4"}},
                      Burst{"OneFrameOfBytes", {"--fast", "--rate", "20", "--fault", "burst:20@4"}},
                      Burst{"TwentyOneBytes", {"--fast", "--rate", "20", "--fault", "burst:21@4"}},
                      Burst{"FortyOneBytes", {"--fast", "--rate", "20", "--fault", "burst:41@4"}},
                      // Out of step by three bytes, the frames of these readings start with spaces.
                      Burst{"SeventeenBytesBeforeSpacedReadings",
                            {"--fast", "--rate", "20", "--readings", "876,5", "--fault", "burst:17@4"}},
                      Burst{"FourKilobytes", {"--fast", "--rate", "20", "--fault", "burst:4096@4"}},
                      Burst{"SevenBytesPaced", {"--rate", "11.4", "--fault", "burst:7@4"}},
                      Burst{"ThirtyThreeBytesPaced", {"--rate", "11.4", "--fault", "burst:33@4"}}),
    [](const auto& info) { return std::string(info.param.name); });
