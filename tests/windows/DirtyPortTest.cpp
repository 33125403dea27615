// Ports as other programs leave them, through the port link and the display loop on the Win32
// device and the stand-in for Windows' serial driver: opened at start-up, a display of the
// counter's frames (NULs, XON and XOFF among their bytes), closed. Every frame must reach the
// label, DTR be on and RTS off while the port is open, no message appear, and the port be given
// back as it was found.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "DirtyPorts.h"
#include "FrequencyDisplay.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "RecordingPanel.h"
#include "SerialDriverModel.h"

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class DirtyPortTest : public ::testing::TestWithParam<DirtyPort> {
protected:
    ~DirtyPortTest() override { UseSerialDevice(nullptr); }

    // Puts that many frames on the line as the counter sends them at 2400 baud, one every 250 ms;
    // the time of the last byte.
    ULONGLONG SendFrames(ULONGLONG start, int count)
    {
        ULONGLONG last = start;
        for (int n = 0; n < count; ++n, start += 250) {
            const std::string& frame = DirtyPortFrames[n % std::size(DirtyPortFrames)];
            for (std::size_t i = 0; i < frame.size(); ++i) {
                last = start + i * 25 / 6;
                driver.Receive("COM1", last, frame.substr(i, 1));
            }
        }
        return last;
    }

    SerialDriverModel driver;
    Win32SerialDevice device{&driver};
    RecordingFramework framework;
    RecordingPanel panel;
};

}  // namespace

TEST_P(DirtyPortTest, ShowsEveryFrameWithDtrOnAndRtsOffAndGivesThePortBackAsFound)
{
    SerialDriverModel::Port& port = driver.AddPort("COM1", GetParam().bufferSize);
    GetParam().leave(port.state, port.timeouts);
    port.dsr = !GetParam().dsrLow;
    port.framingErrorsAtOpen = GetParam().framingErrorsAtOpen;
    const DCB found = port.state;
    const COMMTIMEOUTS foundTimeouts = port.timeouts;
    // Every request takes a millisecond, as a USB adapter's does.
    driver.requestTakes = 1;

    ResetPortLink(&device);
    OpenPort();
    if (GetParam().framesUnread != 0) {
        // The display starts as the last bytes come into the full buffer: the last lands between
        // the clear and the retry of the request refused once the close has put abort-on-error
        // back (the restore, the refused request and the clear take a millisecond each).
        const ULONGLONG last = SendFrames(driver.now + 100, GetParam().framesUnread);
        driver.Sleep(static_cast<DWORD>(last - 4 - driver.now));
    }
    SendFrames(driver.now + 100, std::size(DirtyPortFrames));
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

    EXPECT_THAT(panel.Texts(), ElementsAre("         0 Hz", DirtyPortReadings[0], DirtyPortReadings[1],
                                           DirtyPortReadings[2]));
    EXPECT_THAT(framework.messages, IsEmpty());
    EXPECT_THAT(dtrOnRtsOff, Each(true));
    EXPECT_FALSE(port.open);
    const DCB back = GivenBack(found, port.bufferSize);
    EXPECT_EQ(std::memcmp(&port.state, &back, sizeof back), 0);
    EXPECT_EQ(std::memcmp(&port.timeouts, &foundTimeouts, sizeof foundTimeouts), 0);
}

INSTANTIATE_TEST_SUITE_P(LeftBehind, DirtyPortTest, ::testing::ValuesIn(DirtyPorts),
                         [](const ::testing::TestParamInfo<DirtyPort>& info) {
                             return std::string(info.param.name);
                         });
