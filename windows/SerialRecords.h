// The records that describe a serial port to the port link on Windows: the system's own DCB and
// COMMTIMEOUTS and the EscapeCommFunction codes, passed through to kernel32 unchanged.
#pragma once

#include "Win32.h"
