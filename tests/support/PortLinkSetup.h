// Puts the port link's globals in the state the window's constructor leaves them in, with the
// port closed and named COM1, so that each test starts from the program's start-up state.
#pragma once

#include "serial/PortLink.h"

inline void ResetPortLink(SerialDevice* device)
{
    UseSerialDevice(device);
    PortOpen = 0;
    PortHandle = 0;
    PortName = "COM1";
    LineSettings = DCB{};
    LineSettings.DCBlength = 28;
    LineSettings.BaudRate = 2400;
    LineSettings.ByteSize = 8;
    TimeoutSettings = COMMTIMEOUTS{120, 20, 2500, 1, 250};
    WorkingState = SavedState = DCB{};
    WorkingTimeouts = SavedTimeouts = COMMTIMEOUTS{};
}
