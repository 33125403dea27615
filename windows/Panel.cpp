#include "Panel.h"

#include <commctrl.h>

namespace {

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

}  // namespace

void RegisterPanelClass(HINSTANCE instance)
{
    WNDCLASSEXW panel{};
    panel.cbSize = sizeof panel;
    panel.lpfnWndProc = PanelProc;
    panel.hInstance = instance;
    panel.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panel.lpszClassName = L"TPanel";
    RegisterClassExW(&panel);
}

void SetPanelColour(HWND panel, HBRUSH colour)
{
    SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(colour));
}

void MakeGroupBoxAPanel(HWND box) { SetWindowSubclass(box, GroupBoxProc, 0, 0); }
