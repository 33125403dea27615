// The records that describe a serial port to the port link on POSIX systems, with the field
// names and codes of the Win32 serial interface whose meaning the program keeps everywhere: the
// line state (DCB), the read and write time-outs in milliseconds (COMMTIMEOUTS), and the
// modem-control functions of EscapeCommFunction.
#pragma once

#include <termios.h>

#include <cstdint>

// The terminal attributes and modem-control lines, as the system reports them.
struct NativePortState {
    termios Attributes{};
    int ModemLines = 0;
    bool HasModemLines = false;  // pseudo-terminals and some adapters have no modem lines
};

struct DCB {
    std::uint32_t DCBlength = 0;
    std::uint32_t BaudRate = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    // Everything else the system reports about the port, carried along untouched so that it
    // can be put back exactly as it was found.
    NativePortState Native{};
};

struct COMMTIMEOUTS {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

inline constexpr std::uint32_t SETRTS = 3;
inline constexpr std::uint32_t CLRRTS = 4;
inline constexpr std::uint32_t SETDTR = 5;
inline constexpr std::uint32_t CLRDTR = 6;
