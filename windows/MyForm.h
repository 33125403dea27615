// The program's one window in plain Win32: the "Serial Port:" list, the navy display panel with
// its large label and Cancel button, and the Help and Display menus. Positions and fonts are
// those of a 96 DPI design, scaled to the window's DPI and laid out again when it changes. Its
// constructor loads the port choice and opens the port; closing it closes the port and ends any
// running display, and the end of the Windows session puts the port back.
#pragma once

#include "MainForm.h"
#include "Win32.h"

#include <cstdint>

// A design colour (0xRRGGBB) as a Windows COLORREF (0x00BBGGRR).
constexpr COLORREF ColorOf(std::uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class TMyForm : public MainForm {
public:
    explicit TMyForm(HINSTANCE instance);
    ~TMyForm() override;
    TMyForm(const TMyForm&) = delete;
    TMyForm& operator=(const TMyForm&) = delete;

    // Shows the window, centred on the primary screen.
    void Show(int how);

    HWND Handle = nullptr;
    HWND Panel1 = nullptr;
    HWND GroupBox2 = nullptr;
    HWND CB_COM = nullptr;
    HMENU MainMenu1 = nullptr;
    HMENU Help1 = nullptr;
    HMENU Display1 = nullptr;
    HWND ZorvaPanel = nullptr;
    HWND ZorvaLabel = nullptr;
    HWND ZorvaCancelButton = nullptr;

    // The display panel, as the display loop drives it.
    void SetPanelVisible(bool visible) override;
    void FocusCancelButton() override;
    void SetLabelCaption(const char* text) override;
    void RepaintPanel() override;

protected:
    void AddPort(const char* name) override;
    void SelectPort(int index) override;
    int SelectedPort() const override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Respond(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildComponents(HINSTANCE instance);
    // Places every control and makes the fonts for the window's DPI.
    void LayOut();
    // The window's outer rectangle, menu and frame included, for a client area laid out at that DPI.
    RECT FrameFor(UINT dpi) const;
    void PlaceWindow();
    // Gives the keyboard focus back to the control that had it, or to the port list.
    void RestoreFocus();
    int Scale(int pixels) const;
    // Drops the handles once the window is gone, so late calls from the display do nothing.
    void Forget();

    UINT dpi_ = 96;
    HFONT formFont_ = nullptr;
    HFONT labelFont_ = nullptr;
    HBRUSH navyBrush_ = nullptr;
    HWND lastFocus_ = nullptr;
};

extern TMyForm* MyForm;
