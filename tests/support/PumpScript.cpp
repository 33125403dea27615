#include "PumpScript.h"

#include <utility>

namespace {

// How long a display may go on after the last step before the script gives up on it.
constexpr long EndGraceMs = 3000;

}  // namespace

PumpScript::PumpScript(FrameworkRecord& framework, std::function<void()> start, std::function<void()> cancel,
                       std::function<void(const std::string&)> report)
    : framework_(&framework), start_(std::move(start)), cancel_(std::move(cancel)), report_(std::move(report))
{
}

PumpScript& PumpScript::WaitUntil(std::string what, std::function<bool()> ready, int timeoutMs)
{
    steps_.push_back({std::move(what), std::move(ready), nullptr, timeoutMs});
    return *this;
}

PumpScript& PumpScript::Wait(int milliseconds)
{
    steps_.push_back({"a wait of " + std::to_string(milliseconds) + " ms", nullptr, nullptr, milliseconds});
    return *this;
}

PumpScript& PumpScript::Do(std::function<void()> action)
{
    steps_.push_back({"an action", nullptr, std::move(action), 0});
    return *this;
}

PumpScript& PumpScript::EveryPump(std::function<void()> action)
{
    everyPump_ = std::move(action);
    return *this;
}

long PumpScript::MsInStep() const
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stepBegan_).count());
}

void PumpScript::Fail(const std::string& why)
{
    failures_.push_back(why);
    if (report_) report_(why);
    next_ = steps_.size();
    stepBegan_ = Clock::now();
    cancel_();
}

void PumpScript::Advance()
{
    // Steps that are due run one after the other in this same pump, so an action sees the
    // display just as the step before it found it.
    while (next_ < steps_.size()) {
        const Step& step = steps_[next_];
        if (step.ready) {
            if (!step.ready()) {
                if (MsInStep() >= step.milliseconds) Fail("timed out waiting for " + step.what);
                return;
            }
        } else if (!step.action && MsInStep() < step.milliseconds) {
            return;
        }
        ++next_;
        stepBegan_ = Clock::now();
        if (step.action) step.action();
    }
    if (MsInStep() > EndGraceMs) Fail("the display did not end after the last step");
}

void PumpScript::Run()
{
    next_ = 0;
    stepBegan_ = Clock::now();
    framework_->onPump = [this] {
        ++pumps_;
        if (everyPump_) everyPump_();
        // An action that pumps itself (one that runs a second display) holds the script until
        // it returns: such actions are posted to the event loop instead.
        if (advancing_) return;
        advancing_ = true;
        Advance();
        advancing_ = false;
    };
    start_();
    framework_->onPump = nullptr;
    if (next_ < steps_.size()) {
        failures_.push_back("the display ended before " + steps_[next_].what);
        if (report_) report_(failures_.back());
    }
}

void PumpScript::Run(FrameworkRecord& framework, RecordingPanel& panel)
{
    framework_ = &framework;
    start_ = [&panel] { RunFrequencyDisplay(panel); };
    cancel_ = [&panel] { CancelFrequencyDisplay(panel); };
    Do(cancel_);
    const std::function<void(const std::string&)> before = framework.onMessage;
    framework.onMessage = [&panel, &before](const std::string& text) {
        panel.NoteMessage(text);
        if (before) before(text);
    };
    Run();
    framework.onMessage = before;
}
