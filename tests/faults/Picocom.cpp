#include "Picocom.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A flock lock held by that process on that file, as /proc/locks lists it:
// "1: FLOCK  ADVISORY  WRITE 27454 00:19:3 0 EOF" (device numbers in hexadecimal).
bool HoldsFlock(pid_t pid, const std::string& path)
{
    struct stat file = {};
    if (stat(path.c_str(), &file) != 0) return false;
    char id[64];
    std::snprintf(id, sizeof id, "%02x:%02x:%lu", major(file.st_dev), minor(file.st_dev),
                  static_cast<unsigned long>(file.st_ino));
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, type, mode, access, where;
        long holder = 0;
        if (fields >> number >> type >> mode >> access >> holder >> where && type == "FLOCK" &&
            holder == pid && where == id)
            return true;
    }
    return false;
}

}  // namespace

Picocom::Picocom(const std::string& linePath) : linePath_(linePath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, terminal_.path().c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    std::vector<std::string> args{"picocom", "--noreset", "--quiet", "-b", "2400", linePath};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int error = posix_spawnp(&pid_, "picocom", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start picocom");
    }
    fcntl(terminal_.master(), F_SETFL, fcntl(terminal_.master(), F_GETFL) | O_NONBLOCK);
}

Picocom::~Picocom()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool Picocom::WaitUntilItHoldsTheLine(int milliseconds) const
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!HoldsFlock(pid_, linePath_)) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::optional<int> Picocom::WaitForExit(int milliseconds)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string Picocom::Output()
{
    char chunk[512];
    ssize_t got = 0;
    while ((got = read(terminal_.master(), chunk, sizeof chunk)) > 0)
        output_.append(chunk, static_cast<std::size_t>(got));
    return output_;
}
