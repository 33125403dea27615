// The display loop against a fake port and a recording panel: which frames reach the label,
// what a frame cut short shows, how the display starts, stops and nests, and how long it keeps
// the screen on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "FakeSerialDevice.h"
#include "FrequencyDisplay.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "RecordingPanel.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string Frame1 = "   10.032.768 Hz\r\n\r\n";
const std::string Frame2 = "    9.999.999 Hz\r\n\r\n";

}  // namespace

class FrequencyDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPortLink(&device);
        OpenPort();
        device.calls.clear();
        // The user presses Cancel once the device has said all it has to say.
        framework.onPump = [this] {
            if (device.input.empty()) CancelFrequencyDisplay(panel);
        };
    }

    // Runs a display over what the device sends and returns the label's captions after the first.
    std::vector<std::string> Show(const std::string& bytes)
    {
        device.Send(bytes);
        RunFrequencyDisplay(panel);
        const std::vector<std::string> captions = panel.Texts();
        return {captions.begin() + 1, captions.end()};
    }

    FakeSerialDevice device;
    RecordingFramework framework;
    RecordingPanel panel;
};

TEST_F(FrequencyDisplayTest, StartsByReopeningWithTheShortTimeoutAndShowingZero)
{
    device.TimeOut();
    RunFrequencyDisplay(panel);
    ASSERT_GE(device.calls.size(), 4u);
    EXPECT_EQ(device.calls[2], "CloseHandle");
    EXPECT_EQ(device.calls[3], "CreateFile COM1");
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 150u);
    EXPECT_EQ(panel.Texts().front(), "         0 Hz");
    EXPECT_EQ(panel.focused, 1);
    EXPECT_GE(panel.repaints, 1);
}

TEST_F(FrequencyDisplayTest, ShowsTheReadingOfEveryGoodFrame)
{
    EXPECT_THAT(Show(Frame1 + Frame2), ElementsAre("10.032.768 Hz", " 9.999.999 Hz"));
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(FrequencyDisplayTest, DropsAFrameWithoutThreeSpacesSilently)
{
    std::string noSpaces = Frame2;
    noSpaces[2] = '0';
    EXPECT_THAT(Show(Frame1 + noSpaces), ElementsAre("10.032.768 Hz"));
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(FrequencyDisplayTest, FrameCutShortIsAnErrorAndKeepsTheTailOfTheFrameBefore)
{
    device.Send(Frame1 + "   55.555.");
    device.TimeOut();
    EXPECT_THAT(Show(""), ElementsAre("10.032.768 Hz", "55.555.768 Hz"));
    EXPECT_THAT(framework.messages, ElementsAre("Communication error !"));
}

TEST_F(FrequencyDisplayTest, FirstFrameCutShortShowsWhatCameBeforeTheZeros)
{
    device.Send("   12");
    device.TimeOut();
    EXPECT_THAT(Show(""), ElementsAre("12"));
}

TEST_F(FrequencyDisplayTest, NulInsideTheReadingEndsTheText)
{
    EXPECT_THAT(Show(std::string("   10.0\0"
                                 "32.768 Hz\r\n\r\n",
                                 20)),
                ElementsAre("10.0"));
}

TEST_F(FrequencyDisplayTest, BytesOfTheReadingReachTheLabelUnchanged)
{
    EXPECT_THAT(Show("   \xb5\x8a\x01\x7f\x80\xff"
                     "1234567\r\n\r\n"),
                ElementsAre("\xb5\x8a\x01\x7f\x80\xff"
                            "1234567"));
}

TEST_F(FrequencyDisplayTest, EndsHiddenWithTheLongTimeoutForTheNextOpen)
{
    Show(Frame1);
    EXPECT_THAT(panel.visibility, ElementsAre(true, false, false));
    EXPECT_EQ(TimeoutSettings.ReadTotalTimeoutConstant, 2500u);
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 150u) << "the port is not reopened at the end";
    SetPortName("COM2");
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 2500u);
}

TEST_F(FrequencyDisplayTest, ClosedPortWaitsForMessagesInsteadOfSpinning)
{
    device.failCreate = true;
    framework.onMessage = [&](const std::string&) {
        EXPECT_THAT(framework.screenKeptOn, IsEmpty()) << "the port's message comes before the panel";
    };
    int turns = 0;
    framework.onPump = [&] {
        if (++turns == 3) CancelFrequencyDisplay(panel);
    };
    RunFrequencyDisplay(panel);
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM1' Serial Port!"));
    EXPECT_THAT(framework.waits, ElementsAre(170, 170, 170));
    EXPECT_THAT(panel.Texts(), ElementsAre("         0 Hz"));
    EXPECT_EQ(device.reads, 0);
}

TEST_F(FrequencyDisplayTest, OneCancelEndsADisplayStartedInsideAnother)
{
    int turns = 0;
    framework.onPump = [&] {
        ++turns;
        if (turns == 1) RunFrequencyDisplay(panel);  // Display the Frequency, picked again
        if (turns == 3) CancelFrequencyDisplay(panel);
    };
    RunFrequencyDisplay(panel);
    EXPECT_EQ(turns, 3) << "the outer display ends at its next test, without another turn";
    EXPECT_THAT(panel.Texts(), ElementsAre("         0 Hz", "         0 Hz"));
    EXPECT_EQ(TimeoutSettings.ReadTotalTimeoutConstant, 2500u);
    EXPECT_THAT(framework.screenKeptOn, ElementsAre(true, false)) << "one request for both displays";
}

// Every way a display ends gives the screen back once, and the next display asks again.
TEST_F(FrequencyDisplayTest, KeepsTheScreenOnFromThePanelShownToEveryEnd)
{
    const std::vector<std::pair<const char*, std::function<void()>>> ends = {
        {"Cancel", [this] { CancelFrequencyDisplay(panel); }},
        {"a stop (the window closed, a signal)", [] { StopFrequencyDisplay(); }},
        {"an exception", [] { throw std::runtime_error("out of memory"); }},
    };
    for (const auto& [how, end] : ends) {
        SCOPED_TRACE(how);
        framework.screenKeptOn.clear();
        panel.visibility.clear();
        framework.onPump = [&] {
            EXPECT_THAT(panel.visibility, ElementsAre(true));
            EXPECT_THAT(framework.screenKeptOn, ElementsAre(true));
            end();
        };
        try {
            RunFrequencyDisplay(panel);
        } catch (const std::runtime_error&) {
        }
        EXPECT_THAT(framework.screenKeptOn, ElementsAre(true, false));
    }
}

TEST_F(FrequencyDisplayTest, CancelHidesThePanelAtOnce)
{
    DisplayState = 0;
    CancelFrequencyDisplay(panel);
    EXPECT_EQ(DisplayState, 2);
    EXPECT_THAT(panel.visibility, ElementsAre(false));
}
