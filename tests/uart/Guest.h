// The program that the uart and usb groups run as a QEMU guest's only program, on the kernel's own
// serial drivers. The kernel command line names its mode (zorvalit.guest=uart, usb-ftdi or
// usb-acm). It prints one line per check on the console for the host to judge,
// "guest-check NAME ok" or "guest-check NAME FAIL: why", and asks the host for its part with
// "guest-send BYTES" (octal escapes), "guest-unplug" and "guest-plug" (boot-guest.sh). Its
// framework records message boxes as the tests' does, shows each as a console line
// ("guest-message TEXT"), and waits for window messages in real time.
#pragma once

#include <string>

#include "RecordingFramework.h"

// The counter's end of the line, and the plug of the adapter between it and the guest.
class Counter {
public:
    virtual ~Counter() = default;
    virtual void Send(const std::string& bytes) = 0;
    virtual void Unplug() = 0;
    virtual void Plug() = 0;
};

// The host plays the counter on the line's far end and works the plug through QEMU's monitor.
class CounterOnTheHost : public Counter {
public:
    void Send(const std::string& bytes) override;
    void Unplug() override;
    void Plug() override;
};

// One frame of every awkward kind of byte: a reading, then NUL, XON, XOFF, the line-editing and
// signal characters, 0x7F and 0xFF, CR and LF.
extern const std::string EveryKindOfByte;

void Report(const char* check, const std::string& problems);
void Note(const std::string& text);
void Figure(const char* name, double value);

// What is wrong with the port's line for the counter: not 2400 8N1, not raw, VMIN/VTIME not 0.
std::string DataLineProblems(int fd);
// DTR must be on and RTS off.
std::string ModemProblems(int fd);
// Each message box shown since the framework last forgot them.
std::string MessageProblems(const FrameworkRecord& framework);
// OpenPort must open the port and show nothing.
std::string OpenProblems(RecordingFramework& framework);
// The counter sends the bytes; ReadPortByte must return each of them, in order.
std::string ReceiveProblems(Counter& counter, const std::string& bytes);
// A read of an idle line must give up after the time limit in force, within a wide window.
std::string IdleProblems(int lowMs, int highMs);

void RunUartChecks(RecordingFramework& framework);
// On a CDC-ACM gadget the guest makes (usb-acm), or on the FTDI adapter QEMU emulates.
void RunUsbChecks(RecordingFramework& framework, bool gadget);
