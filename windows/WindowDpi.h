// The DPI a window is laid out for, from the newest source the system offers: the window's own
// (GetDpiForWindow, Windows 10 1607 on), its monitor's (GetDpiForMonitor in shcore.dll, Windows
// 8.1 on), or the system DPI (Windows 7 and 8, where every monitor has that one). The sources are
// looked up at run time, so that the program starts on every one of these systems; tests give
// their own.
#pragma once

#include "Win32.h"

struct DpiSources {
    UINT(WINAPI* dpiForWindow)(HWND);
    // GetDpiForMonitor: monitor, MONITOR_DPI_TYPE, horizontal and vertical DPI.
    HRESULT(WINAPI* dpiForMonitor)(HMONITOR, int, UINT*, UINT*);
    UINT (*systemDpi)();
};

// This system's sources, looked up once.
const DpiSources& SystemDpiSources();

// The window's DPI from the first source that has it.
UINT WindowDpi(HWND window, const DpiSources& sources = SystemDpiSources());

// A function of a system DLL by its name, or null where this version of Windows lacks it.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}
