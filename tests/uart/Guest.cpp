#include "Guest.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "MainForm.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"

namespace {

using Clock = std::chrono::steady_clock;

int failures = 0;

void AskHost(const std::string& request)
{
    std::printf("guest-%s\n", request.c_str());
    std::fflush(stdout);
}

// The mode the kernel command line gives; empty anywhere but in the guest, where the ports are
// real ones.
std::string GuestMode()
{
    if (getpid() == 1) return "";
    std::ifstream cmdline("/proc/cmdline");
    std::string word;
    while (cmdline >> word)
        if (word.rfind("zorvalit.guest=", 0) == 0) return word.substr(15);
    return "";
}

}  // namespace

const std::string EveryKindOfByte =
    std::string("   10.032.768 Hz\r\n\r\n") +
    std::string("\0\x11\x13\x03\x04\x1a\x7f\xff\r\n\x1c\x0a\x0d\x08\x15\x12\x17\x16\x00\x13", 20);

void CounterOnTheHost::Send(const std::string& bytes)
{
    std::string escaped = "send ";
    char octal[8];
    for (unsigned char b : bytes) {
        std::snprintf(octal, sizeof octal, "\\%03o", b);
        escaped += octal;
    }
    AskHost(escaped);
}

void CounterOnTheHost::Unplug() { AskHost("unplug"); }

void CounterOnTheHost::Plug() { AskHost("plug"); }

void Report(const char* check, const std::string& problems)
{
    if (problems.empty()) {
        std::printf("guest-check %s ok\n", check);
    } else {
        std::printf("guest-check %s FAIL: %s\n", check, problems.c_str());
        ++failures;
    }
}

void Note(const std::string& text) { std::printf("guest-note %s\n", text.c_str()); }

void Figure(const char* name, double value) { std::printf("guest-figure %s %g\n", name, value); }

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

std::string MessageProblems(const FrameworkRecord& framework)
{
    std::string out;
    for (const auto& message : framework.messages) out += "message '" + message + "'; ";
    for (const auto& box : framework.boxes) out += "box '" + box.text + "'; ";
    return out;
}

std::string OpenProblems(RecordingFramework& framework)
{
    framework.Forget();
    OpenPort();
    return (PortOpen == 1 ? "" : "port not open; ") + MessageProblems(framework);
}

std::string ReceiveProblems(Counter& counter, const std::string& bytes)
{
    counter.Send(bytes);
    // A few time-outs' grace for the counter to start sending.
    int byte = NoByte;
    for (int tries = 0; tries < 8 && byte == NoByte; ++tries) byte = ReadPortByte();
    std::string got;
    for (; byte != NoByte; byte = ReadPortByte()) {
        got += static_cast<char>(byte);
        if (got.size() == bytes.size()) break;
    }
    if (got == bytes) return "";
    std::ostringstream out;
    out << "got " << got.size() << " bytes:";
    for (unsigned char b : got) out << " " << static_cast<int>(b);
    return out.str();
}

std::string IdleProblems(int lowMs, int highMs)
{
    const auto start = Clock::now();
    const int byte = ReadPortByte();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    std::ostringstream out;
    if (byte != NoByte) out << "read byte " << byte << "; ";
    if (ms < lowMs || ms > highMs) out << "took " << ms << " ms; ";
    Figure("idle_read_ms", static_cast<double>(ms));
    return out.str();
}

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string mode = GuestMode();
    if (mode != "uart" && mode != "usb-ftdi" && mode != "usb-acm") {
        std::fprintf(stderr, "zorvalit-guest: runs only as the uart and usb tests' QEMU guest\n");
        return 2;
    }
    RecordingFramework framework{NoWindow::RealTime};
    framework.onMessage = [](const std::string& text) { std::printf("guest-message %s\n", text.c_str()); };
    PosixSerialDevice device;
    UseSerialDevice(&device);
    SetPortParameters();
    PortName = "COM2";
    if (mode == "uart")
        RunUartChecks(framework);
    else
        RunUsbChecks(framework, mode == "usb-acm");
    std::printf("guest-done %d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
