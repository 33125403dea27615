// The program natively on a Wayland compositor (on-weston.sh starts one and names it in
// WAYLAND_DISPLAY, with no X display): a helper program asks Qt for a maximise, shows a message
// box and then closes the window as the compositor does. The window must keep its size and fixed
// size hints throughout, neither it nor the box may offer a maximise, the compositor must never
// cut the program off, and the close must give the port back as another program left it.
#include <termios.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
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

}  // namespace

TEST(OnWeston, AMaximiseKeepsTheFixedSizeAndACloseGivesThePortBack)
{
    TempDir devices;
    Pty line;
    devices.Link("COM1", line.path());
    // The port as a terminal program left it: 9600 baud with hardware flow control.
    termios found{};
    ASSERT_EQ(tcgetattr(line.master(), &found), 0);
    cfsetspeed(&found, B9600);
    found.c_cflag |= CRTSCTS;
    ASSERT_EQ(tcsetattr(line.master(), TCSANOW, &found), 0);
    ASSERT_EQ(tcgetattr(line.master(), &found), 0);

    // The client's side of the protocol, logged by libwayland, shows what the compositor saw.
    const std::string log = devices / "wayland.log";
    ChildProcess program("/bin/sh",
                         {"-c", R"(log=$1; shift; WAYLAND_DEBUG=client exec "$@" 2> "$log")", "sh", log,
                          MAXIMISE_THEN_CLOSE_EXE, devices.path(), devices / "zorvalit.cfg", "3000"});
    const auto answer = program.ReadLine(20000);
    ASSERT_TRUE(answer.has_value()) << "the program ended or hung before the compositor answered";
    // The program's own title bar stands in for Qt's, which would offer a maximise.
    EXPECT_EQ(*answer, "wayland 592x240 normal menu,minimise,close frameless");
    EXPECT_EQ(program.ReadLine(10000).value_or("no box"), "About menu,close frameless");
    EXPECT_EQ(program.WaitExit(10000), 0) << "a close from the compositor must end the program";

    std::ostringstream protocol;
    protocol << std::ifstream(log).rdbuf();
    const std::string all = protocol.str();
    EXPECT_EQ(all.find("wl_display@1.error"), std::string::npos) << "the compositor ended the connection";
    // The window took the maximised size, as the protocol demands, and ended as it began; it tells
    // the compositor that it cannot be resized or maximised. The box's requests follow the second
    // toplevel's making.
    const std::string window = all.substr(0, all.find("get_toplevel", all.find("get_toplevel") + 1));
    const auto geometries = Sizes(window, "set_window_geometry");
    const auto minimum = Sizes(window, "set_min_size"), maximum = Sizes(window, "set_max_size");
    ASSERT_FALSE(geometries.empty());
    ASSERT_FALSE(minimum.empty());
    ASSERT_FALSE(maximum.empty());
    EXPECT_NE(std::find(geometries.begin(), geometries.end(), "1024x768"), geometries.end());
    EXPECT_EQ(geometries.back(), geometries.front());
    EXPECT_EQ(maximum.back(), minimum.back());

    termios after{};
    ASSERT_EQ(tcgetattr(line.master(), &after), 0);
    EXPECT_EQ(after.c_cflag, found.c_cflag);
    EXPECT_EQ(after.c_iflag, found.c_iflag);
    EXPECT_EQ(after.c_lflag, found.c_lflag);
    EXPECT_EQ(cfgetispeed(&after), cfgetispeed(&found));
}
