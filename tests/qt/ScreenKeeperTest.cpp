// A display keeps the screen on, against the real parts that keep it on: the X server's own
// screen saver, and a private session bus with the real desktop portal and its GTK backend, where
// python3-dbusmock stands in for the desktop's own services (desktop_services.py). A helper
// program runs the program's window on X and starts a display; the request must be there while
// the display runs and gone once it ends, however it ends. Each test skips where a part is missing.
#include <signal.h>
#include <unistd.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QDBusMessage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Clocks.h"
#include "TempDir.h"

using Held = std::vector<std::string>;

namespace {

const std::string Python = "/usr/bin/python3";  // Debian's, which python3-dbusmock is for
const std::string Services = "/usr/share/dbus-1/services/";

bool Runs(const std::string& command) { return std::system((command + " > /dev/null 2>&1").c_str()) == 0; }

// The helper with its port directory and ending (ZORVALIT_END), on X, with these variables.
std::unique_ptr<ChildProcess> StartDisplay(const TempDir& dir, const std::string& end,
                                           const std::string& milliseconds,
                                           std::vector<std::string> environment = {})
{
    environment.insert(environment.end(),
                       {"QT_QPA_PLATFORM=xcb", "ZORVALIT_END=" + end, DISPLAY_THEN_CLOSE_EXE, dir.path(),
                        dir / "zorvalit.cfg", milliseconds});
    return std::make_unique<ChildProcess>("/usr/bin/env", environment);
}

}  // namespace

