// A program the benchmark starts, with its standard output on a pipe read line by line. It is
// killed if it still runs when the object goes.
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
    // Asks it to stop (SIGTERM) and waits up to timeoutMs for it to go.
    void Stop(int timeoutMs);
    // Whether it has exited (it is reaped then).
    bool Exited();

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::int64_t startedNs_ = 0;
    std::string buffered_;
};
