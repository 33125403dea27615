// The port link's serial interface on Windows, over kernel32's communications functions. Port
// "COMn" is opened as \\.\COMn, which also reaches COM10 and above. A port is often found as a
// terminal program left it; the device sets it up for a receive-only data line whatever it held
// and gives it back exactly as found, but for what the driver would refuse. It gets past line
// errors that a port aborting on errors latches, and a read never returns sooner than the
// program's own limit without a byte.
#pragma once

#include <map>

#include "SerialDevice.h"
#include "Win32.h"

// The kernel32 calls the device makes, so that tests can stand in a port that behaves as
// Windows' serial driver does (line errors, handshaking, an unplugged adapter), which no
// emulator reproduces, on a clock of their own.
class CommCalls {
public:
    virtual ~CommCalls() = default;
    // CreateFileA with no security attributes and no template.
    virtual HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, DWORD disposition,
                               DWORD flags) = 0;
    virtual BOOL GetCommState(HANDLE port, DCB& state) = 0;
    virtual BOOL SetCommState(HANDLE port, const DCB& state) = 0;
    virtual BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS& timeouts) = 0;
    virtual BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) = 0;
    virtual BOOL EscapeCommFunction(HANDLE port, DWORD function) = 0;
    // ReadFile of one byte, synchronous.
    virtual BOOL ReadFile(HANDLE port, unsigned char& byte, DWORD& count) = 0;
    virtual BOOL ClearCommError(HANDLE port, DWORD& errors, COMSTAT& status) = 0;
    virtual BOOL GetCommProperties(HANDLE port, COMMPROP& properties) = 0;
    virtual BOOL CloseHandle(HANDLE port) = 0;
    virtual DWORD GetLastError() = 0;
    virtual ULONGLONG GetTickCount64() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

class Win32SerialDevice : public SerialDevice {
public:
    // Works through the given calls; by default kernel32's.
    explicit Win32SerialDevice(CommCalls* calls = nullptr);

    PortHandleValue CreateFile(const std::string& portName) override;
    bool GetCommTimeouts(PortHandleValue handle, COMMTIMEOUTS& timeouts) override;
    bool SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts) override;
    bool GetCommState(PortHandleValue handle, DCB& state) override;
    bool SetCommState(PortHandleValue handle, const DCB& state) override;
    bool RestoreCommState(PortHandleValue handle, const DCB& state) override;
    bool EscapeCommFunction(PortHandleValue handle, std::uint32_t function) override;
    bool ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count) override;
    bool CloseHandle(PortHandleValue handle) override;
    int GetLastError() override { return static_cast<int>(lastError_); }

private:
    // Makes a request of the port. One refused because a line error is latched is made again
    // once ClearCommError has cleared the error, a few times: on a garbled line the next error can
    // come before the request is made again.
    template <typename Request>
    bool Ask(PortHandleValue handle, Request request);
    // After a request failed with that error: whether a latched line error refused it and
    // ClearCommError has now cleared it, so that it may be made again.
    bool ClearedLineError(PortHandleValue handle, DWORD error);
    // SetCommState; when the driver refuses XON/XOFF limits beyond its receive buffer, again with
    // the limits it sets itself.
    bool ApplyState(PortHandleValue handle, DCB state);
    // The longest a one-byte read may take on that port: by the time-outs the program asked for
    // on it, whether or not the port took them, else by those it reported; at least 1 ms.
    ULONGLONG ReadLimit(PortHandleValue handle) const;

    CommCalls* calls_;
    // Per open port, the limit of the time-outs asked for or read: an unplugged port answers no
    // question, and a read still has to know how long to wait.
    std::map<PortHandleValue, ULONGLONG> readLimits_;
    DWORD lastError_ = 0;
};
