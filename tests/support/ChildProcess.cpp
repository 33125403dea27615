#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "Clocks.h"
#include "PollUntil.h"

extern char** environ;

namespace {

constexpr std::int64_t NsPerMs = 1'000'000;

// The caller's environment with those settings put over it.
std::vector<std::string> Environment(const std::vector<std::string>& settings)
{
    std::vector<std::string> all = settings;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string setting = *entry;
        const std::string name = setting.substr(0, setting.find('=') + 1);
        bool overridden = false;
        for (const std::string& own : settings) overridden = overridden || own.rfind(name, 0) == 0;
        if (!overridden) all.push_back(setting);
    }
    return all;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

int ChildProcess::OpenOutput()
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    output_ = pipeFds[0];
    return pipeFds[1];
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const ChildOptions& options)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int childEnd = -1;
    if (options.terminal.empty()) {
        childEnd = OpenOutput();
        posix_spawn_file_actions_adddup2(&actions, childEnd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, options.terminal.c_str(), O_RDWR | O_NOCTTY,
                                         0);
        posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDERR_FILENO);
    }
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = Environment(options.environment);
    const std::vector<char*> argv = Pointers(argStrings);
    const std::vector<char*> envp = Pointers(envStrings);

    startedNs_ = MonotonicNs();
    const int error = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (childEnd >= 0) close(childEnd);
    if (error != 0) {
        pid_ = -1;
        if (output_ >= 0) close(output_);
        throw std::runtime_error("cannot start " + program);
    }
}

ChildProcess::ChildProcess(const std::function<int()>& body)
{
    const int childEnd = OpenOutput();
    // What is buffered now would otherwise be written by both processes.
    std::fflush(nullptr);
    startedNs_ = MonotonicNs();
    pid_ = fork();
    if (pid_ == 0) {
        dup2(childEnd, STDOUT_FILENO);
        closefrom(STDERR_FILENO + 1);
        int status = 127;
        try {
            status = body();
        } catch (...) {
            // Nothing of the caller's may unwind in the copy.
        }
        std::fflush(nullptr);
        _exit(status);
    }
    close(childEnd);
    if (pid_ < 0) {
        close(output_);
        throw std::runtime_error("fork failed");
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
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

bool ChildProcess::Reaped()
{
    int status = 0;
    if (!status_ && waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return status_.has_value();
}

std::optional<int> ChildProcess::WaitExit(int timeoutMs)
{
    PollUntil([this] { return Reaped(); }, timeoutMs, 5);
    return status_;
}

void ChildProcess::Stop(int timeoutMs)
{
    if (Exited()) return;
    Signal(SIGTERM);
    WaitExit(timeoutMs);
}
