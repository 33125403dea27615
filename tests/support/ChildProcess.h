// A child process: a program started with its standard output on a pipe read line by line, or a
// copy of this process that runs a function. Either keeps only its standard descriptors, so no
// pseudo-terminal or port of the caller's stays open in it. It is killed if it still runs when
// the object goes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct ChildOptions {
    // A terminal (the path of a pseudo-terminal's slave side) for its standard input, output and
    // errors, instead of the pipe and the caller's own.
    std::string terminal{};
    // NAME=VALUE settings over the caller's environment.
    std::vector<std::string> environment{};
};

class ChildProcess {
public:
    // Starts the program (looked up on PATH when its name has no slash) with those arguments.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const ChildOptions& options = {});
    // Runs body in a copy of this process, which then exits with body's result: a second copy of
    // a program, with the state this one had, its standard output on the pipe.
    explicit ChildProcess(const std::function<int()>& body);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Its process ID while it has not been reaped, -1 after.
    pid_t Pid() const { return pid_; }
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
    // Makes the pipe of its standard output; returns the end the child writes.
    int OpenOutput();
    bool Reaped();

    pid_t pid_ = -1;
    int output_ = -1;
    std::int64_t startedNs_ = 0;
    std::optional<int> status_;
    std::string buffered_;
};
