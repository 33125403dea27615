// The stand-in for Windows' serial driver: the behaviours the device's tests rely on, each as the
// driver and the Win32 pages give it. All on the model's clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "SerialDriverModel.h"

namespace {

class SerialDriverModelTest : public ::testing::Test {
protected:
    SerialDriverModelTest() : port(driver.AddPort("COM1")) {}

    HANDLE Open()
    {
        return driver.CreateFileA("\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, 0);
    }
    // Reads one byte: the byte, or nullopt, and how long the read took.
    std::pair<std::optional<unsigned char>, ULONGLONG> Read(HANDLE handle)
    {
        const ULONGLONG start = driver.now;
        unsigned char byte = 0;
        DWORD count = 0;
        EXPECT_TRUE(driver.ReadFile(handle, byte, count));
        return {count == 1 ? std::optional(byte) : std::nullopt, driver.now - start};
    }
    std::string ReadAll(HANDLE handle)
    {
        std::string bytes;
        for (auto [byte, took] = Read(handle); byte; std::tie(byte, took) = Read(handle))
            bytes += static_cast<char>(*byte);
        return bytes;
    }
    DCB SetState(HANDLE handle, void (*change)(DCB&))
    {
        DCB state = port.state;
        change(state);
        EXPECT_TRUE(driver.SetCommState(handle, state));
        return state;
    }

    SerialDriverModel driver;
    SerialDriverModel::Port& port;
};

}  // namespace

TEST_F(SerialDriverModelTest, OpensOneHandleAtATimeAndOnlyExistingPorts)
{
    const HANDLE first = Open();
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(driver.CreateFileA("COM2", GENERIC_READ, 0, OPEN_EXISTING, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_TRUE(driver.CloseHandle(first));
    EXPECT_EQ(driver.CreateFileA("COM1", GENERIC_READ, 0, CREATE_ALWAYS, 0), INVALID_HANDLE_VALUE);
    EXPECT_NE(driver.CreateFileA("COM1", GENERIC_READ, 0, OPEN_EXISTING, 0), INVALID_HANDLE_VALUE);
}

struct RefusedState {
    const char* name;
    void (*change)(DCB&);
};

class SerialDriverModelRefusal : public SerialDriverModelTest,
                                 public ::testing::WithParamInterface<RefusedState> {};

TEST_P(SerialDriverModelRefusal, IsRefusedWithInvalidParameterAndChangesNothing)
{
    const HANDLE handle = Open();
    DCB state = port.state;
    GetParam().change(state);
    const DCB before = port.state;
    EXPECT_FALSE(driver.SetCommState(handle, state));
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(std::memcmp(&port.state, &before, sizeof before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    SetCommState, SerialDriverModelRefusal,
    ::testing::Values(RefusedState{"XonIsXoff", [](DCB& s) { s.XoffChar = s.XonChar; }},
                      RefusedState{"FourDataBits", [](DCB& s) { s.ByteSize = 4; }},
                      RefusedState{"NineDataBits", [](DCB& s) { s.ByteSize = 9; }},
                      RefusedState{"OneAndAHalfStopBitsWithEight",
                                   [](DCB& s) {
                                       s.ByteSize = 8;
                                       s.StopBits = ONE5STOPBITS;
                                   }},
                      RefusedState{"TwoStopBitsWithFive",
                                   [](DCB& s) {
                                       s.ByteSize = 5;
                                       s.StopBits = TWOSTOPBITS;
                                   }},
                      RefusedState{"NoBaudRate", [](DCB& s) { s.BaudRate = 0; }},
                      RefusedState{"BaudRateOffTheClock", [](DCB& s) { s.BaudRate = 10000; }},
                      RefusedState{"UndefinedDtrMode", [](DCB& s) { s.fDtrControl = 3; }},
                      RefusedState{"XonLimitBeyondTheBuffer", [](DCB& s) { s.XonLim = 4097; }},
                      RefusedState{"XoffLimitBeyondTheBuffer", [](DCB& s) { s.XoffLim = 15872; }}),
    [](const ::testing::TestParamInfo<RefusedState>& info) { return std::string(info.param.name); });

TEST_F(SerialDriverModelTest, KeepsAStateItTakesAndRefusesOnlyAllThreeReadTimeoutsAtMaxdword)
{
    const HANDLE handle = Open();
    const DCB set = SetState(handle, [](DCB& s) {
        s.BaudRate = 110;
        s.ByteSize = 5;
        s.StopBits = ONE5STOPBITS;
        s.EvtChar = 'E';
    });
    DCB got{};
    EXPECT_TRUE(driver.GetCommState(handle, got));
    EXPECT_EQ(std::memcmp(&got, &set, sizeof got), 0);
    EXPECT_FALSE(driver.SetCommTimeouts(handle, COMMTIMEOUTS{MAXDWORD, MAXDWORD, MAXDWORD, 0, 0}));
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_TRUE(driver.SetCommTimeouts(handle, COMMTIMEOUTS{MAXDWORD, MAXDWORD, 0, 0, 0}));
}

struct ReadCase {
    const char* name;
    COMMTIMEOUTS timeouts;
    std::optional<ULONGLONG> byteAfter;  // when a byte comes, if at all
    bool gotByte;
    ULONGLONG took;
};

class SerialDriverModelRead : public SerialDriverModelTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SerialDriverModelRead, WaitsAsTheTimeoutsSay)
{
    const HANDLE handle = Open();
    ASSERT_TRUE(driver.SetCommTimeouts(handle, GetParam().timeouts));
    if (GetParam().byteAfter) driver.Receive("COM1", driver.now + *GetParam().byteAfter, "A");
    const auto [byte, took] = Read(handle);
    EXPECT_EQ(byte.has_value(), GetParam().gotByte);
    EXPECT_EQ(took, GetParam().took);
}

INSTANTIATE_TEST_SUITE_P(
    OneByte, SerialDriverModelRead,
    ::testing::Values(
        ReadCase{"TotalLimitRunsOut", {120, 20, 150, 1, 250}, std::nullopt, false, 170},
        ReadCase{"ByteWithinTheLimit", {120, 20, 150, 1, 250}, 50, true, 50},
        ReadCase{"ByteAfterTheLimit", {120, 20, 150, 1, 250}, 400, false, 170},
        ReadCase{"NoTotalWaitsForTheByte", {120, 0, 0, 0, 0}, 60'000, true, 60'000},
        ReadCase{"IntervalMaxdwordAloneReturnsAtOnce", {MAXDWORD, 0, 0, 0, 0}, 10, false, 0},
        ReadCase{"IntervalMaxdwordWaitsTheTotal", {MAXDWORD, 10, 500, 0, 0}, std::nullopt, false, 510},
        ReadCase{"IntervalAndMultiplierMaxdwordWaitTheConstant",
                 {MAXDWORD, MAXDWORD, 500, 0, 0},
                 std::nullopt,
                 false,
                 500},
        ReadCase{"IntervalAndMultiplierMaxdwordTakeTheFirstByte",
                 {MAXDWORD, MAXDWORD, 500, 0, 0},
                 100,
                 true,
                 100}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST_F(SerialDriverModelTest, ALineErrorLatchedByAbortOnErrorRefusesAllButClearCommError)
{
    const HANDLE handle = Open();
    SetState(handle, [](DCB& s) { s.fAbortOnError = TRUE; });
    driver.SetCommTimeouts(handle, COMMTIMEOUTS{0, 0, 1000, 0, 0});
    driver.LineError("COM1", driver.now + 10, CE_FRAME);
    driver.Receive("COM1", driver.now + 20, "A");
    unsigned char byte = 0;
    DWORD count = 0;
    EXPECT_FALSE(driver.ReadFile(handle, byte, count));
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_OPERATION_ABORTED});
    driver.Sleep(50);
    DCB state{};
    EXPECT_FALSE(driver.GetCommState(handle, state));
    EXPECT_FALSE(driver.EscapeCommFunction(handle, SETDTR));
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_OPERATION_ABORTED});

    DWORD errors = 0;
    COMSTAT status{};
    EXPECT_TRUE(driver.ClearCommError(handle, errors, status));
    EXPECT_EQ(errors, DWORD{CE_FRAME});
    EXPECT_EQ(status.cbInQue, 1u);
    EXPECT_EQ(ReadAll(handle), "A");
    EXPECT_TRUE(driver.ClearCommError(handle, errors, status));
    EXPECT_EQ(errors, 0u);
}

TEST_F(SerialDriverModelTest, AFullBufferLosesWhatComesAndLatchesAnOverflow)
{
    driver.AddPort("COM2", 128);
    const HANDLE handle = driver.CreateFileA("COM2", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, 0);
    driver.Receive("COM2", driver.now, std::string(130, 'x'));
    DWORD errors = 0;
    COMSTAT status{};
    EXPECT_TRUE(driver.ClearCommError(handle, errors, status));
    EXPECT_EQ(errors, DWORD{CE_RXOVER});
    EXPECT_EQ(status.cbInQue, 128u);
}

TEST_F(SerialDriverModelTest, DrivesDtrAndRtsByTheirModesAndRefusesEscapesWhileItDrivesThem)
{
    const HANDLE handle = Open();
    EXPECT_TRUE(port.dtr && port.rts);
    SetState(handle, [](DCB& s) {
        s.fDtrControl = DTR_CONTROL_HANDSHAKE;
        s.fRtsControl = RTS_CONTROL_TOGGLE;
    });
    EXPECT_TRUE(port.dtr);
    EXPECT_FALSE(port.rts);
    for (DWORD escape : {SETDTR, CLRDTR, SETRTS, CLRRTS}) {
        EXPECT_FALSE(driver.EscapeCommFunction(handle, escape)) << escape;
        EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    }
    SetState(handle, [](DCB& s) {
        s.fDtrControl = DTR_CONTROL_DISABLE;
        s.fRtsControl = RTS_CONTROL_ENABLE;
    });
    EXPECT_FALSE(port.dtr);
    EXPECT_TRUE(port.rts);
    EXPECT_TRUE(driver.EscapeCommFunction(handle, SETDTR));
    EXPECT_TRUE(driver.EscapeCommFunction(handle, CLRRTS));
    EXPECT_TRUE(port.dtr);
    EXPECT_FALSE(port.rts);
    // Setting the same modes again leaves the lines where the escapes put them.
    SetState(handle, [](DCB&) {});
    EXPECT_TRUE(port.dtr);
    EXPECT_FALSE(port.rts);
    driver.CloseHandle(handle);
    EXPECT_FALSE(port.dtr || port.rts);
}

TEST_F(SerialDriverModelTest, ReceiveFiltersDropWhatTheirFlagsSay)
{
    const HANDLE handle = Open();
    driver.SetCommTimeouts(handle, COMMTIMEOUTS{0, 0, 100, 0, 0});
    const std::string line(
        "a\0b\x11"
        "c\x13\xE4",
        7);
    DCB eightBits = port.state;
    eightBits.ByteSize = 8;
    const auto received = [&](void (*change)(DCB&), bool dsr) {
        DCB state = eightBits;
        change(state);
        EXPECT_TRUE(driver.SetCommState(handle, state));
        port.dsr = dsr;
        driver.Receive("COM1", driver.now, line);
        return ReadAll(handle);
    };
    EXPECT_EQ(received([](DCB&) {}, true), line);
    EXPECT_EQ(received([](DCB& s) { s.fNull = TRUE; }, true),
              "ab\x11"
              "c\x13\xE4");
    EXPECT_EQ(received([](DCB& s) { s.fInX = TRUE; }, true), line);
    EXPECT_EQ(received([](DCB& s) { s.fOutX = TRUE; }, true), std::string("a\0bc\xE4", 5));
    EXPECT_EQ(received([](DCB& s) { s.fDsrSensitivity = TRUE; }, false), "");
    EXPECT_EQ(received([](DCB& s) { s.fDsrSensitivity = TRUE; }, true), line);
    EXPECT_EQ(received([](DCB& s) { s.ByteSize = 7; }, true), std::string("a\0b\x11"
                                                                          "c\x13"
                                                                          "d",
                                                                          7));
}

TEST_F(SerialDriverModelTest, AnUnpluggedAdapterFailsEveryRequestButTheClose)
{
    const HANDLE handle = Open();
    driver.SetCommTimeouts(handle, COMMTIMEOUTS{0, 0, 1000, 0, 0});
    driver.Unplug("COM1", driver.now + 60, ERROR_BAD_COMMAND);
    unsigned char byte = 0;
    DWORD count = 0;
    const ULONGLONG start = driver.now;
    EXPECT_FALSE(driver.ReadFile(handle, byte, count));
    EXPECT_EQ(driver.now - start, 60u);
    DCB state{};
    COMMTIMEOUTS timeouts{};
    DWORD errors = 0;
    COMSTAT status{};
    EXPECT_FALSE(driver.GetCommState(handle, state));
    EXPECT_FALSE(driver.SetCommTimeouts(handle, timeouts));
    EXPECT_FALSE(driver.EscapeCommFunction(handle, SETDTR));
    EXPECT_FALSE(driver.ClearCommError(handle, errors, status));
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_BAD_COMMAND});
    EXPECT_TRUE(driver.CloseHandle(handle));
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(driver.GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
}
