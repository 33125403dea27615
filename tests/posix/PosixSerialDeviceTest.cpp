// The POSIX serial layer under the port link, against real pseudo-terminals reached through a
// scratch device directory (never a real port).
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Clocks.h"
#include "PortLinkSetup.h"
#include "PosixSerialDevice.h"
#include "Pty.h"
#include "RecordingFramework.h"
#include "TempDir.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::chrono_literals;

namespace {

std::chrono::milliseconds Elapsed(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since);
}

}  // namespace

class PosixPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dev.Link("COM1", pty.path());
        ResetPortLink(&device);
        TimeoutSettings.ReadTotalTimeoutConstant = 150;
    }
    void TearDown() override { ClosePort(); }

    TempDir dev;
    Pty pty;
    PosixSerialDevice device{dev.path()};
    RecordingFramework framework;
};

TEST_F(PosixPortTest, EveryByteValueArrivesUnchanged)
{
    OpenPort();
    ASSERT_EQ(PortOpen, 1) << ::testing::PrintToString(framework.messages);
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    pty.Send(all);
    for (int b = 0; b < 256; ++b) ASSERT_EQ(ReadPortByte(), b);
}

TEST_F(PosixPortTest, WhatArrivedBeforeTheOpenIsNotRead)
{
    const int other = open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);  // keeps the line up
    ASSERT_GE(other, 0);
    pty.Send("stale");
    usleep(20000);
    OpenPort();
    pty.Send("A");
    EXPECT_EQ(ReadPortByte(), 'A');
    close(other);
}

TEST_F(PosixPortTest, MissingByteGivesNoByteAfterTheTimeLimit)
{
    OpenPort();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadPortByte(), NoByte);
    EXPECT_GE(Elapsed(start), 150ms);
    EXPECT_LT(Elapsed(start), 1500ms);
}

TEST_F(PosixPortTest, LineIs2400EightNoneOneAndRawWhileOpenAndAsFoundAfterClose)
{
    termios before{};
    ASSERT_EQ(tcgetattr(pty.master(), &before), 0);
    OpenPort();
    ASSERT_EQ(PortOpen, 1);

    termios open{};
    ASSERT_EQ(tcgetattr(static_cast<int>(PortHandle), &open), 0);
    EXPECT_EQ(cfgetispeed(&open), B2400);
    EXPECT_EQ(cfgetospeed(&open), B2400);
    EXPECT_EQ(open.c_cflag & CSIZE, CS8);
    EXPECT_EQ(open.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(open.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
    EXPECT_EQ(open.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
    EXPECT_EQ(open.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(open.c_oflag & OPOST, 0u);
    EXPECT_EQ(open.c_cc[VMIN], 0);
    EXPECT_EQ(open.c_cc[VTIME], 0);
    EXPECT_EQ(open.c_iflag & (IXON | IXOFF | IXANY), 0u) << "XON and XOFF are data";
    EXPECT_EQ(open.c_cflag & CRTSCTS, before.c_cflag & CRTSCTS) << "hardware flow control as found";

    const int fd = static_cast<int>(PortHandle);
    ClosePort();
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(fcntl(fd, F_GETFD), -1) << "handle closed";
    termios after{};
    ASSERT_EQ(tcgetattr(pty.master(), &after), 0);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
}

TEST_F(PosixPortTest, ProgramNeverSendsAByte)
{
    OpenPort();
    pty.Send("   10.032.768 Hz\r\n\r\n");
    for (int i = 0; i < 20; ++i) ReadPortByte();
    pollfd master{pty.master(), POLLIN, 0};
    EXPECT_EQ(poll(&master, 1, 100), 0) << "something came back to the device";
}

TEST_F(PosixPortTest, HeldPortCannotBeOpenedAgain)
{
    OpenPort();
    ASSERT_EQ(PortOpen, 1);
    PosixSerialDevice secondProgram(dev.path());
    EXPECT_EQ(secondProgram.CreateFile("COM1"), InvalidPortHandle);

    // The same through the port link of a second copy of the program.
    const PortHandleValue held = PortHandle;
    PortOpen = 0;
    UseSerialDevice(&secondProgram);
    OpenPort();
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM1' Serial Port!"));
    EXPECT_EQ(PortOpen, 0);
    PortOpen = 1;
    PortHandle = held;
    UseSerialDevice(&device);
}

TEST_F(PosixPortTest, PortLockedOrMadeExclusiveByAnotherProgramIsBusy)
{
    const int other = open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(device.CreateFile("COM1"), InvalidPortHandle);
    flock(other, LOCK_UN);

    ASSERT_EQ(ioctl(other, TIOCEXCL), 0);
    EXPECT_EQ(device.CreateFile("COM1"), InvalidPortHandle);
    EXPECT_EQ(device.GetLastError(), EBUSY);
    ioctl(other, TIOCNXCL);
    close(other);
}

TEST_F(PosixPortTest, PortCanBeOpenedAgainAfterCloseWhileSomeoneElseKeepsTheLineOpen)
{
    const int other = open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    OpenPort();
    ClosePort();
    OpenPort();
    EXPECT_EQ(PortOpen, 1);
    EXPECT_THAT(framework.messages, IsEmpty());
    close(other);
}

TEST_F(PosixPortTest, HungUpPortGivesNoByteWithoutSpinning)
{
    OpenPort();
    pty.HangUp();

    const auto start = std::chrono::steady_clock::now();
    const double cpuBefore = CpuSeconds();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ReadPortByte(), NoByte);
    EXPECT_GE(Elapsed(start), 4 * 150ms);
    EXPECT_LT(CpuSeconds() - cpuBefore, 0.2);
}

TEST_F(PosixPortTest, MissingDeviceCannotBeUsed)
{
    PortName = "COM2";
    OpenPort();
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM2' Serial Port!"));
}

TEST_F(PosixPortTest, NonTerminalAtThePortsNameCannotBeUsed)
{
    dev.Link("COM3", "/dev/null");
    PortName = "COM3";
    OpenPort();
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM3' Serial Port!"));
    EXPECT_EQ(PortOpen, 0);
}

TEST(PosixDevicePath, AliasFirstThenTheNumberedSerialDevice)
{
    TempDir dev;
    dev.Link("COM2", "/dev/null");
    const PosixSerialDevice device(dev.path());
    EXPECT_EQ(device.DevicePath("COM1"), dev / "ttyS0");
    EXPECT_EQ(device.DevicePath("COM2"), dev / "COM2");
    EXPECT_EQ(device.DevicePath("COM4"), dev / "ttyS3");
    EXPECT_EQ(device.DevicePath("COM10"), dev / "ttyS9");
    EXPECT_EQ(device.DevicePath("ttyUSB0"), dev / "ttyUSB0");
    EXPECT_EQ(device.DevicePath("COM99999999999999999999"), dev / "COM99999999999999999999");
    EXPECT_EQ(PosixSerialDevice().DevicePath("COM1").substr(0, 5), "/dev/");
}
