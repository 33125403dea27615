// The port link's serial interface on Windows, over kernel32's communications functions. Port
// "COMn" is opened as \\.\COMn, which also reaches COM10 and above.
#pragma once

#include <map>

#include "SerialDevice.h"
#include "Win32.h"

// The kernel32 calls behind time-outs and reads, so that tests can stand in a port that fails
// the way an unplugged USB adapter does, which no emulator reproduces.
class CommReadCalls {
public:
    virtual ~CommReadCalls() = default;
    virtual BOOL ReadFile(HANDLE port, unsigned char& byte, DWORD& count) = 0;
    virtual BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS& timeouts) = 0;
    virtual BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) = 0;
    virtual DWORD GetLastError() = 0;
    virtual ULONGLONG GetTickCount64() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

class Win32SerialDevice : public SerialDevice {
public:
    // Reads through the given calls; by default kernel32's.
    explicit Win32SerialDevice(CommReadCalls* reads = nullptr);

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
    bool Check(BOOL succeeded);
    bool Fail(DWORD error);

    CommReadCalls* reads_;
    // The time-outs last set or read per open port: an unplugged port answers no question,
    // and a read still has to know how long to wait.
    std::map<PortHandleValue, COMMTIMEOUTS> timeouts_;
    DWORD lastError_ = 0;
};
