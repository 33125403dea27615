// Blocks SIGINT, SIGTERM and SIGHUP and hands them over through a signalfd,
// so the counter can wait for a deadline, the receiver and a stop request
// in one poll and end cleanly.
#pragma once

namespace zorvalit::counter {

class SignalWatch {
public:
    SignalWatch();  // throws std::system_error
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Readable once a stop signal has arrived.
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace zorvalit::counter
