// Child-process, receiver and temporary-directory helpers for tests that drive the counter.
#include "counter_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace zorvalit::counter::testing {

namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

CounterProcess::CounterProcess(const std::vector<std::string>& args) {
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    // Nothing else of the test's (pseudo-terminals above all) stays open in the counter.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    std::vector<std::string> argv_strings{ZORVALIT_COUNTER_EXE};
    argv_strings.insert(argv_strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv_strings) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    stdout_ = pipe_fds[0];
    if (error != 0) throw std::runtime_error("cannot start " + argv_strings[0]);
}

CounterProcess::~CounterProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    ::close(stdout_);
}

std::optional<std::string> CounterProcess::read_line(int timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    while (true) {
        if (const auto newline = buffered_.find('\n'); newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        pollfd pfd{stdout_, POLLIN, 0};
        if (poll(&pfd, 1, ms_left(deadline)) <= 0) return std::nullopt;
        char chunk[256];
        const ssize_t n = ::read(stdout_, chunk, sizeof chunk);
        if (n <= 0) return std::nullopt;
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
}

void CounterProcess::send_signal(int signal) { ::kill(pid_, signal); }

std::optional<int> CounterProcess::wait_exit(int timeout_ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        // A zero time-out only looks: callers ask at every turn of a display loop.
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

Receiver::Receiver(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
}

Receiver::~Receiver() { ::close(fd_); }

std::vector<std::uint8_t> Receiver::read(std::size_t count, int timeout_ms) {
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

bool Receiver::sees_hangup(int timeout_ms) {
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

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorvalit-counter-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

}  // namespace zorvalit::counter::testing
