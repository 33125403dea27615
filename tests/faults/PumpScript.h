// A user's part in a display, played at the display's message pumps one step at a time: wait
// for something, wait a while, act. After the last step the script presses Cancel. A condition
// that does not come in time is noted as a failure and ends the display too, so a test never
// hangs on a display that stopped working.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "RecordingFramework.h"
#include "RecordingPanel.h"

class PumpScript {
public:
    PumpScript& WaitUntil(std::string what, std::function<bool()> ready, int timeoutMs = 5000);
    PumpScript& Wait(int milliseconds);
    PumpScript& Do(std::function<void()> action);
    // Called at every pump while the script runs, before its current step.
    PumpScript& EveryPump(std::function<void()> action);

    // Runs a display on the panel with the script at its pumps; returns once the display ended.
    void Run(RecordingFramework& framework, RecordingPanel& panel);

    const std::vector<std::string>& Failures() const { return failures_; }
    // Pumps (message handling and waits for messages) during the display.
    long Pumps() const { return pumps_; }

private:
    using Clock = std::chrono::steady_clock;
    struct Step {
        std::string what;  // empty unless the step waits for a condition
        std::function<bool()> ready;
        std::function<void()> action;
        int milliseconds = 0;
    };
    // Plays the steps that are due; true once the script is over.
    bool Advance();

    std::vector<Step> steps_;
    std::function<void()> everyPump_;
    std::size_t next_ = 0;
    Clock::time_point stepBegan_;
    std::vector<std::string> failures_;
    long pumps_ = 0;
};
