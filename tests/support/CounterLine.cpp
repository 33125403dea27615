#include "CounterLine.h"

#include <signal.h>

#include <stdexcept>

namespace {

std::vector<std::string> Arguments(const TempDir& devices, const std::string& port, const std::string& log,
                                   const std::vector<std::string>& options)
{
    std::vector<std::string> args{"--link", devices / port, "--log", log};
    args.insert(args.end(), options.begin(), options.end());
    return args;
}

}  // namespace

CounterLine::CounterLine(const TempDir& devices, const std::string& port,
                         const std::vector<std::string>& options)
    : logPath_(devices / (port + ".log")), process_(Arguments(devices, port, logPath_, options))
{
    // The first line the counter prints (its line's path) comes after the link is in place.
    if (!process_.ReadLine(5000)) throw std::runtime_error("zorvalit-counter did not start on " + port);
}

CounterLine::~CounterLine()
{
    // SIGTERM lets it remove its link; the process object kills it if it does not go.
    if (!Exited()) {
        process_.Signal(SIGTERM);
        WaitForExit(2000);
    }
}

void CounterLine::Start()
{
    if (!Exited()) process_.Signal(SIGUSR1);
}

bool CounterLine::Exited() { return WaitForExit(0); }

bool CounterLine::WaitForExit(int milliseconds)
{
    if (!exited_) exited_ = process_.WaitExit(milliseconds).has_value();
    return exited_;
}
