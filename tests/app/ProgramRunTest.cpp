// The program's run as every front end makes it, on a fake window, port and framework: the
// window is shown and served by the loop, an exception ends the run and is shown, a stop request
// ends it at any box, and the port is given back on every way out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "ChoiceFileTest.h"
#include "FakeForm.h"
#include "FrequencyDisplay.h"
#include "Program.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// What a window procedure or a Qt handler does with an exception it let escape.
void FailInAHandler()
{
    try {
        throw std::runtime_error("the framework failed");
    } catch (...) {
        EndWithException(std::current_exception());
    }
}

}  // namespace

class ProgramRunTest : public ChoiceFileTest {
protected:
    void TearDown() override
    {
        ClosePort();
        ChoiceFileTest::TearDown();
    }
    int Run()
    {
        return RunProgram(
            [this] {
                auto made = std::make_unique<FakeForm>();
                form = made.get();
                return made;
            },
            [this](MainForm&) { ++shown; });
    }
    FakeForm* form = nullptr;  // while the run has it
    int shown = 0;
};

TEST_F(ProgramRunTest, ShowsTheWindowRunsTheLoopAndGivesThePortBack)
{
    framework.onLoop = [this] {
        EXPECT_EQ(form->shows, 1);
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(PortOpen, 1);
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(framework.loops, 1);
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(device.calls.back(), "CloseHandle");
    EXPECT_THAT(framework.exceptions, IsEmpty());
}

// A handler's exception during a display: the display ends, then the loop; the exception is
// shown once, with the port already given back.
TEST_F(ProgramRunTest, ExceptionEndsTheDisplayAndTheLoopAndIsShownWithThePortBack)
{
    framework.onLoop = [this] { form->DisplaytheFrequency1Click(); };
    framework.onPump = [this] {
        if (framework.pumps == 3) FailInAHandler();
        // The display must not go on turning once the exception came.
        if (framework.pumps > 4) form->ZorvaCancelButtonClick();
    };
    framework.onException = [this](const std::string&) { EXPECT_EQ(PortOpen, 0); };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(framework.pumps, 3);
    EXPECT_EQ(framework.loopEnds, 1);
    EXPECT_THAT(framework.exceptions, ElementsAre("the framework failed"));
    EXPECT_EQ(PortOpen, 0);
}

TEST_F(ProgramRunTest, ExceptionWhileTheWindowIsMadeIsShownWithThePortBack)
{
    EXPECT_EQ(RunProgram([]() -> std::unique_ptr<MainForm> {
                  FakeForm opened;
                  throw std::runtime_error("no window");
              }),
              0);
    EXPECT_EQ(framework.loops, 0);
    EXPECT_THAT(framework.exceptions, ElementsAre("no window"));
    EXPECT_EQ(PortOpen, 0);
}

// One stop request at the first start-up box: no further box, no window, no loop, and the port,
// opened once the constructor went on, given back. The choice file cannot be written (no
// folder); then the port opens, or fails with a box of its own.
TEST_F(ProgramRunTest, OneStopRequestAtAStartUpBoxEndsTheRun)
{
    for (const bool portOpens : {true, false}) {
        SCOPED_TRACE(portOpens ? "the port opens" : "the port fails too");
        ResetPortLink(&device);
        ConfigFilePath = dir / "missing/zorvalit.cfg";
        device.failCreate = !portOpens;
        device.calls.clear();
        framework.messages.clear();
        UseFramework(&framework);
        framework.onMessage = [](const std::string&) { RequestStop(); };

        EXPECT_EQ(Run(), 0);
        EXPECT_THAT(framework.messages, ElementsAre("Can't Write ConfigFile!"));
        EXPECT_EQ(shown, 0);
        EXPECT_EQ(framework.loops, 0);
        EXPECT_EQ(PortOpen, 0);
        if (portOpens) {
            EXPECT_EQ(device.calls.back(), "CloseHandle");
        }
    }
}

// A stop request during a display gives the port back at once, ends the display and the loop,
// and no box comes after it: here the frame it cut short would have said "Communication error !".
TEST_F(ProgramRunTest, StopRequestDuringADisplayEndsItWithThePortBackAndNoBox)
{
    framework.onLoop = [this] {
        device.Send("   10.0");
        form->DisplaytheFrequency1Click();
    };
    device.onRead = [this] {
        if (device.input.empty()) {
            RequestStop();
            EXPECT_EQ(PortOpen, 0);
        }
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(DisplayState, 2);
    EXPECT_EQ(framework.loopEnds, 1);
    EXPECT_THAT(framework.messages, IsEmpty());
    EXPECT_EQ(PortOpen, 0);
}
