// Puts the port link's globals in the state the window's constructor leaves them in, with the
// port closed and named COM1, so that each test starts from the program's start-up state.
#pragma once

#include "MainForm.h"
#include "PortLink.h"

inline void ResetPortLink(SerialDevice* device)
{
    UseSerialDevice(device);
    PortOpen = 0;
    PortHandle = 0;
    PortName = "COM1";
    LineSettings = DCB{};
    TimeoutSettings = COMMTIMEOUTS{};
    SetPortParameters();
    WorkingState = SavedState = DCB{};
    WorkingTimeouts = SavedTimeouts = COMMTIMEOUTS{};
}
