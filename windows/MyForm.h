// The program's one window in plain Win32: the "Serial Port:" list, the navy display panel with
// its large label and Cancel button, and the Help and Display menus (built by FormLayout). It
// routes the window's messages to the handlers, keeps the keyboard focus as a dialog does, lays
// itself out again when its DPI changes, and takes the end of the Windows session as the
// program's stop request. Its constructor loads the port choice and opens the port; closing it
// closes the port and ends any running display.
#pragma once

#include "FormLayout.h"
#include "MainForm.h"
#include "Win32.h"

// The components (Panel1, CB_COM, ZorvaLabel, ...) are its members through FormComponents.
class TMyForm : public FormComponents, public MainForm {
public:
    // `showCommand`: how Show shows the window, as WinMain was told.
    explicit TMyForm(HINSTANCE instance, int showCommand = SW_SHOWNORMAL);
    ~TMyForm() override;
    TMyForm(const TMyForm&) = delete;
    TMyForm& operator=(const TMyForm&) = delete;

    void Show() override { Show(showCommand_); }
    void Show(int how);

    HWND Handle = nullptr;

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
    // Gives the keyboard focus back to the control that had it, or to the port list.
    void RestoreFocus();
    // Drops the handles once the window is gone, so late calls from the display do nothing.
    void Forget();

    int showCommand_;
    UINT dpi_ = 96;
    FormLayout layout_;
    HBRUSH navyBrush_ = nullptr;
    HWND lastFocus_ = nullptr;
};

extern TMyForm* MyForm;
