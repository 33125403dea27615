#include "PumpScript.h"

PumpScript& PumpScript::WaitUntil(std::string what, std::function<bool()> ready, int timeoutMs)
{
    steps_.push_back({std::move(what), std::move(ready), nullptr, timeoutMs});
    return *this;
}

PumpScript& PumpScript::Wait(int milliseconds)
{
    steps_.push_back({"", nullptr, nullptr, milliseconds});
    return *this;
}

PumpScript& PumpScript::Do(std::function<void()> action)
{
    steps_.push_back({"", nullptr, std::move(action), 0});
    return *this;
}

PumpScript& PumpScript::EveryPump(std::function<void()> action)
{
    everyPump_ = std::move(action);
    return *this;
}

bool PumpScript::Advance()
{
    while (next_ < steps_.size()) {
        const Step& step = steps_[next_];
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stepBegan_).count();
        if (step.action) {
            step.action();
        } else if (step.ready) {
            if (!step.ready()) {
                if (waited < step.milliseconds) return false;
                failures_.push_back("timed out waiting for " + step.what);
                return true;
            }
        } else if (waited < step.milliseconds) {
            return false;
        }
        ++next_;
        stepBegan_ = Clock::now();
    }
    return true;
}

void PumpScript::Run(RecordingFramework& framework, RecordingPanel& panel)
{
    next_ = 0;
    stepBegan_ = Clock::now();
    framework.onMessage = [&panel](const std::string& text) { panel.NoteMessage(text); };
    framework.onPump = [&] {
        ++pumps_;
        if (everyPump_) everyPump_();
        if (Advance()) CancelFrequencyDisplay(panel);
    };
    RunFrequencyDisplay(panel);
    framework.onPump = nullptr;
}
