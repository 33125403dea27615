// The serial interface of the operating system as the port link sees it: one call for each
// system service it uses, over the platform's records DCB and COMMTIMEOUTS (SerialRecords.h,
// supplied by the platform's folder). Each platform implements it once; tests put a fake in its
// place with UseSerialDevice (PortLink.h).
#pragma once

#include <cstdint>
#include <string>

#include "SerialRecords.h"

// An operating-system handle of an open port; InvalidPortHandle when an open failed.
using PortHandleValue = std::intptr_t;
inline constexpr PortHandleValue InvalidPortHandle = -1;

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens the port of that name for reading and writing, exclusively: while it is held no
    // other program can use it. InvalidPortHandle when the port is absent, busy or forbidden.
    virtual PortHandleValue CreateFile(const std::string& portName) = 0;

    virtual bool GetCommTimeouts(PortHandleValue handle, COMMTIMEOUTS& timeouts) = 0;
    virtual bool SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts) = 0;

    // Reads the port's whole state into the DCB.
    virtual bool GetCommState(PortHandleValue handle, DCB& state) = 0;
    // Configures the port for data with the DCB's line format: bytes pass unchanged both ways.
    virtual bool SetCommState(PortHandleValue handle, const DCB& state) = 0;
    // Puts back a state exactly as GetCommState reported it, line discipline and modem lines
    // included. (On Windows every port handle is raw, and this is SetCommState again.)
    virtual bool RestoreCommState(PortHandleValue handle, const DCB& state) = 0;

    // SETDTR, CLRDTR, SETRTS or CLRRTS.
    virtual bool EscapeCommFunction(PortHandleValue handle, std::uint32_t function) = 0;

    // Reads at most one byte, waiting as long as the port's time-outs allow: count is 1 with the
    // byte, or 0 when none came in time. Never returns sooner than that limit without a byte,
    // so a caller polling a dead line cannot spin.
    virtual bool ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count) = 0;

    virtual bool CloseHandle(PortHandleValue handle) = 0;

    // The system error number of the last call that failed.
    virtual int GetLastError() = 0;
};
