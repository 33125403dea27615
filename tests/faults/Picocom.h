// picocom, a terminal program that locks the ports it opens with flock, run on a line as a
// second program that wants the port. It gets a pseudo-terminal of its own as its terminal,
// since it ends at once when its input is not one, and it is killed when the object goes.
#pragma once

#include <optional>
#include <string>

#include "ChildProcess.h"
#include "Pty.h"

class Picocom {
public:
    explicit Picocom(const std::string& linePath);

    // Waits until it holds the flock lock on the line; false if it did not in that time.
    bool WaitUntilItHoldsTheLine(int milliseconds) const;
    // Its exit status once it has ended within that time (-1 when killed by a signal).
    std::optional<int> WaitForExit(int milliseconds) { return process_.WaitExit(milliseconds); }
    // What it has written on its terminal so far.
    std::string Output();

private:
    std::string linePath_;
    Pty terminal_;
    ChildProcess process_;
    std::string output_;
};
