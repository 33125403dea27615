// The program's POSIX serial layer and port link on a real UART: the kernel's own 8250 driver on
// the guest's ttyS1 (COM2) and ttyS2 (COM3), the host playing the counter on ttyS1's line. On the
// ARM guests COM2 is the PL011 (ttyAMA0) and COM3 a 16550, which their init links as /dev/COM2
// and /dev/COM3, the names the port layer takes before ttySn.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "ChildProcess.h"
#include "Guest.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"

namespace {

struct LineState {
    termios attributes{};
    int modemLines = 0;
};

LineState Read(int fd)
{
    LineState state;
    tcgetattr(fd, &state.attributes);
    ioctl(fd, TIOCMGET, &state.modemLines);
    return state;
}

std::string Differences(const LineState& want, const LineState& got)
{
    std::ostringstream out;
    const auto field = [&](const char* name, unsigned long a, unsigned long b) {
        if (a != b) out << name << " " << std::oct << a << "->" << b << std::dec << "; ";
    };
    field("iflag", want.attributes.c_iflag, got.attributes.c_iflag);
    field("oflag", want.attributes.c_oflag, got.attributes.c_oflag);
    field("cflag", want.attributes.c_cflag, got.attributes.c_cflag);
    field("lflag", want.attributes.c_lflag, got.attributes.c_lflag);
    field("ispeed", cfgetispeed(&want.attributes), cfgetispeed(&got.attributes));
    field("ospeed", cfgetospeed(&want.attributes), cfgetospeed(&got.attributes));
    if (std::memcmp(want.attributes.c_cc, got.attributes.c_cc, sizeof want.attributes.c_cc) != 0)
        out << "c_cc; ";
    field("DTR", want.modemLines & TIOCM_DTR, got.modemLines & TIOCM_DTR);
    field("RTS", want.modemLines & TIOCM_RTS, got.modemLines & TIOCM_RTS);
    return out.str();
}

// A second copy of the program, in a child process with its own device, must be turned away.
std::string SecondOpenProblems(RecordingFramework& framework)
{
    ChildProcess second([&framework] {
        PosixSerialDevice secondDevice;
        UseSerialDevice(&secondDevice);
        PortOpen = 0;
        framework.Forget();
        OpenPort();
        const bool refused = PortOpen == 0 && framework.messages.size() == 1 &&
                             framework.messages[0] == "Could Not Use the 'COM2' Serial Port!";
        return refused ? 0 : 1;
    });
    return second.WaitExit(10000) == 0 ? "" : "the second open was not refused as expected";
}

// The node of COMn: the guest's link /dev/COMn where it made one, otherwise ttySn-1.
std::string ComNode(int n)
{
    const std::string link = "/dev/COM" + std::to_string(n);
    struct stat info = {};
    return lstat(link.c_str(), &info) == 0 ? link : "/dev/ttyS" + std::to_string(n - 1);
}

bool SameDevice(int fd, const std::string& path)
{
    struct stat a = {}, b = {};
    return fstat(fd, &a) == 0 && stat(path.c_str(), &b) == 0 && a.st_rdev == b.st_rdev;
}

void SetDirty(int fd)
{
    termios t{};
    tcgetattr(fd, &t);
    t.c_cflag = (t.c_cflag & ~(CSIZE | PARODD)) | CS7 | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD;
    t.c_iflag |= IXON | ICRNL;
    t.c_lflag |= ICANON | ECHO | ISIG;
    t.c_oflag |= OPOST;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(fd, TCSANOW, &t);
    int lines = TIOCM_RTS;
    ioctl(fd, TIOCMSET, &lines);
}

}  // namespace

void RunUartChecks(RecordingFramework& framework)
{
    CounterOnTheHost counter;
    // Another holder of COM2 for the whole run, as a terminal program might be: it watches the
    // line's state and modem lines from outside, and keeps them from being reset by a last close.
    const std::string com2 = ComNode(2);
    const int watcher = open(com2.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (watcher < 0) {
        Report("watcher", "cannot open " + com2 + ": " + std::strerror(errno));
        return;
    }
    const LineState asBooted = Read(watcher);

    Report("open", OpenProblems(framework));
    Report("termios_2400_8N1_raw", DataLineProblems(static_cast<int>(PortHandle)));
    Report("dtr_on_rts_off", ModemProblems(static_cast<int>(PortHandle)));
    Report("frames_unchanged", ReceiveProblems(counter, EveryKindOfByte));
    Report("idle_read_2520ms", IdleProblems(2500, 3500));
    Report("second_open_refused", SecondOpenProblems(framework));
    ClosePort();
    Report("close_restores_as_booted", Differences(asBooted, Read(watcher)));

    TimeoutSettings.ReadTotalTimeoutConstant = 150;
    OpenPort();
    Report("idle_read_170ms", IdleProblems(160, 800));
    ClosePort();

    SetDirty(watcher);
    LineState dirty = Read(watcher);
    std::string problems = OpenProblems(framework);
    // Linux raises DTR and RTS at every open of a tty, so the modem lines that a close can give
    // back are those the port link's own open found and saved.
    if ((SavedState.Native.ModemLines ^ dirty.modemLines) & TIOCM_DTR)
        Note("the open raised DTR that another holder had cleared");
    dirty.modemLines = SavedState.Native.ModemLines;
    if (!(Read(watcher).attributes.c_cflag & CRTSCTS)) problems += "CRTSCTS dropped while open; ";
    problems += DataLineProblems(static_cast<int>(PortHandle)) + ModemProblems(static_cast<int>(PortHandle));
    ClosePort();
    Report("dirty_port_raw_while_open_crtscts_kept", problems);
    Report("dirty_port_restored_bit_for_bit", Differences(dirty, Read(watcher)));

    problems = OpenProblems(framework);
    SetPortName("COM3");
    if (PortOpen != 1 || !SameDevice(static_cast<int>(PortHandle), ComNode(3)))
        problems += "not open on " + ComNode(3) + "; ";
    problems += DataLineProblems(static_cast<int>(PortHandle)) + ModemProblems(static_cast<int>(PortHandle));
    problems += Differences(dirty, Read(watcher));
    problems += MessageProblems(framework);
    ClosePort();
    Report("port_change_com2_to_com3", problems);

    close(watcher);
}
