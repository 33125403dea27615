// States in which other programs leave a Windows serial port, each as changes to the DCB and
// time-outs the port then holds, with the line conditions that go with it: a terminal program's
// handshaking, receive filters, a latched line error, an odd format, odd time-outs. And the
// frames a display on such a port must show, with NULs, XON and XOFF among their bytes, and a
// panel that keeps what the display showed of them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "FrequencyDisplay.h"
#include "Win32.h"

struct DirtyPort {
    const char* name;
    void (*leave)(DCB& state, COMMTIMEOUTS& timeouts);
    bool dsrLow = false;              // the cable carries TX and ground only
    bool framingErrorAtOpen = false;  // the counter never pauses: every open lands mid-character
    // Wine's serial emulation keeps this state on a pseudo-terminal, or the part of it a
    // terminal's settings can hold (of RTS/CTS handshaking, CRTSCTS).
    bool onWine = false;
};

inline void PrintTo(const DirtyPort& port, std::ostream* out) { *out << port.name; }

// The state a port found so is given back in: exactly, but for equal XON and XOFF characters,
// which SetCommState refuses and the device gives back as 0x11 and 0x13.
inline DCB GivenBack(DCB found)
{
    if (found.XonChar == found.XoffChar) {
        found.XonChar = 0x11;
        found.XoffChar = 0x13;
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
     .framingErrorAtOpen = true},
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

// A display panel that keeps the label's captions.
class DirtyPortPanel : public DisplayPanel {
public:
    void SetPanelVisible(bool) override {}
    void FocusCancelButton() override {}
    void SetLabelCaption(const char* text) override { captions.emplace_back(text); }
    void RepaintPanel() override {}
    std::vector<std::string> captions;
};
