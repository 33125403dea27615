// The Win32 device against a stand-in for Windows' serial driver: how it sets up a port whatever
// its last user left in it, how it gets past a latched line error, and how its reads wait on an
// unplugged adapter, which fails every call at once or after a while.
#include <gtest/gtest.h>

#include <cstring>

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
    ASSERT_TRUE(device.SetCommTimeouts(handle, COMMTIMEOUTS{120, 20, GetParam().constant, 1, 250}));
    port.error = GetParam().error;
    port.readTakes = GetParam().readTakes;
    if (GetParam().error != 0) port.Unplug("COM1", port.now, GetParam().error);
    for (int call = 0; call < 3; ++call) {
        const ULONGLONG start = port.now;
        unsigned char byte = 0;
        std::uint32_t count = 7;
        EXPECT_EQ(device.ReadFile(handle, byte, count), GetParam().error == 0);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(port.now - start, std::max<ULONGLONG>(20 + GetParam().constant, GetParam().readTakes));
    }
    if (GetParam().error != 0) {
        EXPECT_EQ(device.GetLastError(), static_cast<int>(GetParam().error));
    }
}

INSTANTIATE_TEST_SUITE_P(Failures, UnpluggedReadTest,
                         ::testing::Values(Unplug{"AccessDeniedDuringDisplay", ERROR_ACCESS_DENIED, 150, 0},
                                           Unplug{"BadCommandAtRest", ERROR_BAD_COMMAND, 2500, 0},
                                           Unplug{"AbortedAfterAWhile", ERROR_OPERATION_ABORTED, 150, 60},
                                           Unplug{"EmptyAtOnce", 0, 150, 0},
                                           Unplug{"FailsAfterTheLimit", ERROR_GEN_FAILURE, 150, 400}),
                         [](const ::testing::TestParamInfo<Unplug>& info) {
                             return std::string(info.param.name);
                         });
