// The platform's own description of a serial port's state, as carried inside a DCB: on POSIX
// systems the terminal attributes and the modem-control lines.
#pragma once

#ifdef _WIN32
struct NativePortState {};
#else
#include <termios.h>

struct NativePortState {
    termios Attributes{};
    int ModemLines = 0;
    bool HasModemLines = false;  // pseudo-terminals and some adapters have no modem lines
};
#endif
