// What the main window does whatever toolkit draws it: its start-up, the port list's change,
// About, Cancel and closing, on a fake window, port and framework.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "AboutText.h"
#include "ChoiceFileTest.h"
#include "FakeForm.h"
#include "Files.h"
#include "FrequencyDisplay.h"

using ::testing::Contains;
using ::testing::ElementsAre;

class MainFormTest : public ChoiceFileTest {
protected:
    void SetUp() override
    {
        ChoiceFileTest::SetUp();
        PortName.clear();
    }
    void TearDown() override
    {
        ClosePort();
        ChoiceFileTest::TearDown();
    }
};

TEST_F(MainFormTest, StartsOnCom1AndCreatesTheFileWhenThereIsNone)
{
    FakeForm form;
    EXPECT_THAT(form.ports, ElementsAre("COM1", "COM2", "COM3", "COM4"));
    EXPECT_EQ(form.selected, 0);
    EXPECT_EQ(device.calls.front(), "CreateFile COM1");
    EXPECT_EQ(PortOpen, 1);
    EXPECT_EQ(Contents(ConfigFilePath), TextLine("Serialport:COM1"));
    EXPECT_EQ(WorkingState.BaudRate, 2400u);
    EXPECT_EQ(WorkingState.ByteSize, 8);
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 2500u);
    EXPECT_EQ(WorkingTimeouts.ReadIntervalTimeout, 120u);
    EXPECT_TRUE(framework.messages.empty());
}

TEST_F(MainFormTest, BusyPortIsReportedAndTheWindowStillOpensWithItSelected)
{
    Put(ConfigFilePath, "Serialport:COM2\n");
    device.failCreate = true;
    FakeForm form;
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM2' Serial Port!"));
    EXPECT_EQ(form.selected, 1);
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(PortName, "COM2");
}

TEST_F(MainFormTest, ChoiceSurvivesARestart)
{
    FakeForm().Pick(2);
    ClosePort();
    device.calls.clear();
    PortIndex = 0;
    FakeForm restarted;
    EXPECT_EQ(restarted.selected, 2);
    EXPECT_EQ(device.calls.front(), "CreateFile COM3");
}

TEST_F(MainFormTest, PickMovesAnOpenPortAndKeepsTheChoice)
{
    FakeForm form;
    device.calls.clear();
    form.Pick(3);
    EXPECT_EQ(PortName, "COM4");
    EXPECT_THAT(device.calls, Contains("CloseHandle"));
    EXPECT_THAT(device.calls, Contains("CreateFile COM4"));
    EXPECT_EQ(device.calls.back(), "CLRRTS");
    EXPECT_EQ(Contents(ConfigFilePath), TextLine("Serialport:COM4"));
}

TEST_F(MainFormTest, AboutBoxHasOneButtonNoIconAndTheCredits)
{
    FakeForm().About1Click();
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].caption, "About");
    EXPECT_EQ(framework.boxes[0].flags, 0);
    EXPECT_EQ(framework.boxes[0].text, AboutText);
    EXPECT_LT(framework.boxes[0].text.size(), 400u);
    EXPECT_GE(std::count(framework.boxes[0].text.begin(), framework.boxes[0].text.end(), '\n'), 8);
}

// Closing the window during a display gives the port back at once and ends the display, which
// must not outlive the window; Cancel ends it and hides the panel.
TEST_F(MainFormTest, ClosingAndCancelEndTheDisplay)
{
    FakeForm form;
    int pumps = 0;
    framework.onPump = [&] {
        if (++pumps == 2) form.FormClose();
    };
    form.DisplaytheFrequency1Click();
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(device.calls.back(), "CloseHandle");

    framework.onPump = [&] { form.ZorvaCancelButtonClick(); };
    form.panelShown.clear();
    form.DisplaytheFrequency1Click();
    EXPECT_THAT(form.panelShown, ElementsAre(true, false, false));
    EXPECT_EQ(DisplayState, 2);
}
