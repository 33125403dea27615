#include "WindowDpi.h"

namespace {

// MDT_EFFECTIVE_DPI: the DPI the user's scale setting gives the monitor.
constexpr int EffectiveDpi = 0;

UINT ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

const DpiSources& SystemDpiSources()
{
    // shcore.dll is not loaded with the program: it is loaded from the system folder alone, never
    // from the program's or the current folder, and kept for the process's life.
    static const DpiSources sources{
        SystemFunction<decltype(DpiSources::dpiForWindow)>(GetModuleHandleW(L"user32.dll"),
                                                           "GetDpiForWindow"),
        SystemFunction<decltype(DpiSources::dpiForMonitor)>(
            LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor"),
        ScreenDpi};
    return sources;
}

UINT WindowDpi(HWND window, const DpiSources& sources)
{
    if (sources.dpiForWindow) return sources.dpiForWindow(window);
    if (sources.dpiForMonitor) {
        UINT x = 0, y = 0;
        const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(sources.dpiForMonitor(monitor, EffectiveDpi, &x, &y)) && x > 0) return x;
    }
    return sources.systemDpi();
}
