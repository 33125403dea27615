// A stand-in for the framework's services that shows nothing: message boxes, exceptions and
// requests to keep the screen on are recorded, and a test can act at each message pump, at each
// box and as the message loop starts, as a user would while the program runs. The pumping (and
// the screen keeping) is a toolkit's: Recording<QtFramework> or Recording<Win32Framework> handle
// the window's real messages; RecordingFramework has no window to pump.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Framework.h"

// What a recording framework keeps, whatever pumps its messages.
struct FrameworkRecord {
    struct Box {
        std::string text, caption;
        int flags;
    };
    // Forgets the boxes shown so far.
    void Forget()
    {
        messages.clear();
        boxes.clear();
    }

    std::vector<std::string> messages;  // ShowMessage's texts
    std::vector<Box> boxes;             // MessageBox's
    std::vector<int> waits;             // WaitForMessages' milliseconds
    std::vector<std::string> exceptions;
    std::vector<bool> screenKeptOn;  // KeepScreenOn's requests
    int pumps = 0;                   // ProcessMessages calls
    int loops = 0;                   // RunMessageLoop calls
    int loopEnds = 0;                // EndMessageLoop calls
    // Called after every pump and every wait for messages.
    std::function<void()> onPump;
    // Called as the message loop starts: on a program without a window, the user's whole session.
    std::function<void()> onLoop;
    // Called with the text of every box while it would be up, and of every exception shown.
    std::function<void(const std::string&)> onMessage, onException;
};

template <class Toolkit>
class Recording : public Toolkit, public FrameworkRecord {
public:
    template <class... Args>
    explicit Recording(Args&&... args) : Toolkit(std::forward<Args>(args)...)
    {
        UseFramework(this);
    }
    ~Recording() override { UseFramework(nullptr); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    void ShowMessage(const std::string& text) override
    {
        messages.push_back(text);
        if (onMessage) onMessage(text);
    }
    int MessageBox(const std::string& text, const std::string& caption, int flags) override
    {
        boxes.push_back({text, caption, flags});
        if (onMessage) onMessage(text);
        return 1;  // IDOK
    }
    void ProcessMessages() override
    {
        ++pumps;
        Toolkit::ProcessMessages();
        if (onPump) onPump();
    }
    void WaitForMessages(int milliseconds) override
    {
        waits.push_back(milliseconds);
        Toolkit::WaitForMessages(milliseconds);
        if (onPump) onPump();
    }
    void RunMessageLoop() override
    {
        ++loops;
        if (onLoop) onLoop();
        Toolkit::RunMessageLoop();
    }
    void EndMessageLoop() override
    {
        ++loopEnds;
        Toolkit::EndMessageLoop();
    }
    void ShowException(const std::exception& error) override
    {
        exceptions.push_back(error.what());
        if (onException) onException(error.what());
    }
    void KeepScreenOn(bool keep) override
    {
        screenKeptOn.push_back(keep);
        Toolkit::KeepScreenOn(keep);
    }
};

// The pumps of a program without a window: nothing comes, so handling messages returns at once
// and so does a wait for them, or, in RealTime, the wait takes its whole time, as an event loop
// with nothing to do would.
class NoWindow : public Framework {
public:
    enum Clock { Instant, RealTime };
    explicit NoWindow(Clock clock = Instant) : clock_(clock) {}

    void ProcessMessages() override {}
    void RunMessageLoop() override {}
    void EndMessageLoop() override {}
    void KeepScreenOn(bool) override {}
    void WaitForMessages(int milliseconds) override
    {
        if (clock_ == RealTime) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

private:
    Clock clock_;
};

using RecordingFramework = Recording<NoWindow>;
