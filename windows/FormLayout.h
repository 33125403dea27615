// The window's components in plain Win32, built from the form design: the menus, the panels, the
// "Serial Port:" box and list, the display label and its Cancel button; their fonts and places,
// those of the 96 DPI design scaled to the window's DPI; and the window's frame for that client
// area, centred on the primary screen.
#pragma once

#include "FormDesign.h"
#include "Win32.h"

// A design colour as a Windows COLORREF.
constexpr COLORREF ColorOf(Colour colour) { return RGB(colour.Red, colour.Green, colour.Blue); }

// Child windows and menus; the two menu items are their command identifiers.
using FormComponents = FormParts<HWND, HWND, HWND, HMENU, HMENU, UINT, HWND, HWND>;

// The command identifiers of the menu items and controls, as their notifications carry them.
enum : UINT {
    About1Id = 101,
    DisplaytheFrequency1Id = 102,
    CB_COMId = 201,
    ZorvaLabelId = 202,
    ZorvaCancelButtonId = 203,
};

// Fixed size, with a system menu and a minimise box but no maximise box.
inline constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The menu bar with its two menus, and the items' command identifiers.
void BuildMenus(FormComponents& parts);
// The controls as children of the window, not placed yet; the display panel is filled with `navy`.
void BuildControls(HWND window, HBRUSH navy, FormComponents& parts);

// The fonts of the controls, made anew for each DPI the window is laid out at.
class FormLayout {
public:
    FormLayout() = default;
    ~FormLayout();
    FormLayout(const FormLayout&) = delete;
    FormLayout& operator=(const FormLayout&) = delete;

    // Places every control and gives it its font, for that DPI.
    void LayOut(const FormComponents& parts, UINT dpi);

private:
    HFONT formFont_ = nullptr;
    HFONT labelFont_ = nullptr;
};

// The window's outer rectangle, menu and frame included, for a client area laid out at that DPI.
RECT FrameFor(UINT dpi);
// Sizes the window for its DPI and centres it on the primary screen.
void PlaceWindow(HWND window, UINT dpi);
