// The window's DPI comes from the newest source the system has, in order: the window's own, its
// monitor's, the system's; a monitor lookup that fails falls through to the system DPI.
#include <gtest/gtest.h>

#include "WindowDpi.h"

namespace {

HMONITOR askedMonitor = nullptr;
HRESULT monitorResult = S_OK;
UINT monitorDpi = 0;

UINT WINAPI WindowsOwn(HWND) { return 144; }
HRESULT WINAPI MonitorsOwn(HMONITOR monitor, int type, UINT* x, UINT* y)
{
    askedMonitor = monitor;
    EXPECT_EQ(type, 0) << "not the effective DPI";
    *x = *y = monitorDpi;
    return monitorResult;
}
UINT Systems() { return 96; }

struct Case {
    const char* name;
    bool window, monitor;
    HRESULT monitorResult;
    UINT monitorDpi;
    UINT expected;
};

}  // namespace

TEST(WindowDpiTest, TakesTheFirstSourceThatHasIt)
{
    const Case cases[] = {
        {"Windows 10 1607 on", true, true, S_OK, 120, 144},
        {"Windows 8.1, 10 before 1607", false, true, S_OK, 120, 120},
        {"monitor lookup refused", false, true, E_INVALIDARG, 120, 96},
        {"monitor lookup gave no DPI", false, true, S_OK, 0, 96},
        {"Windows 7 and 8", false, false, S_OK, 120, 96},
    };
    const HWND window = GetDesktopWindow();
    for (const Case& c : cases) {
        askedMonitor = nullptr;
        monitorResult = c.monitorResult;
        monitorDpi = c.monitorDpi;
        const DpiSources sources{c.window ? WindowsOwn : nullptr, c.monitor ? MonitorsOwn : nullptr, Systems};
        EXPECT_EQ(WindowDpi(window, sources), c.expected) << c.name;
        if (c.window) {
            EXPECT_EQ(askedMonitor, nullptr) << c.name << ": the monitor was asked as well";
        } else if (c.monitor) {
            EXPECT_EQ(askedMonitor, MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) << c.name;
        }
    }
}

// Wine has every source, as Windows 10 1607 on has: the lookups by name find them.
TEST(WindowDpiTest, FindsTheSystemsSources)
{
    const DpiSources& sources = SystemDpiSources();
    EXPECT_NE(sources.dpiForWindow, nullptr);
    EXPECT_NE(sources.dpiForMonitor, nullptr);
    EXPECT_EQ(WindowDpi(GetDesktopWindow()), sources.systemDpi());
}
