#include "MyForm.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "FormDesign.h"
#include "MainForm.h"
#include "Win32Framework.h"
#include "WindowDpi.h"
#include "Windows1250.h"

TMyForm* MyForm = nullptr;

namespace {

// Command identifiers of the menu items and controls.
enum : UINT {
    About1Id = 101,
    DisplaytheFrequency1Id = 102,
    CB_COMId = 201,
    ZorvaLabelId = 202,
    ZorvaCancelButtonId = 203,
};

constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
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

// A panel's background is its own colour, given as a brush in its user data. It passes its
// controls' notifications and colour requests to the window, which handles them all.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(panel, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 reinterpret_cast<HBRUSH>(GetWindowLongPtrW(panel, GWLP_USERDATA)));
        return 1;
    }
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    default: return DefWindowProcW(panel, message, wParam, lParam);
    }
}

// The group box passes on the list's notifications, which a plain group box would drop, and
// paints its inside, which its parent leaves to it.
LRESULT CALLBACK GroupBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND) return SendMessageW(GetAncestor(box, GA_ROOT), message, wParam, lParam);
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(box, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance, WNDPROC formProc)
{
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hIcon = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 32, 32, 0));
    form.hIconSm = static_cast<HICON>(LoadImageW(
        instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    form.lpszClassName = L"TMyForm";
    RegisterClassExW(&form);

    WNDCLASSEXW panel{};
    panel.cbSize = sizeof panel;
    panel.lpfnWndProc = PanelProc;
    panel.hInstance = instance;
    panel.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panel.lpszClassName = L"TPanel";
    RegisterClassExW(&panel);
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
                 UINT id)
{
    return CreateWindowExW(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
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

TMyForm::TMyForm(HINSTANCE instance)
{
    RegisterClasses(instance, WindowProc);
    navyBrush_ = CreateSolidBrush(ColorOf(clNavy));
    BuildComponents(instance);
    StartUp();
}

TMyForm::~TMyForm()
{
    if (Handle) DestroyWindow(Handle);
    DeleteObject(formFont_);
    DeleteObject(labelFont_);
    DeleteObject(navyBrush_);
}

void TMyForm::BuildComponents(HINSTANCE instance)
{
    MainMenu1 = CreateMenu();
    Help1 = CreatePopupMenu();
    AppendMenuW(Help1, MF_STRING, About1Id, Wide(FormDesign::About1Caption).c_str());
    AppendMenuW(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(Help1),
                Wide(FormDesign::Help1Caption).c_str());
    Display1 = CreatePopupMenu();
    AppendMenuW(Display1, MF_STRING, DisplaytheFrequency1Id,
                Wide(FormDesign::DisplaytheFrequency1Caption).c_str());
    AppendMenuW(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(Display1),
                Wide(FormDesign::Display1Caption).c_str());

    // Made on the primary screen, so that its DPI is the one the window opens with.
    CreateWindowExW(0, L"TMyForm", Wide(FormDesign::Caption).c_str(), FormStyle, 0, 0, 100, 100, nullptr,
                    MainMenu1, instance, this);
    if (!Handle) throw std::runtime_error("Cannot create the main window");
    dpi_ = WindowDpi(Handle);

    Panel1 = CreateChild(L"TPanel", L"", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Handle, 0);
    SetWindowLongPtrW(Panel1, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
    GroupBox2 = CreateChild(L"BUTTON", Wide(FormDesign::GroupBox2Caption).c_str(), WS_VISIBLE | BS_GROUPBOX,
                            WS_EX_CONTROLPARENT, Panel1, 0);
    SetWindowSubclass(GroupBox2, GroupBoxProc, 0, 0);
    CB_COM = CreateChild(L"COMBOBOX", L"", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST,
                         0, GroupBox2, CB_COMId);
    SendMessageW(CB_COM, CB_SETMINVISIBLE, ComboVisibleItems, 0);

    ZorvaPanel = CreateChild(L"TPanel", Wide(FormDesign::ZorvaPanelCaption).c_str(), WS_CLIPCHILDREN,
                             WS_EX_CONTROLPARENT, Panel1, 0);
    SetWindowLongPtrW(ZorvaPanel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(navyBrush_));
    // No prefix: a reading is shown as it came, an '&' included.
    ZorvaLabel = CreateChild(L"STATIC", Wide(FormDesign::ZorvaLabelCaption).c_str(),
                             WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, 0, ZorvaPanel, ZorvaLabelId);
    ZorvaCancelButton =
        CreateChild(L"BUTTON", Wide(FormDesign::ZorvaCancelButtonCaption).c_str(),
                    WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, ZorvaPanel, ZorvaCancelButtonId);

    LayOut();
    PlaceWindow();
}

int TMyForm::Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

void TMyForm::LayOut()
{
    HFONT oldForm = formFont_;
    HFONT oldLabel = labelFont_;
    formFont_ = CreateFontOfHeight(FormDesign::Font.Name, Scale(FormDesign::Font.Height), DEFAULT_CHARSET);
    labelFont_ = CreateFontOfHeight(FormDesign::ZorvaLabelFont.Name, Scale(FormDesign::ZorvaLabelFont.Height),
                                    EASTEUROPE_CHARSET);

    const auto place = [this](HWND control, Bounds bounds) {
        MoveWindow(control, Scale(bounds.Left), Scale(bounds.Top), Scale(bounds.Width), Scale(bounds.Height),
                   TRUE);
    };
    place(Panel1, FormDesign::Panel1);
    place(GroupBox2, FormDesign::GroupBox2);
    // A drop-down list's window height is that of the list when dropped: room for four items.
    Bounds list = FormDesign::CB_COM;
    list.Height += ComboVisibleItems * FormDesign::CB_COMItemHeight + 2;
    place(CB_COM, list);
    place(ZorvaPanel, FormDesign::ZorvaPanel);
    place(ZorvaLabel, FormDesign::ZorvaLabel);
    place(ZorvaCancelButton, FormDesign::ZorvaCancelButton);

    for (HWND control : {GroupBox2, CB_COM, ZorvaCancelButton})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_), TRUE);
    SendMessageW(ZorvaLabel, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), TRUE);

    // The closed list's height follows its selection field, whose height comes from the font:
    // correct the field until the box is 21 design pixels high. Measured, not computed, since
    // systems differ in how they count the field's border (wine adds two pixels to what it is told).
    SendMessageW(CB_COM, CB_SETITEMHEIGHT, 0, Scale(FormDesign::CB_COMItemHeight));
    auto field = static_cast<int>(SendMessageW(CB_COM, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT closed;
        GetWindowRect(CB_COM, &closed);
        const int error = Scale(FormDesign::CB_COM.Height) - (closed.bottom - closed.top);
        if (error == 0) break;
        field += error;
        SendMessageW(CB_COM, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }

    DeleteObject(oldForm);
    DeleteObject(oldLabel);
}

RECT TMyForm::FrameFor(UINT dpi) const
{
    RECT frame{0, 0, MulDiv(FormDesign::ClientWidth, static_cast<int>(dpi), 96),
               MulDiv(FormDesign::ClientHeight, static_cast<int>(dpi), 96)};
    AdjustForDpi(frame, dpi);
    return frame;
}

void TMyForm::RestoreFocus() { SetFocus(lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : CB_COM); }

void TMyForm::PlaceWindow()
{
    const RECT frame = FrameFor(dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(Handle, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(Handle, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMyForm::Show(int how)
{
    ShowWindow(Handle, how);
    UpdateWindow(Handle);
    SetFocus(CB_COM);
}

void TMyForm::Forget()
{
    Handle = Panel1 = GroupBox2 = CB_COM = ZorvaPanel = ZorvaLabel = ZorvaCancelButton = nullptr;
    lastFocus_ = nullptr;
}

LRESULT CALLBACK TMyForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<TMyForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->Handle = window;
    }
    auto* form = reinterpret_cast<TMyForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return form->Respond(message, wParam, lParam);
    } catch (...) {
        StopFrequencyDisplay();
        EndWithException(std::current_exception());
        return 0;
    }
}

LRESULT TMyForm::Respond(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Handle;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // Enter, from dialog navigation: a focused button is pressed, as in a dialog.
            if (HWND focus = GetFocus(); focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
                SendMessageW(focus, BM_CLICK, 0, 0);
            return 0;
        case About1Id: About1Click(); return 0;
        case DisplaytheFrequency1Id: DisplaytheFrequency1Click(); return 0;
        case CB_COMId:
            if (HIWORD(wParam) == CBN_SELCHANGE) CB_COMChange();
            return 0;
        case ZorvaCancelButtonId:
            if (HIWORD(wParam) == BN_CLICKED) ZorvaCancelButtonClick();
            return 0;
        default: return 0;
        }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == ZorvaLabel) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, ColorOf(clLime));
            SetBkColor(dc, ColorOf(clNavy));
            return reinterpret_cast<LRESULT>(navyBrush_);
        }
        break;
    case WM_ACTIVATE:
        // Keyboard focus goes back where it was, as in a dialog. Not while minimised: keys typed
        // then are meant for something else, and must not move the port list.
        if (LOWORD(wParam) == WA_INACTIVE)
            lastFocus_ = GetFocus();
        else if (HIWORD(wParam) == 0)
            RestoreFocus();
        return 0;
    case WM_SIZE:
        // Restored from minimised while active: the focus comes back now.
        if (wParam == SIZE_RESTORED && GetActiveWindow() == window && !IsChild(window, GetFocus()))
            RestoreFocus();
        break;
    case WM_GETDPISCALEDSIZE: {
        // The size the layout gives at the new DPI, so that a move to a screen of another scale
        // keeps the client area exact instead of scaling the whole frame.
        const RECT frame = FrameFor(static_cast<UINT>(wParam));
        *reinterpret_cast<SIZE*>(lParam) = SIZE{frame.right - frame.left, frame.bottom - frame.top};
        return TRUE;
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        LayOut();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        FormClose();
        DestroyWindow(window);
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // The session ends and the process may be stopped any moment now: put the port back. A
        // cancelled shutdown (wParam FALSE) leaves the program running as it was.
        if (wParam) FormClose();
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_NCDESTROY:
        Forget();
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TMyForm::AddPort(const char* name)
{
    SendMessageA(CB_COM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

// CB_SETCURSEL sends no CBN_SELCHANGE, so the program's selection is not taken for the user's pick.
void TMyForm::SelectPort(int index) { SendMessageW(CB_COM, CB_SETCURSEL, index, 0); }

int TMyForm::SelectedPort() const { return static_cast<int>(SendMessageW(CB_COM, CB_GETCURSEL, 0, 0)); }

void TMyForm::SetPanelVisible(bool visible)
{
    if (!ZorvaPanel) return;
    // Focus must not stay on the hidden Cancel button, where keys would go nowhere.
    if (!visible && IsChild(ZorvaPanel, GetFocus())) SetFocus(CB_COM);
    ShowWindow(ZorvaPanel, visible ? SW_SHOW : SW_HIDE);
}

void TMyForm::FocusCancelButton()
{
    if (ZorvaCancelButton) SetFocus(ZorvaCancelButton);
}

void TMyForm::SetLabelCaption(const char* text)
{
    if (!ZorvaLabel) return;
    const std::u16string caption = DecodeWindows1250(text);
    SetWindowTextW(ZorvaLabel, reinterpret_cast<const wchar_t*>(caption.c_str()));
}

void TMyForm::RepaintPanel()
{
    if (ZorvaPanel)
        RedrawWindow(ZorvaPanel, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
