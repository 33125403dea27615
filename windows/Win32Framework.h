// The framework's services realised with plain Win32: MessageBoxW for the modal boxes, a
// PeekMessageW pump with dialog navigation (Tab, Enter) for ProcessMessages, the thread's
// execution state to keep the screen on, and the program's message loop, which WM_QUIT ends (a
// modal box's loop too).
#pragma once

#include <exception>
#include <string>

#include "Framework.h"
#include "Win32.h"

class Win32Framework : public Framework {
public:
    // The window that owns message boxes and gets dialog navigation; nullptr before it is shown.
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    void ProcessMessages() override;
    void WaitForMessages(int milliseconds) override;
    void RunMessageLoop() override;
    void EndMessageLoop() override;
    void ShowException(const std::exception& error) override;
    void KeepScreenOn(bool keep) override;

private:
    // Translates and dispatches one message, unless dialog navigation took it.
    void Dispatch(MSG& message);

    HWND mainWindow_ = nullptr;
};

// The program's 8-bit texts (in the system code page, as the A functions take them) as UTF-16.
std::wstring Wide(const std::string& text);
