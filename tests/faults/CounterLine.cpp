#include "CounterLine.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

// The first line the counter prints (its line's path) comes after the link is in place.
bool FirstLineArrives(int output, int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    char c = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{output, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        if (read(output, &c, 1) != 1) return false;
        if (c == '\n') return true;
    }
    return false;
}

}  // namespace

CounterLine::CounterLine(const TempDir& devices, const std::vector<std::string>& options)
    : logPath_(devices / "COM1.log")
{
    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    // Nothing else of the test's (pseudo-terminals above all) stays open in the counter.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    std::vector<std::string> args{ZORVALIT_COUNTER_EXE, "--link", devices / "COM1", "--log", logPath_};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe[1]);
    output_ = pipe[0];
    if (error != 0) {
        pid_ = -1;
        close(output_);
        throw std::runtime_error("cannot start zorvalit-counter");
    }
    if (!FirstLineArrives(output_, 5000)) {
        Stop();
        throw std::runtime_error("zorvalit-counter did not start");
    }
}

CounterLine::~CounterLine() { Stop(); }

void CounterLine::Stop()
{
    if (pid_ > 0) {
        // SIGTERM lets it remove its link; SIGKILL if it does not go.
        kill(pid_, SIGTERM);
        if (!WaitForExit(2000)) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    if (output_ >= 0) close(output_);
    output_ = -1;
}

bool CounterLine::Exited()
{
    if (pid_ <= 0) return true;
    if (waitpid(pid_, nullptr, WNOHANG) != pid_) return false;
    pid_ = -1;
    return true;
}

bool CounterLine::WaitForExit(int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!Exited()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
