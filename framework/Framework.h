// The services of the application framework that the program's logic calls: modal message
// boxes, pumping the window's messages, the message loop, and showing an exception. The logic
// calls ShowMessage and the Application object; the implementation behind them (Qt or Win32 in
// the program, a recorder in tests) is chosen with UseFramework.
//
// The Application object also keeps what every toolkit's run needs alike: an exception that a
// window handler let escape is carried out of the message loop (no toolkit lets one unwind
// through its own frames) and rethrown by Run, and once the program was asked to terminate it
// shows no further box.
#pragma once

#include <exception>
#include <string>

class Framework {
public:
    virtual ~Framework() = default;
    // A modal box captioned "Zorvalit" with the text and one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A modal box with the text and caption; flags 0: one OK button, no icon.
    virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
    // Handles every window message waiting now, then returns.
    virtual void ProcessMessages() = 0;
    // Handles window messages as they arrive for up to that many milliseconds, returning early
    // once something was handled.
    virtual void WaitForMessages(int milliseconds) = 0;
    // Handles messages until the main window has closed or EndMessageLoop was called.
    virtual void RunMessageLoop() = 0;
    // Makes the message loop, and the loop of any modal box that is open, end at their next turn.
    virtual void EndMessageLoop() = 0;
    virtual void ShowException(const std::exception& error) = 0;

    // true: asks the desktop to keep the screen from blanking, dimming or locking on idle and the
    // machine from going to sleep on idle, until called with false. Called with true and false in
    // turn, never twice alike. Returns at once, whatever the desktop answers (or later refuses):
    // a desktop that cannot keep the screen on changes nothing else.
    virtual void KeepScreenOn(bool keep) = 0;
};

void UseFramework(Framework* framework);

// Shows nothing once the program was asked to terminate.
void ShowMessage(const std::string& text);
// What a display calls through to the framework's KeepScreenOn.
void KeepScreenOn(bool keep);

// The application object's services, called as Application->ProcessMessages() and so on.
class TApplication {
public:
    void ProcessMessages();
    void WaitForMessages(int milliseconds);
    // The message loop, until the main window closes; then rethrows an exception that a handler
    // let escape meanwhile (HandleException).
    void Run();
    // Shows nothing once the program was asked to terminate; returns 0 then.
    int MessageBox(const char* text, const char* caption, int flags);
    void ShowException(const std::exception& error);

    // Keeps the first exception that a handler let escape for Run to rethrow, and ends the loop.
    void HandleException(std::exception_ptr error);
    // Asks the program to end: the message loop and any open box end, and no box is shown again.
    void Terminate();
    bool Terminated() const { return terminated_; }

private:
    std::exception_ptr pending_;
    bool terminated_ = false;
};

extern TApplication* const Application;
