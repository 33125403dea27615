// The real zorvalit executable, started offscreen where no serial device exists but a
// pseudo-terminal linked as COM1: it opens and configures its port, keeps its choice in the
// file, and on SIGTERM puts the port back and ends with status 0.
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "Files.h"
#include "Pty.h"
#include "TempDir.h"

using namespace std::chrono_literals;

namespace {

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

speed_t LineSpeed(int master)
{
    termios attributes{};
    tcgetattr(master, &attributes);
    return cfgetospeed(&attributes);
}

class Program {
public:
    Program(const std::string& varLib, const std::string& com1)
    {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const std::string link = "COM1=" + com1;
            execl("/bin/sh", "sh", ISOLATED_DEV, "--var-lib", varLib.c_str(), link.c_str(), "--",
                  ZORVALIT_EXE, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Program()
    {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    // The exit status once the program ended within the limit, or -1.
    int WaitForExit(std::chrono::milliseconds limit)
    {
        Eventually(
            [this] {
                int raw = 0;
                if (waitpid(pid_, &raw, WNOHANG) == pid_)
                    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
                return status_ >= 0;
            },
            limit);
        return status_;
    }
    void Signal(int number) const { kill(pid_, number); }

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

}  // namespace

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0) GTEST_SKIP() << "isolating /dev needs root";
    }
    TempDir varLib;
    Pty com1;
};

TEST_F(ProgramTest, OpensItsPortKeepsItsChoiceAndPutsThePortBackOnSigterm)
{
    termios before{};
    tcgetattr(com1.master(), &before);
    Program program(varLib.path(), com1.path());
    ASSERT_TRUE(Eventually([&] { return LineSpeed(com1.master()) == B2400; })) << "COM1 was not configured";
    EXPECT_EQ(Contents(varLib / "zorvalit.cfg"), "Serialport:COM1\n");
    ASSERT_NE(program.WaitForExit(300ms), 77) << "could not isolate /dev";

    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(5000ms), 0);
    EXPECT_EQ(LineSpeed(com1.master()), cfgetospeed(&before)) << "the port's own settings are back";
}

TEST_F(ProgramTest, SigtermEndsItEvenWhileItsStartupMessageIsUp)
{
    std::ofstream(varLib / "zorvalit.cfg") << "Serialport:COM3\n";  // no COM3: a message box comes up
    Program program(varLib.path(), com1.path());
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(program.WaitForExit(0ms), -1) << "ended by itself";
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitForExit(5000ms), 0);
    EXPECT_EQ(Contents(varLib / "zorvalit.cfg"), "Serialport:COM3\n");
}
