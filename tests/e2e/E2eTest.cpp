#include "E2eTest.h"

CounterLine& E2eTest::StartCounter(const std::string& port, std::vector<std::string> options)
{
    options.insert(options.begin(), {"--fast", "--rate", "10", "--fault", "silence:500@1"});
    counters_.push_back(std::make_unique<CounterLine>(devices, port, options));
    return *counters_.back();
}
