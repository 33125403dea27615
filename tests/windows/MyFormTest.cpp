// The native window as Win32 reports it back: geometry, styles, captions, menus, fonts and
// colours, and what its controls do when used (port list, display, Cancel, closing, session end),
// the thread's execution state among it.
// Needs a display: run under wine with an X server.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeSerialDevice.h"
#include "MyForm.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "Program.h"
#include "RecordingFramework.h"
#include "TempDir.h"
#include "Win32Framework.h"

namespace {

std::wstring Text(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

// A control's rectangle in its parent's client area.
RECT PlaceInParent(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The thread's execution state, read by setting one and putting the old one back.
EXECUTION_STATE ExecutionState()
{
    const EXECUTION_STATE state = SetThreadExecutionState(ES_CONTINUOUS);
    SetThreadExecutionState(state | ES_CONTINUOUS);
    return state;
}

LOGFONTW FontOf(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

class MyFormTest : public ::testing::Test {
protected:
    MyFormTest()
    {
        ConfigFilePath = dir / "zorvalit.cfg";
        UseSerialDevice(&device);
    }
    ~MyFormTest() override
    {
        form.reset();
        // The window's end posts WM_QUIT; take it, so the next test's pumping is not cut short.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        UseSerialDevice(nullptr);
    }
    void Open()
    {
        form = std::make_unique<TMyForm>(GetModuleHandleW(nullptr));
        form->Show(SW_SHOWNOACTIVATE);
        framework.SetMainWindow(form->Handle);
        dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    }
    int Scale(int pixels) const { return MulDiv(pixels, dpi, 96); }
    void ExpectPlace(HWND control, int left, int top, int width, int height) const
    {
        const RECT rect = PlaceInParent(control);
        EXPECT_EQ(rect.left, Scale(left));
        EXPECT_EQ(rect.top, Scale(top));
        EXPECT_EQ(rect.right - rect.left, Scale(width));
        EXPECT_EQ(rect.bottom - rect.top, Scale(height));
    }
    std::string StoredChoice() const
    {
        std::ifstream file(ConfigFilePath);
        std::string line;
        std::getline(file, line);
        return line;
    }

    TempDir dir;
    FakeSerialDevice device;
    Recording<Win32Framework> framework;
    std::unique_ptr<TMyForm> form;
    int dpi = 96;
};

TEST_F(MyFormTest, WindowIsFixedSizeCentredAndCaptioned)
{
    Open();
    EXPECT_EQ(Text(form->Handle), L"Zorvalit");
    const auto style = GetWindowLongW(form->Handle, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    RECT client;
    GetClientRect(form->Handle, &client);
    EXPECT_EQ(client.right, Scale(592));
    EXPECT_EQ(client.bottom, Scale(240));
    RECT frame;
    GetWindowRect(form->Handle, &frame);
    EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
    EXPECT_EQ(SendMessageW(form->Handle, WM_GETICON, ICON_BIG, 0) != 0 ||
                  GetClassLongPtrW(form->Handle, GCLP_HICON) != 0,
              true);
}

TEST_F(MyFormTest, HelpMenuStandsBeforeDisplay)
{
    Open();
    HMENU bar = GetMenu(form->Handle);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), L"&Help");
    EXPECT_EQ(MenuText(bar, 1), L"&Display");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), L"&About");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 0), L"Display the Frequency");
    SendMessageW(form->Handle, WM_COMMAND, GetMenuItemID(GetSubMenu(bar, 0), 0), 0);
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].caption, "About");
}

