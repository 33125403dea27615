#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "Clocks.h"

extern char** environ;

namespace {

constexpr std::int64_t NsPerMs = 1'000'000;

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);

    startedNs_ = MonotonicNs();
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    output_ = pipeFds[0];
    if (error != 0) {
        pid_ = -1;
        close(output_);
        throw std::runtime_error("cannot start " + program);
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close(output_);
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs)
{
    const std::int64_t deadline = MonotonicNs() + timeoutMs * NsPerMs;
    for (;;) {
        if (const auto newline = buffered_.find('\n'); newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const std::int64_t left = (deadline - MonotonicNs()) / NsPerMs;
        pollfd output{output_, POLLIN, 0};
        if (left <= 0 || poll(&output, 1, static_cast<int>(left)) <= 0) return std::nullopt;
        char chunk[256];
        const ssize_t got = read(output_, chunk, sizeof chunk);
        if (got <= 0) return std::nullopt;
        buffered_.append(chunk, static_cast<std::size_t>(got));
    }
}

void ChildProcess::Signal(int signal)
{
    if (pid_ > 0) kill(pid_, signal);
}

std::optional<int> ChildProcess::WaitExit(int timeoutMs)
{
    const std::int64_t deadline = MonotonicNs() + timeoutMs * NsPerMs;
    while (!status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        } else if (MonotonicNs() >= deadline) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return status_;
}

void ChildProcess::Stop(int timeoutMs)
{
    if (Exited()) return;
    Signal(SIGTERM);
    WaitExit(timeoutMs);
}
