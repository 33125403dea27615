// The Win32 device's reads on a port that fails the way an unplugged USB adapter does, through
// a stand-in for kernel32's read calls with its own clock: every call fails (or a read comes
// back empty) at once, and the device must still take the whole time limit of the time-outs
// set at open before it returns.
#include <gtest/gtest.h>

#include "Win32SerialDevice.h"

namespace {

class UnpluggedPort : public CommReadCalls {
public:
    BOOL ReadFile(HANDLE, unsigned char& byte, DWORD& count) override
    {
        ++reads;
        now += readTakes;
        count = byteToSend >= 0 ? 1 : 0;
        if (count == 1) byte = static_cast<unsigned char>(byteToSend);
        return error == 0;
    }
    BOOL GetCommTimeouts(HANDLE, COMMTIMEOUTS& in) override
    {
        in = timeouts;
        return error == 0;
    }
    BOOL SetCommTimeouts(HANDLE, const COMMTIMEOUTS& out) override
    {
        timeouts = out;
        return error == 0;
    }
    DWORD GetLastError() override { return error; }
    ULONGLONG GetTickCount64() override { return now; }
    void Sleep(DWORD milliseconds) override { now += milliseconds; }

    COMMTIMEOUTS timeouts{};
    DWORD error = 0;
    ULONGLONG readTakes = 0;
    int byteToSend = -1;
    ULONGLONG now = 1'000'000;
    int reads = 0;
};

struct Unplug {
    const char* name;
    DWORD error;  // 0: the read succeeds, with no byte
    DWORD constant;
    ULONGLONG readTakes;
};

void PrintTo(const Unplug& unplug, std::ostream* out) { *out << unplug.name; }

class UnpluggedReadTest : public ::testing::TestWithParam<Unplug> {
protected:
    UnpluggedPort port;
    Win32SerialDevice device{&port};
};

}  // namespace

TEST_P(UnpluggedReadTest, TakesTheWholeLimitAndReportsNoByte)
{
    ASSERT_TRUE(device.SetCommTimeouts(1, COMMTIMEOUTS{120, 20, GetParam().constant, 1, 250}));
    port.error = GetParam().error;
    port.readTakes = GetParam().readTakes;
    for (int call = 0; call < 3; ++call) {
        const ULONGLONG start = port.now;
        unsigned char byte = 0;
        std::uint32_t count = 7;
        EXPECT_EQ(device.ReadFile(1, byte, count), GetParam().error == 0);
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

TEST(Win32SerialDeviceRead, AByteReturnsAtOnce)
{
    UnpluggedPort port;
    port.byteToSend = 0x13;
    Win32SerialDevice device(&port);
    device.SetCommTimeouts(1, COMMTIMEOUTS{120, 20, 150, 1, 250});
    const ULONGLONG start = port.now;
    unsigned char byte = 0;
    std::uint32_t count = 0;
    EXPECT_TRUE(device.ReadFile(1, byte, count));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(byte, 0x13);
    EXPECT_EQ(port.now, start);
}
