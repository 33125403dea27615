// A program started as a child process, its standard output on a pipe read line by line. It
// inherits no descriptor but its standard ones, so no pseudo-terminal or port of the caller's
// stays open in it. It is killed if it still runs when the object goes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The monotonic time just before it was spawned.
    std::int64_t StartedNs() const { return startedNs_; }
    // Its next line without the newline; nothing after the time-out or at end of output.
    std::optional<std::string> ReadLine(int timeoutMs);
    void Signal(int signal);
    // Its exit status once it has exited within timeoutMs (-1 if a signal ended it). A zero
    // time-out only looks.
    std::optional<int> WaitExit(int timeoutMs);
    bool Exited() { return WaitExit(0).has_value(); }
    // Asks it to stop (SIGTERM) and waits up to timeoutMs for it to go.
    void Stop(int timeoutMs);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::int64_t startedNs_ = 0;
    std::optional<int> status_;
    std::string buffered_;
};
