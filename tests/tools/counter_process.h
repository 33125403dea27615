// Test helpers that run the zorvalit-counter executable as a child process
// and read its pseudo-terminal as a receiver would.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorvalit::counter::testing {

class CounterProcess {
public:
    // Starts the counter with these arguments, stdout on a pipe.
    explicit CounterProcess(const std::vector<std::string>& args);
    // Kills it if it still runs.
    ~CounterProcess();
    CounterProcess(const CounterProcess&) = delete;
    CounterProcess& operator=(const CounterProcess&) = delete;

    // The next line on its stdout without the newline; nullopt after timeout or EOF.
    std::optional<std::string> read_line(int timeout_ms);
    void send_signal(int signal);
    // Its exit status once it has exited within timeout_ms; -1 if killed by a signal.
    std::optional<int> wait_exit(int timeout_ms);

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string buffered_;
};

// A pty slave opened as a receiver (non-blocking, closed on destruction).
class Receiver {
public:
    explicit Receiver(const std::string& path);
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    int fd() const { return fd_; }
    // Reads until count bytes have arrived, the line hangs up, or timeout_ms passes.
    std::vector<std::uint8_t> read(std::size_t count, int timeout_ms);
    // True once a read reports the hang-up (EOF, EIO or POLLHUP) within timeout_ms.
    bool sees_hangup(int timeout_ms);

private:
    int fd_ = -1;
};

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

}  // namespace zorvalit::counter::testing
