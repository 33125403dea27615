// The port link's algorithms against a recording fake of the serial interface.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "FakeSerialDevice.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PortLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPortLink(&device);
        device.portState.BaudRate = 9600;
        device.portTimeouts.ReadTotalTimeoutConstant = 77;
    }
    FakeSerialDevice device;
    RecordingFramework framework;
};

TEST_F(PortLinkTest, OpenSavesThePortsOwnSettingsBeforeApplyingItsOwn)
{
    OpenPort();

    EXPECT_THAT(device.calls,
                ElementsAre("CreateFile COM1", "GetCommTimeouts", "SetCommTimeouts 2500", "GetCommState",
                            "GetCommState", "SetCommState 2400", "SETDTR", "CLRRTS"));
    EXPECT_EQ(PortOpen, 1);
    EXPECT_EQ(PortHandle, FakeSerialDevice::Handle);
    EXPECT_EQ(SavedState.BaudRate, 9600u);
    EXPECT_EQ(SavedTimeouts.ReadTotalTimeoutConstant, 77u);
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutMultiplier, 20u);
    EXPECT_EQ(WorkingState.DCBlength, 28u);
    EXPECT_EQ(WorkingState.ByteSize, 8);
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(PortLinkTest, OpenKeepsEverythingElseThePortReported)
{
    // Whatever else the platform's DCB holds, the port's own values must come through.
    std::memset(static_cast<void*>(&device.portState), 0x5A, sizeof device.portState);
    DCB expected = device.portState;
    expected.DCBlength = 28;
    expected.BaudRate = 2400;
    expected.ByteSize = 8;
    expected.Parity = 0;
    expected.StopBits = 0;
    OpenPort();
    EXPECT_EQ(std::memcmp(&WorkingState, &expected, sizeof expected), 0);
}

TEST_F(PortLinkTest, OpenOnAnOpenPortChangesNothingEvenWithNewTimeouts)
{
    OpenPort();
    device.calls.clear();
    TimeoutSettings.ReadTotalTimeoutConstant = 150;

    OpenPort();

    EXPECT_THAT(device.calls, IsEmpty());
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 2500u);
}

TEST_F(PortLinkTest, PortThatCannotBeOpenedIsNamedInTheMessage)
{
    device.failCreate = true;
    PortName = "COM3";
    OpenPort();
    EXPECT_THAT(framework.messages, ElementsAre("Could Not Use the 'COM3' Serial Port!"));
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, ElementsAre("CreateFile COM3"));
}

// A failure to read or apply the state is reported with the system's error number, and the
// port is given back as it was found rather than held until the program ends.
TEST_F(PortLinkTest, FailureToReadTheStateReleasesThePort)
{
    device.failGetState = true;
    device.lastError = 5;
    OpenPort();
    EXPECT_THAT(framework.messages, ElementsAre("GetCommState Error! (5)"));
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, ElementsAre("CreateFile COM1", "GetCommTimeouts", "SetCommTimeouts 2500",
                                          "GetCommState", "SetCommTimeouts 77", "CloseHandle"));
}

TEST_F(PortLinkTest, FailureToApplyTheStateReleasesThePort)
{
    device.failSetState = true;
    device.lastError = 22;
    OpenPort();
    EXPECT_THAT(framework.messages, ElementsAre("SetCommState Error! (22)\n"));
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, ElementsAre("CreateFile COM1", "GetCommTimeouts", "SetCommTimeouts 2500",
                                          "GetCommState", "GetCommState", "SetCommState 2400",
                                          "RestoreCommState 9600", "SetCommTimeouts 77", "CloseHandle"));
}

// The second read, the one kept for the close, failing: the first read of the same port stands
// in for it, never what an earlier port's open left in SavedState.
TEST_F(PortLinkTest, ASavedStateThatCannotBeReadIsTheFirstRead)
{
    SavedState.BaudRate = 4800;
    device.failGetStateAt = 2;
    OpenPort();
    ClosePort();
    EXPECT_THAT(device.calls,
                ElementsAre("CreateFile COM1", "GetCommTimeouts", "SetCommTimeouts 2500", "GetCommState",
                            "GetCommState", "SetCommState 2400", "SETDTR", "CLRRTS", "RestoreCommState 9600",
                            "SetCommTimeouts 77", "CloseHandle"));
}

TEST_F(PortLinkTest, ClosePutsBackStateThenTimeoutsThenCloses)
{
    OpenPort();
    device.calls.clear();
    ClosePort();
    EXPECT_THAT(device.calls, ElementsAre("RestoreCommState 9600", "SetCommTimeouts 77", "CloseHandle"));
    EXPECT_EQ(PortOpen, 0);
}

TEST_F(PortLinkTest, ClosedPortIsLeftAlone)
{
    ClosePort();
    EXPECT_EQ(ReadPortByte(), NoByte);
    EXPECT_THAT(device.calls, IsEmpty());
    EXPECT_EQ(device.reads, 0);
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(PortLinkTest, FailedCloseKeepsThePortInUse)
{
    OpenPort();
    device.failClose = true;
    ClosePort();
    EXPECT_THAT(framework.messages, ElementsAre("COM Close Errror !"));
    EXPECT_EQ(PortOpen, 1);

    device.calls.clear();
    OpenPort();
    EXPECT_THAT(device.calls, IsEmpty());
}

TEST_F(PortLinkTest, BytesComeBackWholeAndSilenceAsNoByte)
{
    OpenPort();
    device.Send(std::string("\0\xff A", 4));
    device.TimeOut();
    EXPECT_EQ(ReadPortByte(), 0);
    EXPECT_EQ(ReadPortByte(), 255);
    EXPECT_EQ(ReadPortByte(), ' ');
    EXPECT_EQ(ReadPortByte(), 'A');
    EXPECT_EQ(ReadPortByte(), NoByte);
}

TEST_F(PortLinkTest, RenamingAnOpenPortReopensItUnderTheNewName)
{
    OpenPort();
    device.calls.clear();
    SetPortName("COM2");
    EXPECT_EQ(PortName, "COM2");
    EXPECT_EQ(PortOpen, 1);
    ASSERT_GE(device.calls.size(), 4u);
    EXPECT_EQ(device.calls[2], "CloseHandle");
    EXPECT_EQ(device.calls[3], "CreateFile COM2");
}

TEST_F(PortLinkTest, RenamingAClosedPortOnlyStoresTheName)
{
    SetPortName("COM4");
    EXPECT_EQ(PortName, "COM4");
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, IsEmpty());
    OpenPort();
    EXPECT_EQ(device.calls.front(), "CreateFile COM4");
}

TEST(ReadByteLimit, IsMultiplierForOneBytePlusConstant)
{
    EXPECT_EQ(ReadByteLimit(COMMTIMEOUTS{120, 20, 150, 1, 250}), 170);
    EXPECT_EQ(ReadByteLimit(COMMTIMEOUTS{120, 20, 2500, 1, 250}), 2520);
}
