// The counter's main loop: pacing, hang-up, reopen and clean stop; its clock and stop signals.
#include "counter/counter_loop.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <system_error>

namespace zorvalit::counter {

namespace {

constexpr std::int64_t kForever = std::numeric_limits<std::int64_t>::max();
// A hang-up or the end waits for the receiver to read what is queued, since
// closing the pty throws away what it has not read: for as long as it keeps
// reading, and no longer than this after it last read anything.
constexpr std::int64_t kReaderGraceNs = 1'000 * kNsPerMs;
constexpr std::int64_t kReaderCheckNs = 10 * kNsPerMs;

ReadingSource make_source(const Options& options)
{
    if (!options.readings.empty()) return ReadingSource::from_list(options.readings);
    return ReadingSource::random_walk(options.base_hz, options.drift_hz, options.seed);
}

}  // namespace

std::int64_t monotonic_ns()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * kNsPerSecond + now.tv_nsec;
}

SignalWatch::SignalWatch()
{
    sigset_t watched;
    sigemptyset(&watched);
    sigaddset(&watched, SIGINT);
    sigaddset(&watched, SIGTERM);
    sigaddset(&watched, SIGHUP);
    sigaddset(&watched, SIGUSR1);
    if (sigprocmask(SIG_BLOCK, &watched, nullptr) != 0) {
        throw std::system_error(errno, std::generic_category(), "sigprocmask");
    }
    fd_ = signalfd(-1, &watched, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "signalfd");
}

SignalWatch::~SignalWatch() { ::close(fd_); }

bool SignalWatch::take_stop()
{
    signalfd_siginfo info{};
    bool stop = false;
    while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        if (info.ssi_signo == SIGUSR1) {
            started_ = true;
        } else {
            stop = true;
        }
    }
    return stop;
}

Counter::Counter(const Options& options)
    : options_(options),
      log_(options.log_path),
      readings_(make_source(options)),
      faults_(options.faults, options.fault_rate, options.seed)
{
}

int Counter::run()
{
    open_port();
    if (options_.wait_for_usr1 && !wait_until(kForever, true)) return stop();
    next_start_ns_ = monotonic_ns();
    while (!options_.frames || frame_ < *options_.frames) {
        ++frame_;
        for (const Chunk& chunk :
             compose_slot(frame_, readings_.next(), faults_.faults_for(frame_), options_.seed)) {
            if (!send(chunk)) return stop();
        }
        if (options_.hangup_after && frame_ == *options_.hangup_after) {
            if (!wait_for_reader()) return stop();
            hang_up();
            if (!options_.reopen_after_ms) {
                wait_until(kForever);
                return stop();
            }
            if (!wait_until(monotonic_ns() + *options_.reopen_after_ms * kNsPerMs)) return stop();
            open_port();
            next_start_ns_ = monotonic_ns();
        }
    }
    wait_for_reader();
    return stop();
}

void Counter::open_port()
{
    port_.emplace();
    const std::string& path = port_->slave_path();
    // The link is in place before the path is printed, so whoever waits for
    // the line on stdout can open either.
    if (options_.link) {
        if (link_) {
            link_->repoint(path);
        } else {
            link_.emplace(*options_.link, path);
        }
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    log_.write(log_event_line(monotonic_ns(), frame_, "open", path));
}

void Counter::hang_up()
{
    log_.write(log_event_line(monotonic_ns(), frame_, "hangup", "-"));
    port_.reset();
}

int Counter::stop()
{
    if (port_) hang_up();
    link_.reset();
    return 0;
}

// The schedule is absolute, so a counter that fell behind (a busy machine) catches up on the
// normal pauses. A fault's quiet (a silence, the pause after a cut) is kept from the moment the
// last byte was really written: a receiver must see all of it, however late the bytes were.
bool Counter::send(const Chunk& chunk)
{
    if (chunk.bytes.empty()) {
        next_start_ns_ = std::max(next_start_ns_, monotonic_ns()) + chunk.quiet_after_ns.value_or(0);
        return true;
    }
    const std::span<const std::uint8_t> bytes(chunk.bytes);
    if (options_.fast) {
        if (!wait_until(next_start_ns_)) return false;
        write(chunk.kind, bytes);
    } else {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (!wait_until(next_start_ns_ + char_offset_ns(static_cast<std::int64_t>(i)))) return false;
            write(chunk.kind, bytes.subspan(i, 1));
        }
    }
    const std::int64_t normal_gap = options_.frame_period_ns - duration_ns(kFrameSize);
    next_start_ns_ += duration_ns(bytes.size()) + chunk.quiet_after_ns.value_or(normal_gap);
    if (chunk.quiet_after_ns)
        next_start_ns_ = std::max(next_start_ns_, monotonic_ns() + *chunk.quiet_after_ns);
    return true;
}

void Counter::write(std::string_view kind, std::span<const std::uint8_t> bytes)
{
    const std::int64_t now = monotonic_ns();
    const std::size_t written = port_->write_some(bytes);
    log_.write(log_write_line(now, frame_, kind, bytes.first(written), bytes.size() - written));
}

// Waits until the deadline (polling at least once, so a stop request is seen
// even when the schedule runs behind), reading away whatever the receiver
// sends. Returns false as soon as a stop signal arrives.
bool Counter::wait_until(std::int64_t deadline_ns, bool until_started)
{
    pollfd fds[2] = {{signals_.fd(), POLLIN, 0}, {port_ ? port_->master_fd() : -1, POLLIN, 0}};
    while (true) {
        const std::int64_t left = std::max<std::int64_t>(0, deadline_ns - monotonic_ns());
        // time_t and long are 32 bits on armhf; the wait left fits both.
        const timespec timeout{static_cast<time_t>(left / kNsPerSecond),
                               static_cast<long>(left % kNsPerSecond)};
        if (ppoll(fds, 2, deadline_ns == kForever ? nullptr : &timeout, nullptr) < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "ppoll");
        }
        if (fds[0].revents != 0 && signals_.take_stop()) return false;
        if (until_started && signals_.started()) return true;
        if (fds[1].revents & POLLIN) {
            port_->discard_input();
        } else if (fds[1].revents != 0) {
            fds[1].fd = -1;  // hung up or failed: nothing more to read there
        }
        if (monotonic_ns() >= deadline_ns) return true;
    }
}

bool Counter::wait_for_reader()
{
    std::int64_t give_up = monotonic_ns() + kReaderGraceNs;
    std::size_t unread = port_->unread_by_receiver();
    do {
        if (!wait_until(std::min(monotonic_ns() + kReaderCheckNs, give_up))) return false;
        const std::size_t left = port_->unread_by_receiver();
        if (left < unread) give_up = monotonic_ns() + kReaderGraceNs;
        unread = left;
    } while (unread > 0 && monotonic_ns() < give_up);
    return true;
}

std::int64_t Counter::duration_ns(std::size_t bytes) const
{
    return options_.fast ? 0 : char_offset_ns(static_cast<std::int64_t>(bytes));
}

}  // namespace zorvalit::counter
