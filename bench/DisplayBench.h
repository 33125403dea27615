// The display of the program's window, run in this process against zorvalit-counter on a
// pseudo-terminal: how soon a frame's reading is painted and how much CPU the display uses
// with a talking counter, a silent one, and no port at all.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "PaintClock.h"
#include "PosixSerialDevice.h"
#include "QuietFramework.h"
#include "TempDir.h"

class TMyForm;

struct TalkingFigures {
    // From the last byte of a frame leaving the counter to its reading painted, in ms.
    std::vector<double> latenciesMs;
    int framesSent = 0;
    // Percent of one core, from the first reading painted to the last.
    double cpuPercent = 0;
};

class DisplayBench {
public:
    DisplayBench();
    ~DisplayBench();

    // A counter sending that many frames at 2400 baud, ten a second, each reading unlike the one before.
    TalkingFigures TalkingCounter(int frames);
    // Percent of one core over that many seconds of display with a counter that sends nothing.
    double SilentCounter(int seconds);
    // The same with no device behind the port.
    double NoPort(int seconds);

private:
    TMyForm& Form();
    // Runs a display, measuring the CPU share between settleMs and settleMs + measureMs.
    double QuietDisplay(int settleMs, int measureMs);

    TempDir devices_;
    QuietFramework framework_{false};
    PosixSerialDevice serialPorts_{devices_.path()};
    std::unique_ptr<TMyForm> form_;
    std::unique_ptr<PaintClock> paints_;
};
