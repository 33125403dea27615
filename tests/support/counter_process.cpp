// The counter as a child process and a receiver on its line, for tests that drive the counter.
#include "counter_process.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace zorvalit::counter::testing {

namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

CounterProcess::CounterProcess(const std::vector<std::string>& args)
    : ChildProcess(ZORVALIT_COUNTER_EXE, args)
{
}

Receiver::Receiver(const std::string& path)
    : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
}

Receiver::~Receiver() { ::close(fd_); }

std::vector<std::uint8_t> Receiver::read(std::size_t count, int timeout_ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        pollfd pfd{fd_, POLLIN, 0};
        if (poll(&pfd, 1, ms_left(deadline)) <= 0) break;
        std::uint8_t chunk[512];
        const ssize_t n = ::read(fd_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (n > 0) {
            bytes.insert(bytes.end(), chunk, chunk + n);
        } else if (n == 0 || errno != EAGAIN) {
            break;
        }
    }
    return bytes;
}

bool Receiver::sees_hangup(int timeout_ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    do {
        pollfd pfd{fd_, POLLIN, 0};
        if (poll(&pfd, 1, ms_left(deadline)) > 0) {
            if (pfd.revents & POLLHUP) return true;
            std::uint8_t chunk[512];
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n == 0 || (n < 0 && errno == EIO)) return true;
        }
    } while (Clock::now() < deadline);
    return false;
}

}  // namespace zorvalit::counter::testing
