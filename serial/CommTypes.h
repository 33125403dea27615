// The records that describe a serial port to the port link: its line state (DCB) and its read
// and write time-outs (COMMTIMEOUTS), with the field names of the Win32 serial interface whose
// semantics the program keeps on every platform. Times are in milliseconds.
#pragma once

#include <cstdint>

#include "NativePortState.h"

struct DCB {
    std::uint32_t DCBlength = 0;
    std::uint32_t BaudRate = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    // Everything else the platform reports about the port, carried along untouched so that it
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

// Modem-control functions of EscapeCommFunction, with their Win32 codes.
enum class EscapeCode : int { SETRTS = 3, CLRRTS = 4, SETDTR = 5, CLRDTR = 6 };

// An operating-system handle of an open port; InvalidPortHandle when an open failed.
using PortHandleValue = std::intptr_t;
inline constexpr PortHandleValue InvalidPortHandle = -1;
