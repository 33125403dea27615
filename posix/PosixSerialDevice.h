// The port link's serial interface on Linux and other POSIX systems: termios for the line state,
// modem-control ioctls for DTR and RTS, poll() for read time-outs, and flock() plus TIOCEXCL to
// hold a port exclusively. Port "COMn" is <dir>/COMn when that exists (an alias an administrator
// can make for a USB adapter), otherwise <dir>/ttyS<n-1>; <dir> is /dev except in tests.
#pragma once

#include <map>
#include <string>

#include "SerialDevice.h"

class PosixSerialDevice : public SerialDevice {
public:
    explicit PosixSerialDevice(std::string deviceDirectory = "/dev");

    // The device file that a port name stands for.
    std::string DevicePath(const std::string& portName) const;

    PortHandleValue CreateFile(const std::string& portName) override;
    bool GetCommTimeouts(PortHandleValue handle, COMMTIMEOUTS& timeouts) override;
    bool SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts) override;
    bool GetCommState(PortHandleValue handle, DCB& state) override;
    bool SetCommState(PortHandleValue handle, const DCB& state) override;
    bool RestoreCommState(PortHandleValue handle, const DCB& state) override;
    bool EscapeCommFunction(PortHandleValue handle, std::uint32_t function) override;
    bool ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count) override;
    bool CloseHandle(PortHandleValue handle) override;
    int GetLastError() override { return lastError_; }

private:
    bool Fail();

    std::string directory_;
    // A POSIX port has no time-outs of its own; they live here, per open handle.
    std::map<PortHandleValue, COMMTIMEOUTS> timeouts_;
    int lastError_ = 0;
};
