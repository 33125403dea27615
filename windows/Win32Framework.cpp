#include "Win32Framework.h"

#include <string>

std::wstring Wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

void Win32Framework::ShowMessage(const std::string& text) { MessageBox(text, "Zorvalit", MB_OK); }

int Win32Framework::MessageBox(const std::string& text, const std::string& caption, int flags)
{
    HWND owner = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : nullptr;
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), static_cast<UINT>(flags));
}

void Win32Framework::ProcessMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Taken here inside a handler: post it again so the outer loop ends too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

void Win32Framework::WaitForMessages(int milliseconds)
{
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    ProcessMessages();
}

void Win32Framework::ShowException(const std::exception& error)
{
    // The window's end may have posted WM_QUIT already, which would close the box at once.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    MessageBoxW(nullptr, Wide(error.what()).c_str(), L"Zorvalit", MB_OK | MB_ICONERROR);
}

// Display and system required for as long as the state lasts (ES_CONTINUOUS), on the thread that
// runs the display; the system drops it when the thread or the process ends.
void Win32Framework::KeepScreenOn(bool keep)
{
    SetThreadExecutionState(keep ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

void Win32Framework::RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
}

// A modal box's loop ends on WM_QUIT and posts it again, so the loops around it end in turn.
void Win32Framework::EndMessageLoop() { PostQuitMessage(0); }

void Win32Framework::Dispatch(MSG& message)
{
    if (mainWindow_ && IsWindow(mainWindow_) && IsDialogMessageW(mainWindow_, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}
