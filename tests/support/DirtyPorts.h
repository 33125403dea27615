// States in which other programs leave a Windows serial port, each as changes to the DCB and
// time-outs the port then holds, with the line conditions that go with it: a terminal program's
// handshaking and XON/XOFF limits, receive filters, latched line errors and a full receive
// buffer, an odd format, odd time-outs. And the frames a display on such a port must show, with
// NULs, XON and XOFF among their bytes.
#pragma once

#include <ostream>
#include <string>

#include "Win32.h"

struct DirtyPort {
    const char* name;
    void (*leave)(DCB& state, COMMTIMEOUTS& timeouts);
    bool dsrLow = false;  // the cable carries TX and ground only
    // Line errors at every open, a millisecond apart: one when the counter never pauses and every
    // open lands mid-character, more when its characters garble at the port's other speed.
    int framingErrorsAtOpen = 0;
    DWORD bufferSize = 4096;  // the driver's receive buffer
    // Frames the counter sends while the port sits open and unread before the display.
    int framesUnread = 0;
    // Wine's serial emulation keeps this state on a pseudo-terminal, or the part of it a
    // terminal's settings can hold (of RTS/CTS handshaking, CRTSCTS).
    bool onWine = false;
};

inline void PrintTo(const DirtyPort& port, std::ostream* out) { *out << port.name; }

// The state a port found so is given back in: exactly, but for what SetCommState refuses: equal
// XON and XOFF characters, given back as 0x11 and 0x13, and XON/XOFF limits beyond the driver's
// receive buffer, given back as the driver sets them at an open, half and an eighth of it.
inline DCB GivenBack(DCB found, DWORD bufferSize = 4096)
{
    if (found.XonChar == found.XoffChar) {
        found.XonChar = 0x11;
        found.XoffChar = 0x13;
    }
    if (found.XonLim > bufferSize || found.XoffLim > bufferSize) {
        found.XonLim = static_cast<WORD>(bufferSize / 2);
        found.XoffLim = static_cast<WORD>(bufferSize / 8);
    }
    return found;
}

inline const DirtyPort DirtyPorts[] = {
    {.name = "AsTheDriverSetsItUp", .leave = [](DCB&, COMMTIMEOUTS&) {}, .onWine = true},
    {.name = "TerminalWithRtsCts",
     .leave =
         [](DCB& s, COMMTIMEOUTS&) {
             s.fOutxCtsFlow = TRUE;
             s.fRtsControl = RTS_CONTROL_HANDSHAKE;
         },
     .onWine = true},
    {.name = "TerminalWithDtrDsr",
     .leave =
         [](DCB& s, COMMTIMEOUTS&) {
             s.fOutxDsrFlow = TRUE;
             s.fDtrControl = DTR_CONTROL_HANDSHAKE;
         }},
    {.name = "TerminalWithXonXoff",
     .leave =
         [](DCB& s, COMMTIMEOUTS&) {
             s.fOutX = TRUE;
             s.fInX = TRUE;
         },
     .onWine = true},
    {.name = "AbortOnError", .leave = [](DCB& s, COMMTIMEOUTS&) { s.fAbortOnError = TRUE; }},
    {.name = "AbortOnErrorWithALineErrorPending",
     .leave = [](DCB& s, COMMTIMEOUTS&) { s.fAbortOnError = TRUE; },
     .framingErrorsAtOpen = 1},
    // A terminal's 115200 baud: the counter's characters garble into errors a millisecond apart,
    // faster than a ClearCommError and the request made again.
    {.name = "AbortOnErrorWithErrorsFasterThanOneRetry",
     .leave =
         [](DCB& s, COMMTIMEOUTS& t) {
             s.BaudRate = 115200;
             s.ByteSize = 8;
             s.Parity = NOPARITY;
             s.fAbortOnError = TRUE;
             t = COMMTIMEOUTS{MAXDWORD, 0, 0, 0, 0};
         },
     .framingErrorsAtOpen = 5},
    // The driver keeps the limits a terminal set after enlarging the buffer (SetupComm) but gives
    // each open a buffer of its usual size.
    {.name = "TerminalWithLargeXonXoffLimits",
     .leave =
         [](DCB& s, COMMTIMEOUTS&) {
             s.fOutX = TRUE;
             s.fInX = TRUE;
             s.XonLim = 16128;
             s.XoffLim = 15872;
         }},
    // Between two displays the counter fills the buffer and each byte more latches CE_RXOVER,
    // which trips abort-on-error again once the port is given back.
    {.name = "AbortOnErrorWithAnOverflowBetweenDisplays",
     .leave = [](DCB& s, COMMTIMEOUTS&) { s.fAbortOnError = TRUE; },
     .bufferSize = 128,
     .framesUnread = 9},
    {.name = "DsrSensitiveWithDsrLow",
     .leave = [](DCB& s, COMMTIMEOUTS&) { s.fDsrSensitivity = TRUE; },
     .dsrLow = true},
    {.name = "NullStripping", .leave = [](DCB& s, COMMTIMEOUTS&) { s.fNull = TRUE; }},
    {.name = "XonAndXoffBothZero",
     .leave =
         [](DCB& s, COMMTIMEOUTS&) {
             s.XonChar = 0;
             s.XoffChar = 0;
         },
     .onWine = true},
    {.name = "At9600SevenEvenOne",
     .leave =
         [](DCB& s, COMMTIMEOUTS&) {
             s.BaudRate = 9600;
             s.ByteSize = 7;
             s.Parity = EVENPARITY;
             s.StopBits = ONESTOPBIT;
             s.fParity = TRUE;
         }},
    {.name = "ReadIntervalMaxdword",
     .leave =
         [](DCB&, COMMTIMEOUTS& t) {
             t = COMMTIMEOUTS{};
             t.ReadIntervalTimeout = MAXDWORD;
         }},
};

// Three frames of the counter, and what the label shows of them after its "0 Hz".
inline const std::string DirtyPortFrames[] = {
    std::string("   10.032.768 Hz\r\n\x11\x13", 20),
    std::string("   \x11"
                "2.345.678 Hz\0\x13\r\n",
                20),
    std::string("   99.999\0"
                "999 Hz\0\0\r\n",
                20),
};
inline const char* const DirtyPortReadings[] = {"10.032.768 Hz",
                                                "\x11"
                                                "2.345.678 Hz",
                                                "99.999"};
