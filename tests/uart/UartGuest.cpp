// The program's POSIX serial layer and port link on a real UART: runs as a QEMU guest's only
// program, against the kernel's own 8250 driver on the guest's ttyS1 (COM2) and ttyS2 (COM3).
// Prints one line per check, "uart-check NAME ok" or "uart-check NAME FAIL: why", on the console
// for the host to judge, and "uart-send BYTES" (octal escapes) when the host is to send a frame.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Framework.h"
#include "MainForm.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"

namespace {

using Clock = std::chrono::steady_clock;

// Shows each message as a console line and keeps it for the checks.
class ConsoleFramework : public Framework {
public:
    void ShowMessage(const std::string& text) override
    {
        std::printf("uart-message %s\n", text.c_str());
        messages.push_back(text);
    }
    int MessageBox(const std::string& text, const std::string&, int) override
    {
        ShowMessage(text);
        return 1;
    }
    void ProcessMessages() override {}
    void WaitForMessages(int) override {}
    void ShowException(const std::exception& error) override { ShowMessage(error.what()); }

    std::vector<std::string> messages;
};

ConsoleFramework framework;
PosixSerialDevice device;
int failures = 0;

void Report(const char* check, const std::string& problem)
{
    if (problem.empty()) {
        std::printf("uart-check %s ok\n", check);
    } else {
        std::printf("uart-check %s FAIL: %s\n", check, problem.c_str());
        ++failures;
    }
}

// Only the guest's kernel command line names this program: anywhere else its ports are real.
bool InsideTheGuest()
{
    std::ifstream cmdline("/proc/cmdline");
    std::string line;
    std::getline(cmdline, line);
    return (" " + line + " ").find(" zorvalit.uart_guest=1 ") != std::string::npos && getpid() != 1;
}

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

std::string DataLineProblems(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return "tcgetattr failed";
    std::ostringstream out;
    if (cfgetispeed(&t) != B2400 || cfgetospeed(&t) != B2400) out << "speed not 2400; ";
    if ((t.c_cflag & CSIZE) != CS8) out << "not CS8; ";
    if (t.c_cflag & (PARENB | CSTOPB)) out << "parity or two stop bits; ";
    if ((t.c_cflag & (CLOCAL | CREAD)) != (CLOCAL | CREAD)) out << "CLOCAL|CREAD missing; ";
    if (t.c_lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN)) out << "lflag not raw; ";
    if (t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK))
        out << "iflag not raw; ";
    if (t.c_oflag & OPOST) out << "OPOST; ";
    if (t.c_cc[VMIN] != 0 || t.c_cc[VTIME] != 0) out << "VMIN/VTIME not 0; ";
    return out.str();
}

std::string ModemProblems(int fd)
{
    int lines = 0;
    if (ioctl(fd, TIOCMGET, &lines) != 0) return std::string("TIOCMGET: ") + std::strerror(errno);
    std::string out;
    if (!(lines & TIOCM_DTR)) out += "DTR off; ";
    if (lines & TIOCM_RTS) out += "RTS on; ";
    return out;
}

std::string OpenProblems()
{
    framework.messages.clear();
    OpenPort();
    std::string out = PortOpen == 1 ? "" : "port not open; ";
    for (const auto& message : framework.messages) out += "message '" + message + "'; ";
    return out;
}

// Reads as many bytes as the frame holds, allowing the host a few time-outs to start sending.
std::string ReceiveProblems(const std::string& frame)
{
    std::string escaped;
    char octal[8];
    for (unsigned char b : frame) {
        std::snprintf(octal, sizeof octal, "\\%03o", b);
        escaped += octal;
    }
    std::printf("uart-send %s\n", escaped.c_str());
    std::fflush(stdout);
    int byte = NoByte;
    for (int tries = 0; tries < 8 && byte == NoByte; ++tries) byte = ReadPortByte();
    std::string got;
    for (; byte != NoByte; byte = ReadPortByte()) {
        got += static_cast<char>(byte);
        if (got.size() == frame.size()) break;
    }
    if (got == frame) return "";
    std::ostringstream out;
    out << "got " << got.size() << " bytes:";
    for (unsigned char b : got) out << " " << static_cast<int>(b);
    return out.str();
}

