// The display of the program's window, run in this process against zorvalit-counter on a
// pseudo-terminal: how soon a frame's reading is painted and how much CPU the display uses
// with a talking counter, a silent one, and no port at all.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "QtFramework.h"
#include "ReadClock.h"
#include "RecordingFramework.h"
#include "ScratchWindow.h"

struct TalkingFigures {
    // From the last byte of a frame leaving the counter to its reading painted, in ms: one for
    // each frame whose reading was painted within a second.
    std::vector<double> latenciesMs;
    int framesSent = 0;
    int communicationErrors = 0;
    // The longest pause between two bytes of one frame as the counter wrote them, in ms: a line
    // that keeps its pace shows 4.2 (a character at 2400 baud).
    double worstLineGapMs = 0;
    // The latency split at the moment the program read the frame's last byte, in ms: the
    // system's part (the byte on its way through the pseudo-terminal, and the program waiting to
    // be run) and the program's own (reading the frame, setting the label, painting it). Empty
    // unless every byte read is the counter's next one.
    std::vector<double> deliveryMs;
    std::vector<double> programMs;
    // Percent of one core, from the first reading painted to the last.
    double cpuPercent = 0;
};

class DisplayBench {
public:
    // A counter sending that many frames at 2400 baud, ten a second, each reading unlike the one before.
    TalkingFigures TalkingCounter(int frames);
    // Percent of one core over that many seconds of display with a counter that sends nothing.
    double SilentCounter(int seconds);
    // The same with no device behind the port.
    double NoPort(int seconds);
    // That many picks in the port list, COM1 and COM2 in turn, each with a counter behind it:
    // how long each took, from the pick to the port open on its new line, in ms.
    std::vector<double> PortChanges(int count);

private:
    // Runs a display, measuring the CPU share between settleMs and settleMs + measureMs.
    double QuietDisplay(int settleMs, int measureMs);

    Recording<QtFramework> framework_;
    ScratchWindow<ReadClock> window_;
};
