#include "LineFormat.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::uint32_t, speed_t>, 19> Speeds{{
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
}};

constexpr tcflag_t ParityBits = PARENB | PARODD | CMSPAR;
// Software flow control goes too: a receive-only line must neither swallow the data bytes 0x11
// and 0x13 nor send XOFF itself. Hardware flow control stays as the port had it.
constexpr tcflag_t RawInputOff =
    IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IMAXBEL | IXON | IXOFF | IXANY;
constexpr tcflag_t RawLocalOff =
    ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOPRT | ECHOKE | ICANON | ISIG | IEXTEN;

}  // namespace

void DecodeLineFormat(const termios& attributes, DCB& state)
{
    state.BaudRate = 0;
    for (const auto& [rate, code] : Speeds)
        if (code == cfgetospeed(&attributes)) state.BaudRate = rate;
    switch (attributes.c_cflag & CSIZE) {
    case CS5: state.ByteSize = 5; break;
    case CS6: state.ByteSize = 6; break;
    case CS7: state.ByteSize = 7; break;
    default: state.ByteSize = 8; break;
    }
    const tcflag_t parity = attributes.c_cflag & ParityBits;
    if (!(parity & PARENB))
        state.Parity = 0;
    else if (parity & CMSPAR)
        state.Parity = (parity & PARODD) ? 3 : 4;
    else
        state.Parity = (parity & PARODD) ? 1 : 2;
    state.StopBits = (attributes.c_cflag & CSTOPB) ? 2 : 0;
}

bool EncodeLineFormat(const DCB& state, termios& attributes)
{
    speed_t speed = 0;
    for (const auto& [rate, code] : Speeds)
        if (rate == state.BaudRate) speed = code;
    if (speed == 0) return false;

    tcflag_t size = 0;
    switch (state.ByteSize) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }
    constexpr std::array<tcflag_t, 5> parities{0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR,
                                               PARENB | CMSPAR};
    if (state.Parity >= parities.size()) return false;
    if (state.StopBits != 0 && state.StopBits != 2) return false;  // one and a half: not on POSIX

    attributes.c_cflag &= ~(CSIZE | ParityBits | CSTOPB);
    attributes.c_cflag |= size | parities[state.Parity] | (state.StopBits == 2 ? CSTOPB : 0);
    cfsetispeed(&attributes, speed);
    cfsetospeed(&attributes, speed);
    return true;
}

void MakeDataLine(termios& attributes)
{
    attributes.c_iflag &= ~RawInputOff;
    attributes.c_oflag &= ~OPOST;
    attributes.c_lflag &= ~RawLocalOff;
    attributes.c_cflag |= CLOCAL | CREAD;
    attributes.c_cc[VMIN] = 0;
    attributes.c_cc[VTIME] = 0;
}

bool SameLine(const termios& a, const termios& b)
{
    constexpr tcflag_t format = CSIZE | ParityBits | CSTOPB | CLOCAL | CREAD;
    return cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b) &&
           (a.c_cflag & format) == (b.c_cflag & format) &&
           (a.c_iflag & RawInputOff) == (b.c_iflag & RawInputOff) &&
           (a.c_oflag & OPOST) == (b.c_oflag & OPOST) &&
           (a.c_lflag & RawLocalOff) == (b.c_lflag & RawLocalOff) && a.c_cc[VMIN] == b.c_cc[VMIN] &&
           a.c_cc[VTIME] == b.c_cc[VTIME];
}
