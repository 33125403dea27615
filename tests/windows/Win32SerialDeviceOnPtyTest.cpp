// The port link over the Win32 device against wine's serial emulation of a pseudo-terminal.
// com-on-pty.pl plays the counter on the master side and checks the terminal settings: it runs
// this program with the port in ZORVALIT_TEST_PORT, and whenever this program writes a request
// it checks that the line is 2400 8N1 without XON/XOFF, then answers it: 'R' with every byte
// value once, 'E', a length byte and that many bytes with those bytes. Afterwards it checks that
// the port's settings are back as it began.
// Wine fails EscapeCommFunction on a pseudo-terminal (error 50); the port link ignores it.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DirtyPorts.h"
#include "PortLink.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "RecordingPanel.h"
#include "Win32SerialDevice.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char* TestPort()
{
    const char* port = std::getenv("ZORVALIT_TEST_PORT");
    EXPECT_NE(port, nullptr) << "run me through com-on-pty.pl";
    return port != nullptr ? port : "COM3";
}

void Write(const std::string& bytes)
{
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(reinterpret_cast<HANDLE>(PortHandle), bytes.data(),
                          static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

// How long ReadPortByte took to give up on a silent line, in milliseconds.
long long SilentReadTime()
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadPortByte(), NoByte);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

struct Settings {
    DCB state;
    COMMTIMEOUTS timeouts;
};

// Another program's use of the port: it opens the port, changes the state and time-outs it finds
// there, and closes it. Returns what the port then holds.
Settings UseAsAnotherProgram(const std::function<void(Settings&)>& change)
{
    const std::string path = std::string("\\\\.\\") + TestPort();
    const HANDLE port =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
    Settings settings{};
    settings.state.DCBlength = sizeof(DCB);
    EXPECT_TRUE(GetCommState(port, &settings.state));
    EXPECT_TRUE(GetCommTimeouts(port, &settings.timeouts));
    change(settings);
    EXPECT_TRUE(SetCommState(port, &settings.state));
    EXPECT_TRUE(SetCommTimeouts(port, &settings.timeouts));
    EXPECT_TRUE(GetCommState(port, &settings.state));
    EXPECT_TRUE(GetCommTimeouts(port, &settings.timeouts));
    CloseHandle(port);
    return settings;
}

const auto NoChange = [](Settings&) {};

class OnPty : public ::testing::Test {
protected:
    OnPty()
    {
        ResetPortLink(&device);
        PortName = TestPort();
    }
    ~OnPty() override { UseSerialDevice(nullptr); }

    Win32SerialDevice device;
    RecordingFramework framework;
};

}  // namespace

TEST_F(OnPty, TakesEveryByteKeepsTheTimeLimitsAndPutsThePortBack)
{
    OpenPort();
    ASSERT_EQ(PortOpen, 1);
    Write("R");

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

class DirtyPortOnPty : public OnPty, public ::testing::WithParamInterface<DirtyPort> {};

TEST_P(DirtyPortOnPty, ShowsEveryFrameAndGivesThePortBackAsFound)
{
    const Settings begun = UseAsAnotherProgram(NoChange);
    const Settings found = UseAsAnotherProgram([](Settings& s) { GetParam().leave(s.state, s.timeouts); });

    std::string frames;
    for (const std::string& frame : DirtyPortFrames) frames += frame;
    RecordingPanel panel;
    framework.onPump = [&] {
        if (framework.pumps == 1) Write("E" + std::string(1, static_cast<char>(frames.size())) + frames);
        if (panel.Captions() == 4 || framework.pumps == 30) CancelFrequencyDisplay(panel);
    };
    RunFrequencyDisplay(panel);
    ClosePort();

    EXPECT_THAT(panel.Texts(), ElementsAre("         0 Hz", DirtyPortReadings[0], DirtyPortReadings[1],
                                           DirtyPortReadings[2]));
    EXPECT_THAT(framework.messages, IsEmpty());
    const Settings back = UseAsAnotherProgram(NoChange);
    const DCB givenBack = GivenBack(found.state);
    EXPECT_EQ(std::memcmp(&back.state, &givenBack, sizeof(DCB)), 0);
    EXPECT_EQ(std::memcmp(&back.timeouts, &found.timeouts, sizeof(COMMTIMEOUTS)), 0);
    UseAsAnotherProgram([&](Settings& s) { s = begun; });
}

std::vector<DirtyPort> WineCanLeave()
{
    std::vector<DirtyPort> ports;
    for (const DirtyPort& port : DirtyPorts)
        if (port.onWine) ports.push_back(port);
    return ports;
}

INSTANTIATE_TEST_SUITE_P(LeftBehind, DirtyPortOnPty, ::testing::ValuesIn(WineCanLeave()),
                         [](const ::testing::TestParamInfo<DirtyPort>& info) {
                             return std::string(info.param.name);
                         });
