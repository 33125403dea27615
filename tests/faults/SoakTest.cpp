// Long runs: a counter sending a known sequence of frames as fast as it can, with one frame in
// a hundred faulty in some way, and a display that must show, frame for frame, what the
// independent model gives for the counter's own record of what it sent and when; its memory
// must stay flat. And many opens, closes, port changes and displays must leave no descriptor
// behind. ZORVALIT_SOAK_FRAMES sets the number of frames (3000 unless set).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Clocks.h"
#include "CounterLine.h"
#include "DisplayOnALine.h"
#include "FrameModel.h"
#include "MeasurementFrame.h"
#include "ProcessProbe.h"
#include "Pty.h"
#include "PumpScript.h"

using ::testing::Each;
using ::testing::IsEmpty;

namespace {

int SoakFrames()
{
    const char* frames = std::getenv("ZORVALIT_SOAK_FRAMES");
    return frames != nullptr && std::atoi(frames) > 0 ? std::atoi(frames) : 3000;
}

// The memory the process may gain after its first thousand frames: allocator noise, far less
// than a few bytes kept for each frame would cost over a long run.
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed memory in quarantine and grows its shadow as it goes, so resident
// memory drifts without a leak; LeakSanitizer watches for leaks in that build instead.
constexpr long MostGrowthKilobytes = 4096;
#else
constexpr long MostGrowthKilobytes = 256;
#endif
constexpr int FramesASecond = 250;

// Silences leave no line in the log: they show as a gap of 50 ms or more before a slot whose
// slot before it was not cut short (a cut is followed by 250 ms of quiet). Slot 1's is the test's.
int Silences(const CounterLog& log)
{
    int silences = 0;
    const std::vector<CounterLogLine> chunks = log.Chunks();
    for (std::size_t i = 1; i < chunks.size(); ++i) {
        const CounterLogLine& before = chunks[i - 1];
        const bool cut = before.kind.find("cut") != std::string::npos;
        if (chunks[i].frame > 1 && chunks[i].frame != before.frame && !cut &&
            chunks[i].ns - before.ns >= 45'000'000)
            ++silences;
    }
    return silences;
}

}  // namespace

class Soak : public DisplayOnALine {};

TEST_F(Soak, EveryFrameShowsWhatTheModelGivesAndMemoryStaysFlat)
{
    const int frames = SoakFrames();
    // The first frame waits until the display has opened the port.
    CounterLine counter(
        dev, "COM1",
        {"--fast", "--rate", std::to_string(FramesASecond), "--frames", std::to_string(frames),
         "--fault-rate", "0.01", "--seed", "20240611", "--fault", "silence:500@1"});
    RecordingPanel wide(static_cast<std::size_t>(frames) * 3 + 1000);
    std::int64_t openedNs = 0;
    long residentAfterAThousand = -1, residentAtTheEnd = -1;
    PumpScript display;
    display
        .EveryPump([&] {
            if (openedNs == 0) openedNs = MonotonicNs();
            if (residentAfterAThousand < 0 && wide.Captions() > 1000)
                residentAfterAThousand = ResidentKilobytes();
        })
        .WaitUntil(
            "the counter's last frame", [&] { return counter.Exited(); },
            frames * 4000 / FramesASecond + 30000)
        .Wait(500)  // a frame left open at the hang-up times out
        .Do([&] { residentAtTheEnd = ResidentKilobytes(); });
    display.Run(framework, wide);

    const CounterLog log = counter.Log();
    const std::vector<Shown> shown = wide.From(1);
    const MatchResult match = Match(ArrivalsFrom(log), shown);
    std::cout << "soak: " << log.LastSlot() << " frames; faults: " << log.WithFault("cut") << " cut, "
              << log.WithFault("nospace") << " nospace, " << log.WithFault("nul") << " nul, "
              << log.WithFault("cp1250") << " cp1250, " << log.Count("burst") << " burst, " << Silences(log)
              << " silence; " << shown.size() << " things shown, " << framework.messages.size()
              << " communication errors; " << match.uncertainGaps << " gaps near 170 ms; "
              << (match.matched ? "no mismatch" : "MISMATCH") << "; RSS " << residentAfterAThousand
              << " kB after 1000 frames, " << residentAtTheEnd << " kB at the end\n";

    EXPECT_THAT(display.Failures(), IsEmpty());
    ASSERT_EQ(log.LastSlot(), frames);
    ASSERT_GT(log.lines.size(), 1u);
    EXPECT_LT(openedNs, log.lines[1].ns) << "the counter began before the display had opened its port";
    EXPECT_EQ(log.Dropped(), 0) << "the line refused bytes: the display did not keep up";
    EXPECT_EQ(wide.Lost(), 0u);
    EXPECT_THAT(framework.messages, Each(std::string(Shown::CommunicationError)));
    EXPECT_TRUE(match.matched) << match.mismatch;
    for (const char* fault : {"cut", "nospace", "nul", "cp1250", "burst"})
        EXPECT_GT(log.WithFault(fault), 0)
            << "no " << fault << " in this run: the seed or the length does not cover it";
    EXPECT_GT(Silences(log), 0);
    ASSERT_GT(residentAfterAThousand, 0);
    EXPECT_LE(residentAtTheEnd - residentAfterAThousand, MostGrowthKilobytes);
}

// The counter on COM1, a line the test plays on COM2: displays that change ports while they
// run, bare opens and closes, and opens refused because someone else locked the port.
TEST_F(Soak, PortCyclesAndDisplaysLeaveNoDescriptorsBehind)
{
    CounterLine counter(dev, "COM1", {"--fast", "--rate", "100"});
    Pty line;
    dev.Link("COM2", line.path());
    const int before = OpenDescriptors();

    for (int cycle = 0; cycle < 500; ++cycle) {
        PortName = cycle % 2 ? "COM1" : "COM2";
        OpenPort();
        ASSERT_EQ(PortOpen, 1) << "cycle " << cycle;
        ClosePort();
        ASSERT_EQ(PortOpen, 0) << "cycle " << cycle;
    }

    const int other = open(line.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    PortName = "COM2";
    for (int refused = 0; refused < 100; ++refused) OpenPort();
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(framework.messages.size(), 100u);
    close(other);

    for (int shown = 0; shown < 50; ++shown) {
        PortName = "COM1";
        PumpScript display;
        const std::size_t first = panel.Captions();
        display.WaitUntil("a reading from the counter", [&] { return panel.Captions() > first + 1; })
            .Do([&] { SetPortName("COM2"); })
            .Do([&] { line.Send(MeasurementFrame("12.345.678 Hz")); })
            .WaitUntil("the reading on COM2", [&] { return panel.Label() == "12.345.678 Hz"; });
        display.Run(framework, panel);
        ASSERT_THAT(display.Failures(), IsEmpty()) << "display " << shown;
        ClosePort();
    }
    const int after = OpenDescriptors();
    std::cout << "descriptors: " << before << " before, " << after
              << " after 500 opens and closes, 100 refused opens "
              << "and 50 displays that changed ports\n";
    EXPECT_EQ(after, before);
}
