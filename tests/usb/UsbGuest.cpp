// The program's POSIX serial layer, port link and display loop on a USB serial adapter that is
// pulled out while a display runs and put back, with the adapter named COM2 by a /dev/COM2 link
// that the guest keeps as the udev rule for an adapter does. Two classes of adapter:
//   usb-ftdi  an FTDI adapter (ftdi_sio, /dev/ttyUSB0) that QEMU emulates; the host plays the
//             counter on its line and pulls it out and puts it back through QEMU's monitor;
//   usb-acm   a CDC-ACM device (cdc_acm, /dev/ttyACM0) that the guest's own USB gadget stack
//             makes on a software controller; this program plays the counter on the gadget's
//             /dev/ttyGS0 and pulls the device out by unloading the gadget.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "DisplayWatch.h"
#include "FrequencyDisplay.h"
#include "Guest.h"
#include "PollUntil.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "PumpScript.h"

namespace {

using Clock = std::chrono::steady_clock;

const Shown Zero = Shown::Caption("         0 Hz");
const Shown One = Shown::Caption("11.111.111 Hz");
const Shown Two = Shown::Caption("22.222.222 Hz");
const Shown Three = Shown::Caption("33.333.333 Hz");

// A display that waits uses well under 1 % of a core; one that spins, all of it.
constexpr double MostCpuShare = 0.1;

std::string FrameOf(const Shown& reading) { return std::string("   ") + reading.caption + "\r\n\r\n"; }

long MsSince(Clock::time_point start)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

bool Exists(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0;
}

bool Await(const std::string& path, int milliseconds)
{
    return PollUntil([&path] { return Exists(path); }, milliseconds, 20);
}

// The device node a link leads to, or "" when it leads nowhere.
std::string NodeOf(const char* link)
{
    char path[PATH_MAX];
    return realpath(link, path) != nullptr ? path : "";
}

void Run(const std::string& program, const std::vector<std::string>& args)
{
    ChildProcess command(program, args);
    if (command.WaitExit(30000) != 0) Note(program + " " + args[0] + " failed");
}

// The counter behind a CDC-ACM device on the guest's own bus: g_serial's tty, /dev/ttyGS0, is the
// counter's end of the line, and unloading g_serial pulls the device out.
class GadgetCounter : public Counter {
public:
    GadgetCounter() { Plug(); }
    ~GadgetCounter() override { Close(); }

