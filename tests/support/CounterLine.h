// The stand-in counter zorvalit-counter running as a child process, its line linked into a
// device directory under a port name (COM1, ...) and its writes logged there as <port>.log: the
// device at the other end of the program's port. Stopped (and its link removed) when the object
// goes.
#pragma once

#include <string>
#include <vector>

#include "CounterLog.h"
#include "TempDir.h"
#include "counter_process.h"

class CounterLine {
public:
    // Starts the counter with those options and returns once its first line is linked.
    CounterLine(const TempDir& devices, const std::string& port, const std::vector<std::string>& options);
    ~CounterLine();
    CounterLine(const CounterLine&) = delete;
    CounterLine& operator=(const CounterLine&) = delete;

    // Lets a counter started with --wait-for-usr1 begin sending.
    void Start();
    // Whether it has ended by itself (after --frames); never waits.
    bool Exited();
    // Waits up to that long for it to end by itself.
    bool WaitForExit(int milliseconds);
    CounterLog Log() const { return CounterLog::Read(logPath_); }

private:
    std::string logPath_;
    zorvalit::counter::testing::CounterProcess process_;
    bool exited_ = false;
};
