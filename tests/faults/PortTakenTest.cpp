// Another program on the same line: picocom, which locks a port with flock like the program
// does. Whoever opens the port first keeps it; the other is refused and nothing changes for
// the one that holds it.
#include <termios.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DisplayOnALine.h"
#include "MeasurementFrame.h"
#include "Picocom.h"
#include "PumpScript.h"

using ::testing::AnyOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

const std::string AFrame = MeasurementFrame("10.032.768 Hz");

}  // namespace

class PortTaken : public DisplayOnALine {
protected:
    void SetUp() override
    {
        DisplayOnALine::SetUp();
        dev.Link("COM1", line.path());
    }

    Pty line;
};

TEST_F(PortTaken, ByPicocomFirstTheProgramCannotUseItUntilPicocomEnds)
{
    auto picocom = std::make_unique<Picocom>(line.path());
    ASSERT_TRUE(picocom->WaitUntilItHoldsTheLine(5000)) << picocom->Output();

    OpenPort();
    EXPECT_EQ(PortOpen, 0);
    PumpScript display;
    display.Wait(500);
    display.Run(framework, panel);
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM1' Serial Port!",
                                                "Could Not Use the 'COM1' Serial Port!"));
    EXPECT_THAT(panel.All(), ElementsAre(Shown::Caption("         0 Hz")));
    EXPECT_GE(display.Pumps(), 2) << "the display waits for messages while the port is taken";

    picocom.reset();
    framework.messages.clear();
    PumpScript afterwards;
    afterwards.Do([&] { line.Send(AFrame); }).WaitUntil("the frame", [&] {
        return panel.Label() == "10.032.768 Hz";
    });
    afterwards.Run(framework, panel);
    EXPECT_THAT(afterwards.Failures(), IsEmpty());
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(PortTaken, ByTheProgramFirstPicocomIsRefusedAndTheDisplayGoesOn)
{
    std::unique_ptr<Picocom> picocom;
    std::optional<int> picocomExit;
    termios before{}, after{};
    PumpScript display;
    display.Do([&] { line.Send(AFrame); })
        .WaitUntil("the first frame", [&] { return panel.Label() == "10.032.768 Hz"; })
        .Do([&] {
            tcgetattr(static_cast<int>(PortHandle), &before);
            picocom = std::make_unique<Picocom>(line.path());
        })
        .WaitUntil("picocom to give up", [&] { return (picocomExit = picocom->WaitForExit(0)).has_value(); })
        .Do([&] {
            tcgetattr(static_cast<int>(PortHandle), &after);
            line.Send(MeasurementFrame("99.999.999 Hz"));
        })
        .WaitUntil("the second frame", [&] { return panel.Label() == "99.999.999 Hz"; });
    display.Run(framework, panel);

    EXPECT_THAT(display.Failures(), IsEmpty());
    ASSERT_TRUE(picocomExit.has_value());
    EXPECT_NE(*picocomExit, 0);
    // Refused by the lock (root), or by the exclusive flag before it got that far (anyone else).
    EXPECT_THAT(picocom->Output(), AnyOf(HasSubstr("cannot lock"), HasSubstr("Device or resource busy")));
    EXPECT_EQ(after.c_cflag, before.c_cflag) << "picocom changed the line's settings";
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(cfgetispeed(&after), B2400);
    EXPECT_THAT(framework.messages, IsEmpty());
    EXPECT_THAT(panel.From(1), Each(Not(Shown::Error())));
}
