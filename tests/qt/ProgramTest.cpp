// The real zorvalit executable, started offscreen where no serial device exists but a
// pseudo-terminal linked as COM1: it opens and configures its port, keeps its choice in the
// file, and on SIGTERM puts the port back and ends with status 0.
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "Files.h"
#include "PollUntil.h"
#include "Pty.h"
#include "TempDir.h"

using namespace std::chrono_literals;

namespace {

speed_t LineSpeed(int master)
{
    termios attributes{};
    tcgetattr(master, &attributes);
    return cfgetospeed(&attributes);
}

// The program offscreen, where /dev holds no serial device but COM1, a link to that terminal.
class Program : public ChildProcess {
public:
    Program(const std::string& varLib, const std::string& com1)
        : ChildProcess("/bin/sh", {ISOLATED_DEV, "--var-lib", varLib, "COM1=" + com1, "--", ZORVALIT_EXE},
                       {.environment = {"QT_QPA_PLATFORM=offscreen"}})
    {
    }
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
    ASSERT_TRUE(PollUntil([&] { return LineSpeed(com1.master()) == B2400; }, 5000))
        << "COM1 was not configured";
    EXPECT_EQ(Contents(varLib / "zorvalit.cfg"), "Serialport:COM1\n");
    ASSERT_NE(program.WaitExit(300), 77) << "could not isolate /dev";

    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitExit(5000), 0);
    EXPECT_EQ(LineSpeed(com1.master()), cfgetospeed(&before)) << "the port's own settings are back";
}

TEST_F(ProgramTest, SigtermEndsItEvenWhileItsStartupMessageIsUp)
{
    std::ofstream(varLib / "zorvalit.cfg") << "Serialport:COM3\n";  // no COM3: a message box comes up
    Program program(varLib.path(), com1.path());
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(program.WaitExit(0), std::nullopt) << "ended by itself";
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitExit(5000), 0);
    EXPECT_EQ(Contents(varLib / "zorvalit.cfg"), "Serialport:COM3\n");
}
