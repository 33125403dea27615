// The port link over the Win32 device against wine's serial emulation of a pseudo-terminal.
// com-on-pty.pl plays the counter on the master side and checks the terminal settings: it runs
// this program with the port in ZORVALIT_TEST_PORT, sends every byte value once when this
// program writes 'R', and checks afterwards that the port's settings are back.
// Wine fails EscapeCommFunction on a pseudo-terminal (error 50); the port link ignores it.
#include <chrono>
#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PortLink.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "Win32SerialDevice.h"

using ::testing::IsEmpty;

namespace {

// How long ReadPortByte took to give up on a silent line, in milliseconds.
long long SilentReadTime()
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadPortByte(), NoByte);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

TEST(Win32SerialDeviceOnPty, TakesEveryByteKeepsTheTimeLimitsAndPutsThePortBack)
{
    const char* port = std::getenv("ZORVALIT_TEST_PORT");
    ASSERT_NE(port, nullptr) << "run me through com-on-pty.pl";
    Win32SerialDevice device;
    RecordingFramework framework;
    ResetPortLink(&device);
    PortName = port;

    OpenPort();
    ASSERT_EQ(PortOpen, 1);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(reinterpret_cast<HANDLE>(PortHandle), "R", 1, &written, nullptr));

    std::string received;
    for (int byte = ReadPortByte(); byte != NoByte && received.size() < 300; byte = ReadPortByte())
        received += static_cast<char>(byte);
    std::string everyValue;
    for (int value = 0; value < 256; ++value) everyValue += static_cast<char>(value);
    EXPECT_EQ(received, everyValue);

    EXPECT_THAT(SilentReadTime(), ::testing::AllOf(::testing::Ge(2400), ::testing::Le(4000)));
    ClosePort();
    TimeoutSettings.ReadTotalTimeoutConstant = 150;
    OpenPort();
    ASSERT_EQ(PortOpen, 1);
    EXPECT_THAT(SilentReadTime(), ::testing::AllOf(::testing::Ge(150), ::testing::Le(800)));
    ClosePort();
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(framework.messages, IsEmpty());
}
