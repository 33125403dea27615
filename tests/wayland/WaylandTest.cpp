// The program natively on a Wayland compositor (on-weston.sh starts one and names it in
// WAYLAND_DISPLAY, with no X display): a helper program asks Qt for a maximise, shows a message
// box and then closes the window as the compositor does. The window must keep its size and fixed
// size hints throughout, neither it nor the box may offer a maximise, the compositor must never
// cut the program off, and the close must give the port back as another program left it. Under
// weston's desktop shell the window is maximised and comes back; under its kiosk shell, which
// keeps every window full screen, it must not trade requests with the compositor without end.
// On sway (on-weston.sh --sway), a display keeps the compositor from going idle, as the
// compositor itself reports.
#include <termios.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Clocks.h"
#include "Pty.h"
#include "TempDir.h"

namespace {

// The sizes, as "WxH", in the requests of that name the client logged, in order.
std::vector<std::string> Sizes(const std::string& log, const std::string& request)
{
    const std::regex pattern(request + R"(\((?:\d+, \d+, )?(\d+), (\d+)\))");
    std::vector<std::string> sizes;
    for (std::sregex_iterator it(log.begin(), log.end(), pattern), end; it != end; ++it)
        sizes.push_back((*it)[1].str() + "x" + (*it)[2].str());
    return sizes;
}

// One run of the helper with COM1 on a pseudo-terminal left as a terminal program leaves it
// (9600 baud, hardware flow control): what it printed, how it ended, and the client's side of
// the protocol, logged by libwayland, up to the message box's surface (the window's own part).
class NativeRun : public ::testing::Test {
protected:
    void Run()
    {
        devices.Link("COM1", line.path());
        ASSERT_EQ(tcgetattr(line.master(), &found), 0);
        cfsetspeed(&found, B9600);
        found.c_cflag |= CRTSCTS;
        ASSERT_EQ(tcsetattr(line.master(), TCSANOW, &found), 0);
        ASSERT_EQ(tcgetattr(line.master(), &found), 0);

        const std::string log = devices / "wayland.log";
        ChildProcess program("/bin/sh",
                             {"-c", R"(log=$1; shift; WAYLAND_DEBUG=client exec "$@" 2> "$log")", "sh", log,
                              MAXIMISE_THEN_CLOSE_EXE, devices.path(), devices / "zorvalit.cfg", "3000"});
        window = program.ReadLine(20000);
        box = program.ReadLine(10000);
        exitCode = program.WaitExit(10000);
        std::ostringstream text;
        text << std::ifstream(log).rdbuf();
        protocol = text.str();
        windowProtocol = protocol.substr(0, protocol.find("get_toplevel", protocol.find("get_toplevel") + 1));
    }

    void ExpectThePortAsFound()
    {
        termios after{};
        ASSERT_EQ(tcgetattr(line.master(), &after), 0);
        EXPECT_EQ(after.c_cflag, found.c_cflag);
        EXPECT_EQ(after.c_iflag, found.c_iflag);
        EXPECT_EQ(after.c_lflag, found.c_lflag);
        EXPECT_EQ(cfgetispeed(&after), cfgetispeed(&found));
    }

    TempDir devices;
    Pty line;
    termios found{};
    std::optional<std::string> window, box;
    std::optional<int> exitCode;
    std::string protocol, windowProtocol;
};

}  // namespace

TEST_F(NativeRun, OnWestonAMaximiseKeepsTheFixedSizeAndACloseGivesThePortBack)
{
    Run();
    ASSERT_TRUE(window.has_value()) << "the program ended or hung before the compositor answered";
    // The program's own title bar stands in for Qt's, which would offer a maximise.
    EXPECT_EQ(*window, "wayland 592x240 normal menu,minimise,close frameless");
    EXPECT_EQ(box.value_or("no box"), "About menu,close frameless");
    EXPECT_EQ(exitCode, 0) << "a close from the compositor must end the program";
    EXPECT_EQ(protocol.find("wl_display@1.error"), std::string::npos)
        << "the compositor ended the connection";

    // The window took the maximised size, as the protocol demands, and ended as it began; it tells
    // the compositor that it cannot be resized or maximised.
    const auto geometries = Sizes(windowProtocol, "set_window_geometry");
    const auto minimum = Sizes(windowProtocol, "set_min_size"),
               maximum = Sizes(windowProtocol, "set_max_size");
    ASSERT_FALSE(geometries.empty());
    ASSERT_FALSE(minimum.empty());
    ASSERT_FALSE(maximum.empty());
    EXPECT_NE(std::find(geometries.begin(), geometries.end(), "1024x768"), geometries.end());
    EXPECT_EQ(geometries.back(), geometries.front());
    EXPECT_EQ(maximum.back(), minimum.back());
    ExpectThePortAsFound();
}

TEST_F(NativeRun, OnAKioskFullScreenIsAnsweredOnceAndACloseGivesThePortBack)
{
    Run();
    ASSERT_TRUE(window.has_value()) << "the program ended or hung under the kiosk shell";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(protocol.find("wl_display@1.error"), std::string::npos)
        << "the compositor ended the connection";
    // Each request to leave full screen brings a configure back; trading them for 4 s runs to
    // tens of thousands.
    const std::regex configure(R"(xdg_toplevel@\d+\.configure\()");
    EXPECT_LT(std::distance(std::sregex_iterator(windowProtocol.begin(), windowProtocol.end(), configure),
                            std::sregex_iterator()),
              20);
    ExpectThePortAsFound();
}

// wlroots' idle-inhibit protocol, as labwc and wayfire have it too: sway's own view of the window
// says whether it inhibits idle; it must while a display runs and no longer once it is cancelled.
TEST(NativeDisplay, OnSwayTheWindowKeepsTheCompositorFromIdlingUntilCancel)
{
    const char* ipc = std::getenv("SWAYSOCK");
    if (!ipc) GTEST_SKIP() << "no sway to ask (run it with on-weston.sh --sway)";
    const auto inhibiting = [ipc](const char* state) {
        std::string tree;
        if (FILE* swaymsg = popen(("swaymsg -s '" + std::string(ipc) + "' -t get_tree").c_str(), "r")) {
            char chunk[4096];
            while (const std::size_t got = std::fread(chunk, 1, sizeof chunk, swaymsg))
                tree.append(chunk, got);
            pclose(swaymsg);
        }
        return tree.find(std::string("\"inhibit_idle\": ") + state) != std::string::npos;
    };
    TempDir devices;
    ChildProcess program("/usr/bin/env",
                         {"ZORVALIT_END=cancel", "QT_QPA_PLATFORM=wayland", DISPLAY_THEN_CLOSE_EXE,
                          devices.path(), devices / "zorvalit.cfg", "2500"});
    ASSERT_EQ(program.ReadLine(20000), "displaying");
    EXPECT_TRUE(Within(2000, [&] { return inhibiting("true"); })) << "the window does not inhibit idle";
    ASSERT_EQ(program.ReadLine(5000), "ended");
    EXPECT_TRUE(Within(2000, [&] { return inhibiting("false"); })) << "the window still inhibits idle";
}
