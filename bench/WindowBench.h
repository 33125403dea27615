// The program's window and the bare window, each started as a process of its own, in turns:
// time from spawning to the window's first paint, and peak RSS after a short display.
#pragma once

#include <string>
#include <vector>

struct WindowFigures {
    std::vector<double> firstPaintMs;
    std::vector<double> peakRssKb;
};

struct WindowComparison {
    WindowFigures program;
    WindowFigures bare;
};

// Starts each window `runs` times, alternating, with a counter on the program's port.
WindowComparison CompareWindows(const std::string& programWindow, const std::string& bareWindow, int runs);
