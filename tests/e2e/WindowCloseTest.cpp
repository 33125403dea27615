// Closing the window while a display runs ends the program: a helper program starts a display
// and closes its window; it must then exit by itself.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "E2eTest.h"

extern char** environ;

namespace {

// Runs the helper and returns its exit status, or nothing when it had to be killed.
std::optional<int> RunToExit(const std::vector<std::string>& args, int timeoutMs)
{
    std::vector<std::string> strings{DISPLAY_THEN_CLOSE_EXE};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return std::nullopt;

    QElapsedTimer waited;
    waited.start();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (waited.elapsed() > timeoutMs) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

}  // namespace

class ClosingTheWindow : public E2eTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingTheWindow, DuringADisplayEndsTheProgram)
{
    const bool withCounter = GetParam();
    if (withCounter) {
        StartCounter("COM1", {"--readings", "12345678"});
        ReleaseCounters();
    }
    const std::optional<int> status = RunToExit({devices.path(), devices / "zorvalit.cfg", "1200"}, 5000);
    ASSERT_TRUE(status.has_value()) << "still running 5 s after it started, or killed by a signal";
    EXPECT_EQ(*status, 0);
}

INSTANTIATE_TEST_SUITE_P(Line, ClosingTheWindow, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "CounterOnThePort" : "NoPort"; });
