// Ports as other programs leave them, through the port link and the display loop on the Win32
// device and the stand-in for Windows' serial driver: opened at start-up, a display of the
// counter's frames (NULs, XON and XOFF among their bytes), closed. Every frame must reach the
// label, DTR be on and RTS off while the port is open, no message appear, and the port be given
// back as it was found.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "DirtyPorts.h"
#include "FrequencyDisplay.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "SerialDriverModel.h"

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class DirtyPortTest : public ::testing::TestWithParam<DirtyPort> {
protected:
    ~DirtyPortTest() override { UseSerialDevice(nullptr); }

    // Puts the frames on the line as the counter sends them at 2400 baud, one every 250 ms.
    void SendFrames(ULONGLONG start)
    {
        for (const std::string& frame : DirtyPortFrames) {
            for (std::size_t i = 0; i < frame.size(); ++i)
                driver.Receive("COM1", start + i * 25 / 6, frame.substr(i, 1));
            start += 250;
        }
    }

    SerialDriverModel driver;
    Win32SerialDevice device{&driver};
    RecordingFramework framework;
    DirtyPortPanel panel;
};

}  // namespace

TEST_P(DirtyPortTest, ShowsEveryFrameWithDtrOnAndRtsOffAndGivesThePortBackAsFound)
{
    SerialDriverModel::Port& port = driver.AddPort("COM1");
    GetParam().leave(port.state, port.timeouts);
    port.dsr = !GetParam().dsrLow;
    port.framingErrorAtOpen = GetParam().framingErrorAtOpen;
    const DCB found = port.state;
    const COMMTIMEOUTS foundTimeouts = port.timeouts;

    ResetPortLink(&device);
    OpenPort();
    SendFrames(driver.now + 100);
    // A break between the first two frames: a line error in the middle of a display.
    driver.LineError("COM1", driver.now + 300, CE_BREAK);
    // A display on a port that failed to open takes no time on the driver's clock: give up
    // after many more turns than the frames need.
    std::vector<bool> dtrOnRtsOff;
    framework.onPump = [&] {
        dtrOnRtsOff.push_back(port.open && port.dtr && !port.rts);
        if (driver.Quiet() || dtrOnRtsOff.size() == 100) CancelFrequencyDisplay(panel);
    };
    RunFrequencyDisplay(panel);
    ClosePort();

    EXPECT_THAT(panel.captions, ElementsAre("         0 Hz", DirtyPortReadings[0], DirtyPortReadings[1],
                                            DirtyPortReadings[2]));
    EXPECT_THAT(framework.messages, IsEmpty());
    EXPECT_THAT(dtrOnRtsOff, Each(true));
    EXPECT_FALSE(port.open);
    const DCB back = GivenBack(found);
    EXPECT_EQ(std::memcmp(&port.state, &back, sizeof back), 0);
    EXPECT_EQ(std::memcmp(&port.timeouts, &foundTimeouts, sizeof foundTimeouts), 0);
}

INSTANTIATE_TEST_SUITE_P(LeftBehind, DirtyPortTest, ::testing::ValuesIn(DirtyPorts),
                         [](const ::testing::TestParamInfo<DirtyPort>& info) {
                             return std::string(info.param.name);
                         });