// An idle read must give NoByte after the time limit in force, within a wide window.
std::string IdleProblems(int lowMs, int highMs)
{
    const auto start = Clock::now();
    const int byte = ReadPortByte();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::ostringstream out;
    if (byte != NoByte) out << "read byte " << byte << "; ";
    if (ms < lowMs || ms > highMs) out << "took " << ms << " ms; ";
    std::printf("uart-figure idle_read_ms %lld\n", static_cast<long long>(ms));
    return out.str();
}

// A second copy of the program, in a child process with its own device, must be turned away.
std::string SecondOpenProblems()
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        PosixSerialDevice secondDevice;
        UseSerialDevice(&secondDevice);
        PortOpen = 0;
        framework.messages.clear();
        OpenPort();
        const bool refused = PortOpen == 0 && framework.messages.size() == 1 &&
                             framework.messages[0] == "Could Not Use the 'COM2' Serial Port!";
        std::fflush(stdout);
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "the second open was not refused as expected";
}

bool SameDevice(int fd, const char* path)
{
    struct stat a {
    }, b{};
    return fstat(fd, &a) == 0 && stat(path, &b) == 0 && a.st_rdev == b.st_rdev;
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

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!InsideTheGuest()) {
        std::fprintf(stderr, "zorvalit-uart-guest: runs only as the UART test's QEMU guest\n");
        return 2;
    }
    UseFramework(&framework);
    UseSerialDevice(&device);
    SetPortParameters();
    PortName = "COM2";

    // Another holder of ttyS1 for the whole run, as a terminal program might be: it watches the
    // line's state and modem lines from outside, and keeps them from being reset by a last close.
    const int watcher = open("/dev/ttyS1", O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (watcher < 0) {
        std::printf("uart-check watcher FAIL: cannot open /dev/ttyS1: %s\n", std::strerror(errno));
        return 1;
    }
    const LineState asBooted = Read(watcher);

    Report("open", OpenProblems());
    Report("termios_2400_8N1_raw", DataLineProblems(static_cast<int>(PortHandle)));
    Report("dtr_on_rts_off", ModemProblems(static_cast<int>(PortHandle)));
    Report(
        "frames_unchanged",
        ReceiveProblems(
            std::string("   10.032.768 Hz\r\n\r\n") +
            std::string("\0\x11\x13\x03\x04\x1a\x7f\xff\r\n\x1c\x0a\x0d\x08\x15\x12\x17\x16\x00\x13", 20)));
    Report("idle_read_2520ms", IdleProblems(2500, 3500));
    Report("second_open_refused", SecondOpenProblems());
    ClosePort();
    Report("close_restores_as_booted", Differences(asBooted, Read(watcher)));

    TimeoutSettings.ReadTotalTimeoutConstant = 150;
    OpenPort();
    Report("idle_read_170ms", IdleProblems(160, 800));
    ClosePort();

    SetDirty(watcher);
    LineState dirty = Read(watcher);
    std::string problems = OpenProblems();
    // Linux raises DTR and RTS at every open of a tty, so the modem lines that a close can give
    // back are those the port link's own open found and saved.
    if ((SavedState.Native.ModemLines ^ dirty.modemLines) & TIOCM_DTR)
        std::printf("uart-note the open raised DTR that another holder had cleared\n");
    dirty.modemLines = SavedState.Native.ModemLines;
    if (!(Read(watcher).attributes.c_cflag & CRTSCTS)) problems += "CRTSCTS dropped while open; ";
    problems += DataLineProblems(static_cast<int>(PortHandle)) + ModemProblems(static_cast<int>(PortHandle));
    ClosePort();
    Report("dirty_port_raw_while_open_crtscts_kept", problems);
    Report("dirty_port_restored_bit_for_bit", Differences(dirty, Read(watcher)));

    problems = OpenProblems();
    SetPortName("COM3");
    if (PortOpen != 1 || !SameDevice(static_cast<int>(PortHandle), "/dev/ttyS2"))
        problems += "not open on ttyS2; ";
    problems += DataLineProblems(static_cast<int>(PortHandle)) + ModemProblems(static_cast<int>(PortHandle));
    problems += Differences(dirty, Read(watcher));
    for (const auto& message : framework.messages) problems += "message '" + message + "'; ";
    ClosePort();
    Report("port_change_com2_to_com3", problems);

    close(watcher);
    std::printf("uart-done %d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
