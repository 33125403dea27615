// <windows.h> for the program's Windows layer, without the macros that would rename the core's
// own members: CreateFile (SerialDevice) and MessageBox (Framework). Win32 code calls the A or W
// functions by their full names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateFile
#undef MessageBox
