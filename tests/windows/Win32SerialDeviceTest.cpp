// The Win32 device against a stand-in for Windows' serial driver: how it sets up a port whatever
// its last user left in it, how it gets past a latched line error, and how its reads wait on an
// unplugged adapter, which fails every call at once or after a while.
#include <gtest/gtest.h>

#include <cstring>

#include "DirtyPorts.h"
#include "PortLink.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "SerialDriverModel.h"

namespace {

class Win32SerialDeviceTest : public ::testing::Test {
protected:
    Win32SerialDeviceTest() : port(driver.AddPort("COM1")) { ResetPortLink(&device); }
    ~Win32SerialDeviceTest() override { UseSerialDevice(nullptr); }

    SerialDriverModel driver;
    SerialDriverModel::Port& port;
    Win32SerialDevice device{&driver};
    RecordingFramework framework;
};

}  // namespace

TEST_F(Win32SerialDeviceTest, SetsUpAReceiveOnlyDataLineAndKeepsEverythingElse)
{
    DCB& s = port.state;
    s.fOutxCtsFlow = s.fOutxDsrFlow = s.fTXContinueOnXoff = s.fErrorChar = s.fParity = TRUE;
    s.fAbortOnError = s.fDsrSensitivity = s.fNull = s.fOutX = s.fInX = TRUE;
    s.fBinary = FALSE;
    s.fDtrControl = DTR_CONTROL_HANDSHAKE;
    s.fRtsControl = RTS_CONTROL_HANDSHAKE;
    s.XonChar = s.XoffChar = 0;
    s.XonLim = 100;
    s.XoffLim = 200;
    s.ErrorChar = '?';
    s.EofChar = 0x1A;
    s.EvtChar = '\n';
    const DCB found = port.state;

    OpenPort();
    ASSERT_EQ(PortOpen, 1);
    DCB expected = found;
    expected.BaudRate = 2400;
    expected.ByteSize = 8;
    expected.Parity = NOPARITY;
    expected.StopBits = ONESTOPBIT;
    expected.fBinary = TRUE;
    expected.fAbortOnError = expected.fDsrSensitivity = expected.fNull = expected.fOutX = expected.fInX =
        FALSE;
    expected.fDtrControl = DTR_CONTROL_ENABLE;
    expected.fRtsControl = RTS_CONTROL_DISABLE;
    expected.XonChar = 0x11;
    expected.XoffChar = 0x13;
    EXPECT_EQ(std::memcmp(&port.state, &expected, sizeof expected), 0);
    EXPECT_TRUE(port.dtr);
    EXPECT_FALSE(port.rts);

    ClosePort();
    expected = GivenBack(found);
    EXPECT_EQ(std::memcmp(&port.state, &expected, sizeof expected), 0);
    EXPECT_TRUE(framework.messages.empty());
}

TEST_F(Win32SerialDeviceTest, LeavesDtrOnAndRtsOffFromEveryControlMode)
{
    for (DWORD dtr : {DTR_CONTROL_DISABLE, DTR_CONTROL_ENABLE, DTR_CONTROL_HANDSHAKE}) {
        for (DWORD rts :
             {RTS_CONTROL_DISABLE, RTS_CONTROL_ENABLE, RTS_CONTROL_HANDSHAKE, RTS_CONTROL_TOGGLE}) {
            port.state.fDtrControl = dtr;
            port.state.fRtsControl = rts;
            OpenPort();
            EXPECT_TRUE(port.dtr && !port.rts) << "DTR mode " << dtr << ", RTS mode " << rts;
            ClosePort();
            EXPECT_EQ(port.state.fDtrControl, dtr);
            EXPECT_EQ(port.state.fRtsControl, rts);
        }
    }
}

TEST_F(Win32SerialDeviceTest, DistinctXonAndXoffCharactersStayAsFound)
{
    port.state.XonChar = 'Q';
    port.state.XoffChar = 'S';
    OpenPort();
    EXPECT_EQ(port.state.XonChar, 'Q');
    EXPECT_EQ(port.state.XoffChar, 'S');
}