TEST_F(MyFormTest, ControlsSitInTheirParentsWithTheirFonts)
{
    Open();
    ExpectPlace(form->Panel1, 0, 0, 592, 240);
    ExpectPlace(form->GroupBox2, 496, 184, 92, 50);
    ExpectPlace(form->CB_COM, 10, 20, 71, 21);
    ExpectPlace(form->ZorvaPanel, 5, 10, 582, 160);
    ExpectPlace(form->ZorvaLabel, 5, 8, 572, 97);
    ExpectPlace(form->ZorvaCancelButton, 200, 125, 182, 25);
    EXPECT_EQ(GetParent(form->CB_COM), form->GroupBox2);
    EXPECT_EQ(Text(form->GroupBox2), L"Serial Port:");
    EXPECT_EQ(Text(form->ZorvaCancelButton), L"Cancel");
    EXPECT_EQ(Text(form->ZorvaLabel), L"10.032.768 Hz");
    EXPECT_FALSE(IsWindowVisible(form->ZorvaPanel));
    EXPECT_EQ(GetWindowLongW(form->CB_COM, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_TRUE(GetWindowLongW(form->ZorvaLabel, GWL_STYLE) & SS_RIGHT);

    const LOGFONTW label = FontOf(form->ZorvaLabel);
    EXPECT_STREQ(label.lfFaceName, L"Comic Sans MS");
    EXPECT_EQ(label.lfHeight, Scale(-80));
    EXPECT_EQ(label.lfCharSet, EASTEUROPE_CHARSET);
    for (HWND control : {form->GroupBox2, form->CB_COM, form->ZorvaCancelButton}) {
        const LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, Scale(-11));
    }

    HDC dc = GetDC(form->ZorvaLabel);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(form->ZorvaPanel, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(form->ZorvaLabel)));
    EXPECT_EQ(GetTextColor(dc), RGB(0x00, 0xFF, 0x00));
    EXPECT_EQ(GetBkColor(dc), RGB(0x00, 0x00, 0x80));
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof fill, &fill);
    EXPECT_EQ(fill.lbColor, RGB(0x00, 0x00, 0x80));
    ReleaseDC(form->ZorvaLabel, dc);
}

