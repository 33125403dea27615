// A stand-in for kernel32's communications calls that behaves as Windows' own serial driver
// does, for what this program depends on: exclusive opens, the DCB's checks and effects, the
// read time-outs, the abort-on-error latch, the DTR and RTS escapes, the receive filters, the
// receive buffer and its overflow, and an unplugged adapter. It runs on a clock of its own: a
// read that waits moves the clock on to the next thing on the line or to its limit, and each
// request may take time of its own, so tests take no real time.
//
// Sources: the Win32 pages of CreateFile, DCB, SetCommState, SetCommTimeouts/COMMTIMEOUTS,
// ClearCommError, GetCommProperties/COMMPROP and EscapeCommFunction, and Microsoft's sample
// serial driver (serial/serial in microsoft/Windows-driver-samples), each behaviour with its
// file in the .cpp.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "Win32SerialDevice.h"

class SerialDriverModel : public CommCalls {
public:
    // One port: what the driver keeps from one open to the next, the levels of its lines, and
    // its receive buffer while open.
    struct Port {
        DCB state{};
        COMMTIMEOUTS timeouts{};
        bool dsr = true;  // the DSR input, driven by the other end
        // Line errors at every open, a millisecond apart, the first as the port opens: an open in
        // the middle of a character, or the counter's characters garbled at another speed.
        int framingErrorsAtOpen = 0;
        DWORD bufferSize = 4096;        // the receive buffer: 4096 bytes, 1024 or 128 short of memory
        bool dtr = false, rts = false;  // the outputs, as IOCTL_SERIAL_GET_DTRRTS reads them
        bool open = false;
        std::string input;    // received, not yet read
        DWORD errors = 0;     // CE_* since the last ClearCommError
        DWORD unplugged = 0;  // the error every request fails with once the adapter is gone
    };

    // A port as the driver first sets it up: 1200 baud 7E1, DTR and RTS on, XON 0x11, XOFF 0x13,
    // with a receive buffer of that size.
    Port& AddPort(const std::string& name, DWORD bufferSize = 4096);
    Port& port(const std::string& name) { return ports_.at(name); }

    // What happens on a port's line at a time of the clock (milliseconds): bytes arriving
    // together, a line error (CE_FRAME, CE_OVERRUN, CE_RXPARITY, CE_BREAK), DSR changing, the
    // adapter pulled out (every request then fails with that error).
    void Receive(const std::string& name, ULONGLONG at, const std::string& bytes);
    void LineError(const std::string& name, ULONGLONG at, DWORD error);
    void SetDsr(const std::string& name, ULONGLONG at, bool level);
    void Unplug(const std::string& name, ULONGLONG at, DWORD error);
    // Nothing is left to happen on any line.
    bool Quiet() const { return events_.empty(); }

    ULONGLONG now = 1'000'000;
    // How long the driver takes to answer a request (a USB adapter's round trip on the bus): the
    // line's events of that time happen before the answer, so an error can come between a
    // ClearCommError and the request made again.
    ULONGLONG requestTakes = 0;

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, DWORD disposition,
                       DWORD flags) override;
    BOOL GetCommState(HANDLE handle, DCB& state) override;
    BOOL SetCommState(HANDLE handle, const DCB& state) override;
    BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS& timeouts) override;
    BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS& timeouts) override;
    BOOL EscapeCommFunction(HANDLE handle, DWORD function) override;
    BOOL ReadFile(HANDLE handle, unsigned char& byte, DWORD& count) override;
    BOOL ClearCommError(HANDLE handle, DWORD& errors, COMSTAT& status) override;
    BOOL GetCommProperties(HANDLE handle, COMMPROP& properties) override;
    BOOL CloseHandle(HANDLE handle) override;
    DWORD GetLastError() override { return lastError_; }
    ULONGLONG GetTickCount64() override { return now; }
    void Sleep(DWORD milliseconds) override { RunUntil(now + milliseconds); }

private:
    struct Event {
        enum Kind { Bytes, Error, Dsr, Unplug } kind;
        std::string port;
        std::string bytes;
        DWORD value = 0;
    };

    // The port behind an open handle, or nullptr with the error set when the request is refused.
    Port* Request(HANDLE handle, bool clearingErrors = false);
    BOOL Fail(DWORD error);
    void RunUntil(ULONGLONG time);
    void Happen(const Event& event);

    std::map<std::string, Port> ports_;
    std::map<HANDLE, std::string> handles_;
    std::multimap<ULONGLONG, Event> events_;
    DWORD lastError_ = 0;
    std::uintptr_t nextHandle_ = 0x100;
};
