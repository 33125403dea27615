// The program natively on a Wayland compositor (on-weston.sh starts one and names it in
// WAYLAND_DISPLAY, with no X display): a helper program asks for a maximise as the title bar's
// button does and then closes the window as the compositor does. The window must keep its size
// and fixed size hints throughout, the compositor must never cut the program off, and the close
// must give the port back as another program left it.
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
    EXPECT_EQ(*answer, "wayland 592x240 normal");
    EXPECT_EQ(program.WaitExit(10000), 0) << "a close from the compositor must end the program";

    std::ostringstream protocol;
    protocol << std::ifstream(log).rdbuf();
    EXPECT_EQ(protocol.str().find("wl_display@1.error"), std::string::npos)
        << "the compositor ended the connection";
    // The window took the maximised size, as the protocol demands, and ended as it began; it tells
    // the compositor that it cannot be resized or maximised.
    const auto geometries = Sizes(protocol.str(), "set_window_geometry");
    const auto minimum = Sizes(protocol.str(), "set_min_size"),
               maximum = Sizes(protocol.str(), "set_max_size");
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
