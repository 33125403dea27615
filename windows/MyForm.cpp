#include "MyForm.h"

#include <stdexcept>
#include <string>

#include "Program.h"
#include "Win32Framework.h"
#include "WindowDpi.h"
#include "Windows1250.h"

TMyForm* MyForm = nullptr;

TMyForm::TMyForm(HINSTANCE instance, int showCommand) : showCommand_(showCommand)
{
    MyForm = this;
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = WindowProc;
    form.hInstance = instance;
    form.hIcon = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 32, 32, 0));
    form.hIconSm = static_cast<HICON>(LoadImageW(
        instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    form.lpszClassName = L"TMyForm";
    RegisterClassExW(&form);

    navyBrush_ = CreateSolidBrush(ColorOf(clNavy));
    BuildMenus(*this);
    // Made on the primary screen, so that its DPI is the one the window opens with.
    CreateWindowExW(0, L"TMyForm", Wide(FormDesign::Caption).c_str(), FormStyle, 0, 0, 100, 100, nullptr,
                    MainMenu1, instance, this);
    if (!Handle) throw std::runtime_error("Cannot create the main window");
    dpi_ = WindowDpi(Handle);
    BuildControls(Handle, navyBrush_, *this);
    layout_.LayOut(*this, dpi_);
    PlaceWindow(Handle, dpi_);
    StartUp();
}

TMyForm::~TMyForm()
{
    if (Handle) DestroyWindow(Handle);
    DeleteObject(navyBrush_);
    if (MyForm == this) MyForm = nullptr;
}

void TMyForm::Show(int how)
{
    ShowWindow(Handle, how);
    UpdateWindow(Handle);
    SetFocus(CB_COM);
}

void TMyForm::RestoreFocus() { SetFocus(lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : CB_COM); }

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
        // A C++ exception must not unwind through user32: the run rethrows it after the loop.
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
        layout_.LayOut(*this, dpi_);
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
        // The session ends and the process may be stopped any moment now: the program's stop
        // request puts the port back at once. A cancelled shutdown (wParam FALSE) leaves the
        // program running as it was.
        if (wParam) RequestStop();
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
