#include "E2eTest.h"

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
