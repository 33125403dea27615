// A user's part in a display, played at the display's message pumps one step at a time: wait
// for something, wait a while, act. A condition that does not come in time is a failure and ends
// the display; so is a display still running a while after the last step; so a test never hangs
// on a display that stopped working. Played on a bare panel, the script presses Cancel after its
// last step; on a window, its steps end the display as a user would (the Cancel button clicked).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "RecordingFramework.h"
#include "RecordingPanel.h"

class PumpScript {
public:
    // A script for the display on a panel: Run(framework, panel).
    PumpScript() = default;
    // A script for a display that `start` runs (returning once it ended) and `cancel` stops, at
    // the pumps of that framework: Run(). Each failure is also passed to `report` as it happens.
    PumpScript(FrameworkRecord& framework, std::function<void()> start, std::function<void()> cancel,
               std::function<void(const std::string&)> report = {});

    PumpScript& WaitUntil(std::string what, std::function<bool()> ready, int timeoutMs = 5000);
    PumpScript& Wait(int milliseconds);
    PumpScript& Do(std::function<void()> action);
    // Called at every pump while the script runs, before its current step.
    PumpScript& EveryPump(std::function<void()> action);

    // Runs the display with the script at its pumps; returns once the display ended.
    void Run();
    // Runs a frequency display on the panel, which notes the message boxes it raises, and presses
    // Cancel after the last step.
    void Run(FrameworkRecord& framework, RecordingPanel& panel);

    const std::vector<std::string>& Failures() const { return failures_; }
    // Pumps (message handling and waits for messages) during the display.
    long Pumps() const { return pumps_; }

private:
    using Clock = std::chrono::steady_clock;
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> action;
        int milliseconds = 0;  // how long it waits, or may wait for its condition
    };
    // Plays the steps that are due.
    void Advance();
    void Fail(const std::string& why);
    long MsInStep() const;

    FrameworkRecord* framework_ = nullptr;
    std::function<void()> start_, cancel_;
    std::function<void(const std::string&)> report_;
    std::vector<Step> steps_;
    std::function<void()> everyPump_;
    std::size_t next_ = 0;
    bool advancing_ = false;
    Clock::time_point stepBegan_;
    std::vector<std::string> failures_;
    long pumps_ = 0;
};
