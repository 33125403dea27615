// The counter hangs up, in the middle of a frame or between frames, while a display runs or
// while the program is idle, and comes back on a new line a little later. The display must stay
// under the user's control without spinning, show what the frames gave up to the hang-up, and
// a later display or a change of port must read the line that came back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CounterLine.h"
#include "DisplayOnALine.h"
#include "DisplayWatch.h"
#include "PollUntil.h"
#include "PortChoice.h"
#include "PumpScript.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const Shown Zero = Shown::Caption("         0 Hz");
const Shown One = Shown::Caption("11.111.111 Hz");
const Shown Two = Shown::Caption("22.222.222 Hz");
const Shown Three = Shown::Caption("33.333.333 Hz");
const Shown Four = Shown::Caption("44.444.444 Hz");

// Far above a display that waits for its line (well under 5 % of a core); far below one that spins.
constexpr double MostCpuShare = 0.25;

// A slow counter (a frame every 500 ms, so the line is quiet when a port opens) whose first
// frame waits until the test has opened its port.
std::vector<std::string> SlowCounter(std::vector<std::string> faults)
{
    std::vector<std::string> options{
        "--rate", "2", "--readings", "11111111,22222222,33333333,44444444", "--fault", "silence:300@1"};
    options.insert(options.end(), faults.begin(), faults.end());
    return options;
}

}  // namespace

// How the program gets to the line that came back.
enum class Reopen { LaterDisplay, PortChange };

struct DisplayHangUp {
    const char* name;
    std::vector<std::string> faults;  // with the hang-up after slot 3
    std::vector<Shown> beforeHangUp;  // what the display shows after its "0 Hz"
    Reopen reopen;
};

void PrintTo(const DisplayHangUp& hangUp, std::ostream* out) { *out << hangUp.name; }

// The user may pick the port in the list; the choice is kept in a scratch file.
class PickingPorts : public DisplayOnALine {
protected:
    void SetUp() override
    {
        DisplayOnALine::SetUp();
        ConfigFilePath = dev / "zorvalit.cfg";
        PortIndex = 0;
    }
    void TearDown() override
    {
        ConfigFilePath = ConfigFileName;
        DisplayOnALine::TearDown();
    }
};

class HangUpDuringADisplay : public PickingPorts, public ::testing::WithParamInterface<DisplayHangUp> {};

TEST_P(HangUpDuringADisplay, KeepsPumpingWithoutSpinningAndReadsTheLineThatCameBack)
{
    const DisplayHangUp& hangUp = GetParam();
    std::vector<std::string> faults = hangUp.faults;
    for (const char* option : {"--hangup-after", "3", "--reopen-after", "1500", "--fault", "silence:600@4"})
        faults.push_back(option);
    CounterLine counter(dev, "COM1", SlowCounter(faults));

    DisplayWatch hungUp;
    std::size_t shownBeforeTheChange = 0;
    PumpScript display;
    display.WaitUntil("the hang-up", [&] { return counter.Log().HungUp(); })
        .Wait(250)  // a frame in progress times out
        .Do([&] { hungUp.Start(display.Pumps()); })
        .Wait(1000)
        .Do([&] { hungUp.Stop(display.Pumps()); });
    if (hangUp.reopen == Reopen::PortChange) {
        display.WaitUntil("the counter to come back", [&] { return counter.Log().LinesOpened() == 2; })
            .Do([&] {
                shownBeforeTheChange = panel.Count();
                UseChosenPort();  // COM1 picked in the port list again
            })
            .WaitUntil("the reading on the new line", [&] { return panel.Label() == Four.caption; });
    }
    display.Run(framework, panel);

    EXPECT_THAT(display.Failures(), IsEmpty());
    EXPECT_LT(hungUp.share, MostCpuShare);
    EXPECT_GE(hungUp.pumpsASecond, FewestPumpsASecond);
    std::vector<Shown> expected{Zero};
    expected.insert(expected.end(), hangUp.beforeHangUp.begin(), hangUp.beforeHangUp.end());

    if (hangUp.reopen == Reopen::PortChange) {
        EXPECT_EQ(shownBeforeTheChange, expected.size());
        expected.push_back(Four);
        EXPECT_THAT(panel.All(), ElementsAreArray(expected));
    } else {
        EXPECT_THAT(panel.All(), ElementsAreArray(expected));
        ASSERT_TRUE(PollUntil([&] { return counter.Log().LinesOpened() == 2; }, 3000))
            << "the counter did not come back";
        const std::size_t first = panel.Count();
        PumpScript later;
        later.WaitUntil("the reading on the new line", [&] { return panel.Label() == Four.caption; });
        later.Run(framework, panel);
        EXPECT_THAT(later.Failures(), IsEmpty());
        EXPECT_THAT(panel.From(first), ElementsAre(Zero, Four));
    }
    const bool midFrame = hangUp.beforeHangUp.size() == 4;
    EXPECT_EQ(framework.messages.size(), midFrame ? 1u : 0u) << ::testing::PrintToString(framework.messages);
    EXPECT_FALSE(panel.Visible());
}

