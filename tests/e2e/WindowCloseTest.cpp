// Closing the window while a display runs ends the program: a helper program starts a display
// and closes its window; it must then exit by itself.
#include <gtest/gtest.h>

#include <optional>

#include "ChildProcess.h"
#include "E2eTest.h"

class ClosingTheWindow : public E2eTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingTheWindow, DuringADisplayEndsTheProgram)
{
    const bool withCounter = GetParam();
    if (withCounter) {
        StartCounter("COM1", {"--readings", "12345678"});
        ReleaseCounters();
    }
    ChildProcess helper(DISPLAY_THEN_CLOSE_EXE, {devices.path(), devices / "zorvalit.cfg", "1200"});
    const std::optional<int> status = helper.WaitExit(5000);
    ASSERT_TRUE(status.has_value()) << "still running 5 s after it started";
    EXPECT_EQ(*status, 0);
}

INSTANTIATE_TEST_SUITE_P(Line, ClosingTheWindow, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "CounterOnThePort" : "NoPort"; });
