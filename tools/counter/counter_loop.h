// The running counter: opens the pty (and --link), then sends frame slot
// after slot on an absolute schedule, injecting faults, hanging up and
// reopening as the options ask, until --frames is reached or a stop signal
// arrives. Also its clock and the stop signals it watches.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "counter/command_line.h"
#include "counter/device_link.h"
#include "counter/faults.h"
#include "counter/frames.h"
#include "counter/log_file.h"
#include "counter/pty_port.h"

namespace zorvalit::counter {

// CLOCK_MONOTONIC in nanoseconds, the clock for pacing and for --log times.
std::int64_t monotonic_ns();

// Blocks SIGINT, SIGTERM and SIGHUP, and SIGUSR1 (the start that
// --wait-for-usr1 waits for), and hands them over through a signalfd, so the
// counter can wait for a deadline, the receiver, a start and a stop request in
// one poll and end cleanly.
class SignalWatch {
public:
    SignalWatch();  // throws std::system_error
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Readable once a signal has arrived.
    int fd() const { return fd_; }
    // Takes the signals that arrived: true if one asks to stop; notes a start.
    bool take_stop();
    bool started() const { return started_; }

private:
    int fd_ = -1;
    bool started_ = false;
};

class Counter {
public:
    explicit Counter(const Options& options);

    // Runs to the end and returns the exit status; throws on runtime errors.
    int run();

private:
    void open_port();
    void hang_up();
    int stop();
    bool send(const Chunk& chunk);
    void write(std::string_view kind, std::span<const std::uint8_t> bytes);
    // Until the deadline, or with `until_started` until a start arrives too.
    bool wait_until(std::int64_t deadline_ns, bool until_started = false);
    bool wait_for_reader();
    std::int64_t duration_ns(std::size_t bytes) const;

    const Options& options_;
    SignalWatch signals_;
    LogFile log_;
    ReadingSource readings_;
    FaultPlan faults_;
    std::optional<DeviceLink> link_;
    std::optional<PtyPort> port_;
    std::uint64_t frame_ = 0;         // last frame slot begun
    std::int64_t next_start_ns_ = 0;  // when the next chunk goes on the line
};

}  // namespace zorvalit::counter