TEST_F(MyFormTest, AtAnotherScaleTheClientAreaStaysExact)
{
    Open();
    RECT frame;
    GetWindowRect(form->Handle, &frame);
    SIZE size{};
    ASSERT_TRUE(SendMessageW(form->Handle, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, frame.right - frame.left);
    EXPECT_EQ(size.cy, frame.bottom - frame.top);
    // At twice the scale the frame grows by its borders, menu and caption only.
    ASSERT_TRUE(SendMessageW(form->Handle, WM_GETDPISCALEDSIZE, 2 * dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_GE(size.cx - (frame.right - frame.left), Scale(592));
    EXPECT_LT(size.cx - (frame.right - frame.left), Scale(592) + Scale(40));
    EXPECT_GE(size.cy - (frame.bottom - frame.top), Scale(240));
    EXPECT_LT(size.cy - (frame.bottom - frame.top), Scale(240) + Scale(80));
}

TEST_F(MyFormTest, ThePortListTakesNoKeysWhileMinimisedAndTheFocusComesBackOnRestore)
{
    Open();
    SetFocus(nullptr);
    SendMessageW(form->Handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, TRUE), 0);
    EXPECT_NE(GetFocus(), form->CB_COM);
    // Restored, the active window gives the port list its focus back.
    SetActiveWindow(form->Handle);
    SetFocus(nullptr);
    SendMessageW(form->Handle, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(GetFocus(), form->CB_COM);
}

TEST_F(MyFormTest, TabGoesFromThePortListToCancel)
{
    Open();
    ShowWindow(form->ZorvaPanel, SW_SHOW);
    EXPECT_EQ(GetNextDlgTabItem(form->Handle, form->CB_COM, FALSE), form->ZorvaCancelButton);
}

TEST_F(MyFormTest, StoredChoiceIsSelectedWithoutCountingAsAPick)
{
    std::ofstream(ConfigFilePath) << "Serialport:COM3\n";
    Open();
    EXPECT_EQ(SendMessageW(form->CB_COM, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(form->CB_COM, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(device.calls.front(), "CreateFile COM3");
    EXPECT_EQ(std::count(device.calls.begin(), device.calls.end(), "CreateFile COM3"), 1);
}

TEST_F(MyFormTest, UsersPickMovesThePortAndIsKept)
{
    Open();
    SendMessageW(form->CB_COM, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendMessageW(form->CB_COM, CB_GETCURSEL, 0, 0), 1);
    EXPECT_NE(std::find(device.calls.begin(), device.calls.end(), "CreateFile COM2"), device.calls.end());
    EXPECT_EQ(StoredChoice(), "Serialport:COM2");
}

TEST_F(MyFormTest, DisplayShowsDecodedReadingsUntilCancel)
{
    Open();
    device.Send(std::string("   ") +
                "\x8a"
                "12.345 kHz  " +
                "9C\r\n");
    std::wstring shown;
    EXECUTION_STATE kept = 0;
    framework.onPump = [&] {
        shown = Text(form->ZorvaLabel);
        kept = ExecutionState();
        EXPECT_TRUE(IsWindowVisible(form->ZorvaPanel));
        SendMessageW(form->ZorvaCancelButton, BM_CLICK, 0, 0);
    };
    form->DisplaytheFrequency1Click();
    EXPECT_EQ(shown,
              L"\u0160"
              L"12.345 kHz  ");
    EXPECT_FALSE(IsWindowVisible(form->ZorvaPanel));
    EXPECT_TRUE(framework.messages.empty() && framework.boxes.empty());
    // The screen and the machine stay on while it runs, and the display gives that back.
    EXPECT_EQ(kept, static_cast<EXECUTION_STATE>(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED));
    EXPECT_EQ(ExecutionState(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
}

TEST_F(MyFormTest, ClosingDuringADisplayEndsItAndTheProgram)
{
    Open();
    framework.onPump = [&] {
        if (form->Handle) PostMessageW(form->Handle, WM_CLOSE, 0, 0);
    };
    form->DisplaytheFrequency1Click();
    EXPECT_EQ(form->Handle, nullptr);
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(device.calls.back(), "CloseHandle");
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MyFormTest, SessionEndPutsThePortBack)
{
    Open();
    ASSERT_EQ(PortOpen, 1);
    SendMessageW(form->Handle, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(PortOpen, 1);
    SendMessageW(form->Handle, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(PortOpen, 0);
    EXPECT_EQ(device.calls.back(), "CloseHandle");
}

// The program's run with this window: the end of the session while the first start-up box is up
// ("Can't Write ConfigFile!") ends it, with no second box (the port's) and no window.
TEST_F(MyFormTest, SessionEndAtAStartUpBoxEndsTheRun)
{
    ConfigFilePath = dir / "missing/zorvalit.cfg";
    device.failCreate = true;
    framework.onMessage = [](const std::string&) {
        SendMessageW(FindWindowW(L"TMyForm", nullptr), WM_ENDSESSION, TRUE, 0);
    };
    bool shown = false;
    EXPECT_EQ(
        RunProgram([] { return std::make_unique<TMyForm>(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE); },
                   [&](MainForm&) { shown = true; }),
        0);
    EXPECT_EQ(framework.messages, std::vector<std::string>{"Can't Write ConfigFile!"});
    EXPECT_FALSE(shown);
    EXPECT_EQ(PortOpen, 0);
}

// A handler's exception ends the message loop and reaches the run, which shows it with the port
// given back.
TEST_F(MyFormTest, ExceptionFromAHandlerEndsTheRunWithThePortBack)
{
    framework.onMessage = [](const std::string&) { throw std::runtime_error("the framework failed"); };
    EXPECT_EQ(
        RunProgram([] { return std::make_unique<TMyForm>(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE); },
                   [](MainForm& form) {
                       PostMessageW(static_cast<TMyForm&>(form).Handle, WM_COMMAND, About1Id, 0);
                   }),
        0);
    EXPECT_EQ(framework.exceptions, std::vector<std::string>{"the framework failed"});
    EXPECT_EQ(PortOpen, 0);
}

}  // namespace