// With the X server's screen saver set to blank after 3 s, a display suspends it: it stays off
// well past the time-out, and blanks again within it once Cancel is pressed.
TEST(XScreenSaver, StaysOffDuringADisplayAndBlanksAgainAfterCancel)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const xcb_query_extension_reply_t* extension =
        xcb_connection_has_error(connection) ? nullptr
                                             : xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (!extension || !extension->present) {
        xcb_disconnect(connection);
        GTEST_SKIP() << "no X display with MIT-SCREEN-SAVER (run it with tests/support/private-display.sh)";
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto blanked = [&] {
        auto* info = xcb_screensaver_query_info_reply(connection,
                                                      xcb_screensaver_query_info(connection, root), nullptr);
        const bool on = info && info->state == XCB_SCREENSAVER_STATE_ON;
        std::free(info);
        return on;
    };
    xcb_set_screen_saver(connection, 3, 0, XCB_BLANKING_PREFERRED, XCB_EXPOSURES_ALLOWED);
    xcb_force_screen_saver(connection, XCB_SCREEN_SAVER_RESET);
    xcb_flush(connection);

    TempDir dir;
    // No session bus: only the X server is asked.
    auto program = StartDisplay(dir, "cancel", "5000",
                                {"-u", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR=" + dir.path()});
    ASSERT_EQ(program->ReadLine(10000), "displaying");
    EXPECT_FALSE(Within(4500, blanked)) << "the screen blanked during a display";
    ASSERT_EQ(program->ReadLine(5000), "ended");
    EXPECT_TRUE(Within(4500, blanked)) << "the screen saver is still held after Cancel";
    xcb_set_screen_saver(connection, -1, -1, XCB_BLANKING_DEFAULT, XCB_EXPOSURES_DEFAULT);
    xcb_disconnect(connection);
}

// A private session bus: a dbus-daemon with only the services the test names activatable, and
// the stand-ins for the desktop's services on it.
class SessionBus : public ::testing::Test {
protected:
    void Start(bool withPortal, const std::string& services)
    {
        if (!Runs("command -v dbus-daemon && " + Python + " -c 'import dbusmock'"))
            GTEST_SKIP() << "dbus-daemon or python3-dbusmock is missing";
        // The portal and its GTK backend, activatable as the system has them.
        for (const std::string name :
             {"org.freedesktop.portal.Desktop", "org.freedesktop.impl.portal.desktop.gtk"}) {
            if (!withPortal) break;
            if (access((Services + name + ".service").c_str(), R_OK) != 0)
                GTEST_SKIP() << "xdg-desktop-portal or xdg-desktop-portal-gtk is missing";
            dir.Link(name + ".service", Services + name + ".service");
        }
        std::ofstream(dir / "bus.conf") << "<busconfig><type>session</type><listen>unix:dir=" << dir.path()
                                        << "</listen><auth>EXTERNAL</auth><servicedir>" << dir.path()
                                        << "</servicedir><policy context=\"default\"><allow "
                                           "send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                           "<allow own=\"*\"/></policy></busconfig>\n";
        // What the portal, its backend and the program get: the GTK backend as GNOME's (its
        // .portal file's UseIn before xdg-desktop-portal 1.18, portals.conf from then on), X for
        // GTK, and folders of their own.
        std::filesystem::create_directory(dir / "xdg-desktop-portal");
        std::ofstream(dir / "xdg-desktop-portal/portals.conf") << "[preferred]\ndefault=gtk\n";
        environment = {"XDG_CURRENT_DESKTOP=GNOME", "GDK_BACKEND=x11", "XDG_RUNTIME_DIR=" + dir.path(),
                       "XDG_CONFIG_HOME=" + dir.path()};
        std::vector<std::string> daemon = environment;
        daemon.insert(daemon.end(),
                      {"dbus-daemon", "--config-file=" + dir / "bus.conf", "--nofork", "--print-address=1"});
        bus = std::make_unique<ChildProcess>("/usr/bin/env", daemon);
        const auto address = bus->ReadLine(5000);
        ASSERT_TRUE(address.has_value()) << "dbus-daemon did not start";
        environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + *address);
        connection = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QString::fromStdString(*address), "test"));

        std::vector<std::string> mock = environment;
        mock.insert(mock.end(), {Python, "-m", "dbusmock", "--template", DESKTOP_SERVICES, "-p",
                                 R"({"services": [)" + services + "]}"});
        services_ = std::make_unique<ChildProcess>("/usr/bin/env", mock);
        ASSERT_TRUE(Within(5000, [this] { return HeldNow().has_value(); })) << "the stand-ins did not start";
    }
    void TearDown() override
    {
        if (connection) QDBusConnection::disconnectFromBus("test");
    }

    std::optional<Held> HeldNow()
    {
        const QDBusMessage reply = connection->call(
            QDBusMessage::createMethodCall("org.zorvalit.TestDesktop", "/org/zorvalit/TestDesktop",
                                           "org.zorvalit.TestDesktop", "Held"),
            QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
        Held held;
        for (const QString& request : reply.arguments().value(0).toStringList())
            held.push_back(request.toStdString());
        return held;
    }
    bool HeldBecomes(const Held& expected, int milliseconds)
    {
        return Within(milliseconds, [&] { return HeldNow() == expected; });
    }

    // A display that ends as `end` says: "cancel", "close", or a signal sent to the program.
    void DisplayEndedBy(const std::string& end, const Held& request)
    {
        SCOPED_TRACE(end);
        const bool bySignal = end == "SIGTERM" || end == "SIGKILL";
        auto program = StartDisplay(dir, bySignal ? "none" : end, "1000", environment);
        ASSERT_EQ(program->ReadLine(10000), "displaying");
        // The first request starts the portal, which takes a while.
        EXPECT_TRUE(HeldBecomes(request, 8000)) << "no request while the display runs";
        if (bySignal) program->Signal(end == "SIGTERM" ? SIGTERM : SIGKILL);
        EXPECT_TRUE(HeldBecomes({}, 3000)) << "the request outlived the display";
    }

    TempDir dir;
    std::vector<std::string> environment;
    std::unique_ptr<ChildProcess> bus, services_;
    std::unique_ptr<QDBusConnection> connection;
};

// The portal takes the request and its GTK backend passes it on to GNOME's session manager, for
// the idle and suspend alike (flags 8 and 4).
TEST_F(SessionBus, ThePortalHoldsTheRequestUntilTheDisplayEnds)
{
    Start(true, R"("gnome")");
    if (IsSkipped() || HasFatalFailure()) return;
    for (const char* end : {"cancel", "close", "SIGKILL"}) DisplayEndedBy(end, {"session-manager - 12"});
}

// Without a portal or GNOME's session manager on the bus, org.freedesktop.ScreenSaver holds it.
TEST_F(SessionBus, WithoutAPortalTheScreenSaverServiceHoldsIt)
{
    Start(false, R"("screensaver")");
    if (IsSkipped() || HasFatalFailure()) return;
    for (const char* end : {"cancel", "SIGTERM", "SIGKILL"}) DisplayEndedBy(end, {"screensaver zorvalit 8"});
}

// Where the portal's backend cannot take it (xdg-desktop-portal-gtk without GNOME's session
// manager inhibits only the idle, through org.freedesktop.ScreenSaver), the program asks that
// service itself, for the idle alone as well.
TEST_F(SessionBus, WhereThePortalRefusesTheScreenSaverServiceHoldsIt)
{
    Start(true, R"("screensaver")");
    if (IsSkipped() || HasFatalFailure()) return;
    DisplayEndedBy("cancel", {"screensaver zorvalit 8"});
}
