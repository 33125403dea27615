#include "DisplayScript.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

#include "MyForm.h"

namespace {

// A condition is looked at in every pump of the display, so that a reading is seen in the turn
// that put it on the label, however soon the next frame replaces it.
constexpr int PollMs = 0;
// How long the display may go on after the last step before the script cancels it.
constexpr qint64 EndGraceMs = 3000;

}  // namespace

DisplayScript::DisplayScript(TMyForm& form, std::function<void()> atStart)
    : form_(form), atStart_(std::move(atStart))
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
}

DisplayScript& DisplayScript::WaitUntil(std::string what, std::function<bool()> condition, int timeoutMs)
{
    steps_.push_back({std::move(what), std::move(condition), nullptr, timeoutMs, 0});
    return *this;
}

DisplayScript& DisplayScript::Wait(int milliseconds)
{
    steps_.push_back(
        {"a wait of " + std::to_string(milliseconds) + " ms", nullptr, nullptr, 0, milliseconds});
    return *this;
}

DisplayScript& DisplayScript::Do(std::function<void()> action)
{
    steps_.push_back({"an action", nullptr, std::move(action), 0, 0});
    return *this;
}

DisplayScript& DisplayScript::DoLater(std::function<void()> action)
{
    return Do([action = std::move(action)] { QTimer::singleShot(0, action); });
}

DisplayScript& DisplayScript::ClickCancel()
{
    return Do([this] { QTest::mouseClick(form_.ZorvaCancelButton, Qt::LeftButton); });
}

void DisplayScript::Run()
{
    next_ = 0;
    sinceStep_.start();
    timer_.start(0);
    form_.DisplaytheFrequency1->trigger();
    timer_.stop();
    if (next_ < steps_.size()) ADD_FAILURE() << "the display ended before " << steps_[next_].what;
}

void DisplayScript::GiveUp(const std::string& why)
{
    ADD_FAILURE() << why;
    next_ = steps_.size();
    sinceStep_.restart();
    form_.ZorvaCancelButtonClick();
}

void DisplayScript::Check()
{
    if (atStart_) std::exchange(atStart_, nullptr)();
    // Steps that are ready run one after the other in this same pump, so an action sees the
    // display just as the step before it found it.
    while (next_ < steps_.size()) {
        const Step& step = steps_[next_];
        const qint64 elapsed = sinceStep_.elapsed();
        if (step.waitMs > elapsed) {
            timer_.start(static_cast<int>(step.waitMs - elapsed));
            return;
        }
        if (step.ready && !step.ready()) {
            if (elapsed > step.timeoutMs) GiveUp("gave up waiting for " + step.what);
            timer_.start(PollMs);
            return;
        }
        ++next_;
        sinceStep_.restart();
        if (step.action) step.action();
    }
    if (sinceStep_.elapsed() > EndGraceMs) GiveUp("the display did not end after the last step");
    timer_.start(500);
}
