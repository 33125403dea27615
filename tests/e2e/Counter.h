// zorvalit-counter on a pseudo-terminal of its own, linked into a test's device directory
// under a port name (COM1, ...): the counter a test connects the window to. Its write log
// tells the test what it has sent, when it hung up and when it opened a new line.
#pragma once

#include <string>
#include <vector>

#include "Pty.h"
#include "counter_process.h"

class Counter {
public:
    // Starts the counter with those options and returns once its link is in place.
    Counter(const TempDir& devices, const std::string& port, const std::vector<std::string>& options);
    // Stops it; the link goes with it.
    ~Counter();
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

    // How many frame slots it has begun to write (bursts aside).
    int FramesSent() const;
    // Whether it has closed its pseudo-terminal (the line hung up).
    bool HungUp() const;
    // How many pseudo-terminals it has opened: 2 once it came back after a hang-up.
    int LinesOpened() const;

private:
    struct LogLine {
        long long ns;
        long long frame;
        std::string kind;
    };
    std::vector<LogLine> ReadLog() const;

    std::string logPath_;
    zorvalit::counter::testing::CounterProcess process_;
};