// The cut frame fills bytes 0-8 ("   33.333"); 9-15 are still those of the frame before.
const std::vector<Shown> CutThird{One, Two, Shown::Error(), Shown::Caption("33.333.222 Hz")};

INSTANTIATE_TEST_SUITE_P(
    Counter, HangUpDuringADisplay,
    ::testing::Values(
        DisplayHangUp{"MidFrameThenALaterDisplay", {"--fault", "cut:9@3"}, CutThird, Reopen::LaterDisplay},
        DisplayHangUp{"MidFrameThenAPortChange", {"--fault", "cut:9@3"}, CutThird, Reopen::PortChange},
        DisplayHangUp{"BetweenFramesThenALaterDisplay", {}, {One, Two, Three}, Reopen::LaterDisplay},
        DisplayHangUp{"BetweenFramesThenAPortChange", {}, {One, Two, Three}, Reopen::PortChange}),
    [](const auto& info) { return std::string(info.param.name); });

// While no display runs the port stays open with nobody reading it; the counter hangs up after
// slot 2, a second later than that (it waits for a reader first), and comes back a second later.
class HangUpWhileIdle : public DisplayOnALine, public ::testing::WithParamInterface<bool> {};

TEST_P(HangUpWhileIdle, ADisplayWhileTheLineIsGoneWaitsAndALaterOneReadsTheLineThatCameBack)
{
    const bool midFrame = GetParam();
    std::vector<std::string> faults{"--hangup-after", "2",       "--reopen-after",
                                    "1000",           "--fault", "silence:800@3"};
    if (midFrame) faults.insert(faults.end(), {"--fault", "cut:9@2"});
    CounterLine counter(dev, "COM1", SlowCounter(faults));
    OpenPort();  // as at start-up
    ASSERT_EQ(PortOpen, 1);
    ASSERT_TRUE(PollUntil([&] { return counter.Log().HungUp(); }, 4000)) << "the counter did not hang up";

    DisplayWatch gone;
    PumpScript whileGone;
    whileGone.Do([&] { gone.Start(whileGone.Pumps()); }).Wait(600).Do([&] { gone.Stop(whileGone.Pumps()); });
    whileGone.Run(framework, panel);
    EXPECT_THAT(whileGone.Failures(), IsEmpty());
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM1' Serial Port!"));
    EXPECT_EQ(PortOpen, 0);
    EXPECT_LT(gone.share, MostCpuShare);
    EXPECT_GE(gone.pumpsASecond, FewestPumpsASecond);
    ASSERT_EQ(counter.Log().LinesOpened(), 1) << "the counter came back too soon for this test";

    ASSERT_TRUE(PollUntil([&] { return counter.Log().LinesOpened() == 2; }, 3000))
        << "the counter did not come back";
    const std::size_t first = panel.Count();
    PumpScript later;
    later.WaitUntil("the reading on the new line", [&] { return panel.Label() == Three.caption; });
    later.Run(framework, panel);
    EXPECT_THAT(later.Failures(), IsEmpty());
    EXPECT_THAT(panel.From(first), ElementsAre(Zero, Three)) << "nothing of the old line is left";
    EXPECT_EQ(framework.messages.size(), 1u) << ::testing::PrintToString(framework.messages);
}

INSTANTIATE_TEST_SUITE_P(Counter, HangUpWhileIdle, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "MidFrame" : "BetweenFrames"; });

class HangUpWhileIdleThenAPortChange : public PickingPorts {};

TEST_F(HangUpWhileIdleThenAPortChange, OpensTheLineThatCameBack)
{
    CounterLine counter(
        dev, "COM1",
        SlowCounter({"--hangup-after", "1", "--reopen-after", "300", "--fault", "silence:800@2"}));
    OpenPort();
    ASSERT_EQ(PortOpen, 1);
    ASSERT_TRUE(PollUntil([&] { return counter.Log().LinesOpened() == 2; }, 4000))
        << "the counter did not come back";

    UseChosenPort();  // COM1 picked in the port list again
    EXPECT_EQ(PortOpen, 1);
    EXPECT_THAT(framework.messages, IsEmpty());
    // The idle port waits 2.5 s for a byte; the new line's first frame comes within a second.
    EXPECT_EQ(ReadPortByte(), ' ') << "the port still reads the line that hung up";
}
