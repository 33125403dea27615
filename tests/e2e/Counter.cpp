#include "Counter.h"

#include <signal.h>

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<std::string> WithLinkAndLog(const TempDir& devices, const std::string& port,
                                        const std::vector<std::string>& options)
{
    std::vector<std::string> all{"--link", devices / port, "--log", devices / (port + ".log")};
    all.insert(all.end(), options.begin(), options.end());
    return all;
}

bool IsEvent(const std::string& kind) { return kind == "open" || kind == "hangup"; }

}  // namespace

Counter::Counter(const TempDir& devices, const std::string& port, const std::vector<std::string>& options)
    : logPath_(devices / (port + ".log")), process_(WithLinkAndLog(devices, port, options))
{
    // The slave's path comes after the link is made.
    if (!process_.read_line(5000)) throw std::runtime_error("zorvalit-counter did not start on " + port);
}

Counter::~Counter()
{
    process_.send_signal(SIGTERM);
    process_.wait_exit(2000);
}

std::vector<Counter::LogLine> Counter::ReadLog() const
{
    std::vector<LogLine> lines;
    std::ifstream log(logPath_);
    std::string text;
    while (std::getline(log, text)) {
        std::istringstream fields(text);
        LogLine line;
        if (fields >> line.ns >> line.frame >> line.kind) lines.push_back(line);
    }
    return lines;
}

int Counter::FramesSent() const
{
    std::set<long long> slots;
    for (const LogLine& line : ReadLog())
        if (!IsEvent(line.kind) && line.kind != "burst") slots.insert(line.frame);
    return static_cast<int>(slots.size());
}

bool Counter::HungUp() const
{
    for (const LogLine& line : ReadLog())
        if (line.kind == "hangup") return true;
    return false;
}

int Counter::LinesOpened() const
{
    int opened = 0;
    for (const LogLine& line : ReadLog()) opened += line.kind == "open";
    return opened;
}
