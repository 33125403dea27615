// Test helpers that run the zorvalit-counter executable as a child process
// and read its pseudo-terminal as a receiver would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace zorvalit::counter::testing {

// The counter started with these arguments, stdout on a pipe.
class CounterProcess : public ChildProcess {
public:
    explicit CounterProcess(const std::vector<std::string>& args);
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

}  // namespace zorvalit::counter::testing
