// Drives a running display from inside its message pumps, as a user at the window would: each
// step waits for something (or for a while) and then acts. A step that waits too long fails
// the test and cancels the display, and a display still running after the last step is
// cancelled too, so a fault ends the test instead of hanging it.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class TMyForm;

class DisplayScript {
public:
    // atStart runs at the display's first pump, once its port is open.
    explicit DisplayScript(TMyForm& form, std::function<void()> atStart = {});

    // Waits until the condition holds, for at most timeoutMs.
    DisplayScript& WaitUntil(std::string what, std::function<bool()> condition, int timeoutMs = 3000);
    // Lets the display run on for that long, waking it only when the time is up.
    DisplayScript& Wait(int milliseconds);
    DisplayScript& Do(std::function<void()> action);
    // Posts the action to run from the event loop and goes on at once: for actions that only
    // return when what they start has ended (a second display, a modal box).
    DisplayScript& DoLater(std::function<void()> action);
    // Clicks the panel's Cancel button with the mouse.
    DisplayScript& ClickCancel();

    // Starts a display from the Display menu, runs the steps, and returns when it has ended.
    void Run();

private:
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> action;
        int timeoutMs = 0;
        int waitMs = 0;
    };
    void Check();
    void GiveUp(const std::string& why);

    TMyForm& form_;
    std::function<void()> atStart_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QElapsedTimer sinceStep_;
    QTimer timer_;
};
