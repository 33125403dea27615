// The services of the application framework that the program's logic calls: modal message
// boxes, pumping the window's messages, and showing an exception. The logic calls ShowMessage
// and the Application object; the implementation behind them (Qt in the program, a recorder in
// tests) is chosen with UseFramework.
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
    virtual void ShowException(const std::exception& error) = 0;
};

void UseFramework(Framework* framework);

void ShowMessage(const std::string& text);

// The application object's services, called as Application->ProcessMessages() and so on.
class TApplication {
public:
    void ProcessMessages();
    void WaitForMessages(int milliseconds);
    int MessageBox(const char* text, const char* caption, int flags);
    void ShowException(const std::exception& error);
};

extern TApplication* const Application;