    void Send(const std::string& bytes) override
    {
        if (fd_ < 0 || write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            Note("the gadget did not take the bytes to send");
    }
    void Unplug() override
    {
        // Unloading the gadget waits until nobody holds its tty.
        Close();
        Run("/bin/rmmod", {"g_serial"});
    }
    void Plug() override
    {
        Run("/bin/insmod", {"/lib/modules/g_serial.ko", "use_acm=1"});
        if (!Await("/dev/ttyGS0", 5000)) return Note("no /dev/ttyGS0 after loading g_serial");
        fd_ = open("/dev/ttyGS0", O_RDWR | O_NOCTTY);
        // Raw, or the gadget's tty would send each LF as CR LF.
        termios raw{};
        tcgetattr(fd_, &raw);
        cfmakeraw(&raw);
        tcsetattr(fd_, TCSANOW, &raw);
    }

private:
    void Close()
    {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    int fd_ = -1;
};

// How the driver answers on a handle whose adapter is gone, for the record.
void NoteUnpluggedHandle(int fd)
{
    pollfd port{fd, POLLIN, 0};
    const int ready = poll(&port, 1, 0);
    unsigned char byte = 0;
    const ssize_t got = read(fd, &byte, 1);
    const int readError = got < 0 ? errno : 0;
    termios attributes{};
    const int attributesGot = tcgetattr(fd, &attributes);
    const int attributesError = attributesGot != 0 ? errno : 0;
    char text[200];
    std::snprintf(text, sizeof text,
                  "unplugged handle: poll %d revents %#x, read %zd (%s), tcgetattr %d (%s)", ready,
                  port.revents, got, std::strerror(readError), attributesGot, std::strerror(attributesError));
    Note(text);
}

}  // namespace

void RunUsbChecks(RecordingFramework& framework, bool gadget)
{
    const auto start = Clock::now();
    const std::unique_ptr<Counter> counter =
        gadget ? std::unique_ptr<Counter>(new GadgetCounter) : std::unique_ptr<Counter>(new CounterOnTheHost);
    ConfigFilePath = "/zorvalit.cfg";
    if (!Await("/dev/COM2", 10000)) Note("no /dev/COM2 within 10 s");
    Figure("adapter_found_ms", MsSince(start));
    const std::string node = NodeOf("/dev/COM2");
    Note("COM2 is " + node);

    Report("open", OpenProblems(framework));
    const int handle = static_cast<int>(PortHandle);
    Report("termios_2400_8N1_raw", DataLineProblems(handle));
    Report("dtr_on_rts_off", ModemProblems(handle));
    Report("frames_unchanged", ReceiveProblems(*counter, EveryKindOfByte));

    // Pulled out between frames during a display, which then runs on for three seconds.
    RecordingPanel panel;
    DisplayWatch unplugged;
    PumpScript display;
    Clock::time_point cancelled;
    framework.Forget();
    display.Do([&] { counter->Send(FrameOf(One)); })
        .WaitUntil("the first reading", [&] { return panel.Label() == One.caption; })
        .Do([&] { counter->Unplug(); })
        .WaitUntil(
            "the adapter's node to go", [&] { return !Exists(node); }, 10000)
        .Wait(500)  // the turn under way ends
        .Do([&] { unplugged.Start(display.Pumps()); })
        .Wait(3000)
        .Do([&] {
            unplugged.Stop(display.Pumps());
            cancelled = Clock::now();
        });
    display.Run(framework, panel);
    const long cancelMs = MsSince(cancelled);
    Figure("unplugged_cpu_share", unplugged.share);
    Figure("unplugged_pumps_a_second", unplugged.pumpsASecond);

    std::string problems;
    for (const auto& failure : display.Failures()) problems += failure + "; ";
    if (unplugged.share >= MostCpuShare)
        problems += "CPU " + std::to_string(unplugged.share) + " of the wall time; ";
    if (unplugged.pumpsASecond > MostPumpsASecond)
        problems += std::to_string(unplugged.pumpsASecond) + " turns a second: reads do not wait; ";
    // The display's own time-outs stay on the handle: the next read waits them out too.
    problems += IdleProblems(160, 800);
    Report("unplugged_reads_wait_without_spinning", problems);

    problems = MessageProblems(framework);
    if (unplugged.pumpsASecond < FewestPumpsASecond)
        problems += std::to_string(unplugged.pumpsASecond) + " pumps a second; ";
    if (panel.All() != std::vector<Shown>{Zero, One}) problems += "the label did not keep the last reading; ";
    if (panel.Visible() || DisplayState != 2) problems += "the display did not end on Cancel; ";
    if (cancelMs > 1000) problems += "Cancel took " + std::to_string(cancelMs) + " ms; ";
    Report("unplugged_display_pumps_and_cancels", problems);

    // Put back while the program still holds the handle of the adapter that went, as when the
    // technician plugs it in again before pressing anything: the kernel gives it a new node.
    NoteUnpluggedHandle(handle);
    counter->Plug();
    const auto plugged = Clock::now();
    const bool pluggedBack = Await("/dev/COM2", 10000);
    Figure("adapter_back_ms", MsSince(plugged));
    Note("COM2 is " + NodeOf("/dev/COM2") + " now");

    framework.Forget();
    const auto closing = Clock::now();
    ClosePort();
    Figure("unplugged_close_ms", MsSince(closing));
    problems.clear();
    if (PortOpen != 0) problems += "the port still counts as open; ";
    if (fcntl(handle, F_GETFD) != -1) problems += "the handle is still held; ";
    for (const auto& message : framework.messages)
        if (message != "COM Close Errror !") problems += "message '" + message + "'; ";
    if (!framework.boxes.empty()) problems += MessageProblems(framework);
    Report("unplugged_close_gives_handle_back", problems);

    // "Display the Frequency": the display closes the port (closed already) and opens COM2 by name.
    problems = pluggedBack ? "" : "no /dev/COM2 within 10 s; ";
    PumpScript again;
    framework.Forget();
    again.Do([&] { counter->Send(FrameOf(Two)); }).WaitUntil("the reading from the adapter put back", [&] {
        return panel.Label() == Two.caption;
    });
    again.Run(framework, panel);
    for (const auto& failure : again.Failures()) problems += failure + "; ";
    problems += MessageProblems(framework);
    Report("replugged_display_shows_frames", problems);

    // COM3 has no adapter: the change is refused, and COM2 picked again works at the next display.
    framework.Forget();
    PortIndex = 2;
    UseChosenPort();
    problems.clear();
    if (PortOpen != 0) problems += "COM3 counts as open; ";
    if (framework.messages != std::vector<std::string>{"Could Not Use the 'COM3' Serial Port!"} ||
        !framework.boxes.empty())
        problems += "not just the refusal: " + MessageProblems(framework);
    framework.Forget();
    PortIndex = 1;
    UseChosenPort();
    PumpScript back;
    back.Do([&] { counter->Send(FrameOf(Three)); }).WaitUntil("the reading on COM2 picked again", [&] {
        return panel.Label() == Three.caption;
    });
    back.Run(framework, panel);
    for (const auto& failure : back.Failures()) problems += failure + "; ";
    problems += MessageProblems(framework);
    ClosePort();
    Report("port_change_without_adapter", problems);
}
