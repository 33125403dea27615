// The framework's services realised with plain Win32: MessageBoxW for the modal boxes, a
// PeekMessageW pump with dialog navigation (Tab, Enter) for ProcessMessages, and the program's
// message loop. An exception that escapes a window procedure is carried out to the loop, which
// rethrows it, so the entry point can show it.
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
    void ShowException(const std::exception& error) override;

    // Handles messages until WM_QUIT; then rethrows an exception that a handler let escape.
    void RunMessageLoop();

private:
    // Translates and dispatches one message, unless dialog navigation took it.
    void Dispatch(MSG& message);

    HWND mainWindow_ = nullptr;
};

// Called by a window procedure that caught an exception: keeps it for RunMessageLoop to rethrow
// and ends the message loop, since a C++ exception must not unwind through user32.
void EndWithException(std::exception_ptr error);

// The program's 8-bit texts (in the system code page, as the A functions take them) as UTF-16.
std::wstring Wide(const std::string& text);
