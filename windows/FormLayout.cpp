#include "FormLayout.h"

#include <commctrl.h>

#include "Panel.h"
#include "Win32Framework.h"
#include "WindowDpi.h"

namespace {

constexpr int ComboVisibleItems = 4;

void AdjustForDpi(RECT& rect, UINT dpi)
{
    // Windows 10 1607 on; before, the frame is the system DPI's, whatever the monitor.
    static const auto adjust = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
        GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    if (adjust)
        adjust(&rect, FormStyle, TRUE, 0, dpi);
    else
        AdjustWindowRectEx(&rect, FormStyle, TRUE, 0);
}

HWND CreateChild(const wchar_t* className, const char* text, DWORD style, DWORD exStyle, HWND parent, UINT id)
{
    return CreateWindowExW(exStyle, className, Wide(text).c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

HFONT CreateFontOfHeight(const char* family, int height, BYTE charset)
{
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       Wide(family).c_str());
}

}  // namespace

void BuildMenus(FormComponents& c)
{
    c.About1 = About1Id;
    c.DisplaytheFrequency1 = DisplaytheFrequency1Id;
    c.MainMenu1 = CreateMenu();
    c.Help1 = CreatePopupMenu();
    AppendMenuW(c.Help1, MF_STRING, c.About1, Wide(FormDesign::About1Caption).c_str());
    AppendMenuW(c.MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(c.Help1),
                Wide(FormDesign::Help1Caption).c_str());
    c.Display1 = CreatePopupMenu();
    AppendMenuW(c.Display1, MF_STRING, c.DisplaytheFrequency1,
                Wide(FormDesign::DisplaytheFrequency1Caption).c_str());
    AppendMenuW(c.MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(c.Display1),
                Wide(FormDesign::Display1Caption).c_str());
}

void BuildControls(HWND window, HBRUSH navy, FormComponents& c)
{
    RegisterPanelClass(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)));
    c.Panel1 = CreateChild(L"TPanel", "", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, window, 0);
    SetPanelColour(c.Panel1, GetSysColorBrush(COLOR_BTNFACE));
    c.GroupBox2 = CreateChild(L"BUTTON", FormDesign::GroupBox2Caption, WS_VISIBLE | BS_GROUPBOX,
                              WS_EX_CONTROLPARENT, c.Panel1, 0);
    MakeGroupBoxAPanel(c.GroupBox2);
    c.CB_COM =
        CreateChild(L"COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                    c.GroupBox2, CB_COMId);
    SendMessageW(c.CB_COM, CB_SETMINVISIBLE, ComboVisibleItems, 0);

    c.ZorvaPanel = CreateChild(L"TPanel", FormDesign::ZorvaPanelCaption, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                               c.Panel1, 0);
    SetPanelColour(c.ZorvaPanel, navy);
    // No prefix: a reading is shown as it came, an '&' included.
    c.ZorvaLabel = CreateChild(L"STATIC", FormDesign::ZorvaLabelCaption, WS_VISIBLE | SS_RIGHT | SS_NOPREFIX,
                               0, c.ZorvaPanel, ZorvaLabelId);
    c.ZorvaCancelButton =
        CreateChild(L"BUTTON", FormDesign::ZorvaCancelButtonCaption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                    0, c.ZorvaPanel, ZorvaCancelButtonId);
}

FormLayout::~FormLayout()
{
    DeleteObject(formFont_);
    DeleteObject(labelFont_);
}

void FormLayout::LayOut(const FormComponents& c, UINT dpi)
{
    const auto scale = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    HFONT oldForm = formFont_;
    HFONT oldLabel = labelFont_;
    formFont_ = CreateFontOfHeight(FormDesign::Font.Name, scale(FormDesign::Font.Height), DEFAULT_CHARSET);
    labelFont_ = CreateFontOfHeight(FormDesign::ZorvaLabelFont.Name, scale(FormDesign::ZorvaLabelFont.Height),
                                    EASTEUROPE_CHARSET);

    const auto place = [&scale](HWND control, Bounds bounds) {
        MoveWindow(control, scale(bounds.Left), scale(bounds.Top), scale(bounds.Width), scale(bounds.Height),
                   TRUE);
    };
    place(c.Panel1, FormDesign::Panel1);
    place(c.GroupBox2, FormDesign::GroupBox2);
    // A drop-down list's window height is that of the list when dropped: room for four items.
    Bounds list = FormDesign::CB_COM;
    list.Height += ComboVisibleItems * FormDesign::CB_COMItemHeight + 2;
    place(c.CB_COM, list);
    place(c.ZorvaPanel, FormDesign::ZorvaPanel);
    place(c.ZorvaLabel, FormDesign::ZorvaLabel);
    place(c.ZorvaCancelButton, FormDesign::ZorvaCancelButton);

    for (HWND control : {c.GroupBox2, c.CB_COM, c.ZorvaCancelButton})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_), TRUE);
    SendMessageW(c.ZorvaLabel, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), TRUE);

    // The closed list's height follows its selection field, whose height comes from the font:
    // correct the field until the box is 21 design pixels high. Measured, not computed, since
    // systems differ in how they count the field's border (wine adds two pixels to what it is told).
    SendMessageW(c.CB_COM, CB_SETITEMHEIGHT, 0, scale(FormDesign::CB_COMItemHeight));
    auto field = static_cast<int>(SendMessageW(c.CB_COM, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT closed;
        GetWindowRect(c.CB_COM, &closed);
        const int error = scale(FormDesign::CB_COM.Height) - (closed.bottom - closed.top);
        if (error == 0) break;
        field += error;
        SendMessageW(c.CB_COM, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }

    DeleteObject(oldForm);
    DeleteObject(oldLabel);
}

RECT FrameFor(UINT dpi)
{
    RECT frame{0, 0, MulDiv(FormDesign::ClientWidth, static_cast<int>(dpi), 96),
               MulDiv(FormDesign::ClientHeight, static_cast<int>(dpi), 96)};
    AdjustForDpi(frame, dpi);
    return frame;
}

void PlaceWindow(HWND window, UINT dpi)
{
    const RECT frame = FrameFor(dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
