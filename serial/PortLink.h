// The one serial port the program talks to: its name, handle and open flag, the line settings
// and time-outs it applies, and the copies of the port's own state that are put back at close.
// OpenPort, ClosePort, ReadPortByte and SetPortName report their failures to the user in a
// message box and return; callers that care look at PortOpen.
#pragma once

#include <string>

#include "SerialDevice.h"

// ReadPortByte's result when no byte came; real bytes are 0..255.
inline constexpr int NoByte = 257;

extern std::string PortName;
extern PortHandleValue PortHandle;
extern unsigned char PortOpen;
extern DCB LineSettings;
extern DCB WorkingState;
extern DCB SavedState;
extern COMMTIMEOUTS TimeoutSettings;
extern COMMTIMEOUTS WorkingTimeouts;
extern COMMTIMEOUTS SavedTimeouts;

// Chooses the operating system's serial interface (the program's, or a test's fake).
void UseSerialDevice(SerialDevice* device);

// Opens PortName exclusively, keeps a copy of its state and time-outs, applies LineSettings and
// TimeoutSettings, raises DTR and clears RTS. Does nothing when the port is already open.
void OpenPort();
// Puts back the port's earlier state and time-outs and closes it. Does nothing when closed.
void ClosePort();
// One byte 0..255, or NoByte when none came within the time-out in force or the port is closed.
int ReadPortByte();
// Renames the port; an open port is closed and opened again under the new name.
void SetPortName(const std::string& name);

// The longest a one-byte read waits with the given time-outs, in milliseconds.
int ReadByteLimit(const COMMTIMEOUTS& timeouts);
