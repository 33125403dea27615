#include "E2eTest.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "MyForm.h"

CounterLine& E2eTest::StartCounter(const std::string& port, std::vector<std::string> options)
{
    options.insert(options.begin(), {"--fast", "--rate", "10", "--wait-for-usr1"});
    counters_.push_back(std::make_unique<CounterLine>(devices, port, options));
    return *counters_.back();
}

void E2eTest::ReleaseCounters()
{
    for (const auto& counter : counters_) counter->Start();
}

PumpScript E2eTest::Display(TMyForm& form)
{
    PumpScript script(
        framework, [&form] { form.DisplaytheFrequency1->trigger(); },
        [&form] { form.ZorvaCancelButtonClick(); },
        [](const std::string& failure) { ADD_FAILURE() << failure; });
    script.Do([this] { ReleaseCounters(); });
    return script;
}

std::function<void()> E2eTest::ClickCancel(TMyForm& form)
{
    return [&form] { QTest::mouseClick(form.ZorvaCancelButton, Qt::LeftButton); };
}

std::function<void()> E2eTest::Later(std::function<void()> action)
{
    return [action = std::move(action)] { QTimer::singleShot(0, action); };
}