TEST_F(Win32SerialDeviceTest, LineErrorsFasterThanOneRetryAreClearedAndTheRequestMadeAgain)
{
    // The port as left, aborting on errors, opened while the line garbles: four errors a
    // millisecond apart, each request taking a millisecond, so that one lands between the
    // ClearCommError and the request made again.
    port.state.fAbortOnError = TRUE;
    port.framingErrorsAtOpen = 4;
    driver.requestTakes = 1;
    const PortHandleValue handle = device.CreateFile("COM1");
    ASSERT_NE(handle, InvalidPortHandle);
    DCB state{};
    EXPECT_TRUE(device.GetCommState(handle, state));
    ASSERT_TRUE(device.SetCommTimeouts(handle, COMMTIMEOUTS{120, 20, 150, 1, 250}));

    // The same in the middle of a read: the byte after the errors still comes, in the same call.
    const ULONGLONG start = driver.now;
    for (ULONGLONG at : {10, 11, 12}) driver.LineError("COM1", start + at, CE_BREAK);
    driver.Receive("COM1", start + 30, "A");
    unsigned char byte = 0;
    std::uint32_t count = 0;
    EXPECT_TRUE(device.ReadFile(handle, byte, count));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(byte, 'A');
    EXPECT_EQ(driver.now - start, 30u);

    // Errors that never stop: the request is refused after a few tries, not retried for ever.
    device.CloseHandle(handle);
    port.framingErrorsAtOpen = 1000;
    const PortHandleValue garbled = device.CreateFile("COM1");
    EXPECT_FALSE(device.GetCommState(garbled, state));
    EXPECT_EQ(device.GetLastError(), ERROR_OPERATION_ABORTED);
}

TEST_F(Win32SerialDeviceTest, AByteReturnsAtOnce)
{
    const PortHandleValue handle = device.CreateFile("COM1");
    ASSERT_TRUE(device.SetCommTimeouts(handle, COMMTIMEOUTS{120, 20, 150, 1, 250}));
    driver.Receive("COM1", driver.now, "\x13");
    const ULONGLONG start = driver.now;
    unsigned char byte = 0;
    std::uint32_t count = 0;
    EXPECT_TRUE(device.ReadFile(handle, byte, count));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(byte, 0x13);
    EXPECT_EQ(driver.now, start);
}

namespace {

// A USB adapter pulled out: every request fails with that error (0: reads come back empty), and
// a read does so after that long whatever the time-outs say.
struct Unplug {
    const char* name;
    DWORD error;
    DWORD constant;
    ULONGLONG readTakes;
    bool beforeTheTimeouts = false;  // so the port never took the program's time-outs
};

void PrintTo(const Unplug& unplug, std::ostream* out) { *out << unplug.name; }

class UnpluggedPort : public SerialDriverModel {
public:
    BOOL ReadFile(HANDLE handle, unsigned char& byte, DWORD& count) override
    {
        Sleep(static_cast<DWORD>(readTakes));
        count = 0;
        return error == 0 || SerialDriverModel::ReadFile(handle, byte, count);
    }
    DWORD error = 0;
    ULONGLONG readTakes = 0;
};

class UnpluggedReadTest : public ::testing::TestWithParam<Unplug> {
protected:
    UnpluggedPort port;
    Win32SerialDevice device{&port};
};

}  // namespace

TEST_P(UnpluggedReadTest, TakesTheWholeLimitAndReportsNoByte)
{
    port.AddPort("COM1");
    const PortHandleValue handle = device.CreateFile("COM1");
    port.error = GetParam().error;
    port.readTakes = GetParam().readTakes;
    if (GetParam().beforeTheTimeouts) port.Unplug("COM1", port.now, GetParam().error);
    EXPECT_EQ(device.SetCommTimeouts(handle, COMMTIMEOUTS{120, 20, GetParam().constant, 1, 250}),
              !GetParam().beforeTheTimeouts);
    if (GetParam().error != 0) port.Unplug("COM1", port.now, GetParam().error);
    for (int call = 0; call < 3; ++call) {
        const ULONGLONG start = port.now;
        unsigned char byte = 0;
        std::uint32_t count = 7;
        EXPECT_EQ(device.ReadFile(handle, byte, count), GetParam().error == 0);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(port.now - start, std::max(ULONGLONG{20} + GetParam().constant, GetParam().readTakes));
    }
    if (GetParam().error != 0) {
        EXPECT_EQ(device.GetLastError(), static_cast<int>(GetParam().error));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UnpluggedReadTest,
    ::testing::Values(Unplug{"AccessDeniedDuringDisplay", ERROR_ACCESS_DENIED, 150, 0},
                      Unplug{"BadCommandAtRest", ERROR_BAD_COMMAND, 2500, 0},
                      Unplug{"AbortedAfterAWhile", ERROR_OPERATION_ABORTED, 150, 60},
                      Unplug{"EmptyAtOnce", 0, 150, 0},
                      Unplug{"FailsAfterTheLimit", ERROR_GEN_FAILURE, 150, 400},
                      Unplug{"BeforeTheTimeoutsWereSet", ERROR_BAD_COMMAND, 150, 0, true},
                      Unplug{"LimitBeyondMaxdword", ERROR_ACCESS_DENIED, MAXDWORD, 0}),
    [](const ::testing::TestParamInfo<Unplug>& info) { return std::string(info.param.name); });
