#include "WindowBench.h"

#include <stdexcept>

#include "ChildProcess.h"
#include "CounterLine.h"
#include "TempDir.h"

namespace {

// How long each window shows its display panel before it reports its memory.
const char* const ShowMs = "1000";

// Reads "first-paint NS" and "peak-rss KB" from a window program and adds them to figures.
void Measure(ChildProcess& window, WindowFigures& figures)
{
    double firstPaintMs = -1, peakRssKb = -1;
    while (const auto line = window.ReadLine(10000)) {
        const auto space = line->find(' ');
        if (space == std::string::npos) continue;
        const std::string key = line->substr(0, space);
        const long long value = std::stoll(line->substr(space + 1));
        if (key == "first-paint") firstPaintMs = static_cast<double>(value - window.StartedNs()) / 1e6;
        if (key == "peak-rss") peakRssKb = static_cast<double>(value);
    }
    window.Stop(2000);
    if (firstPaintMs < 0 || peakRssKb < 0) throw std::runtime_error("a window program did not report");
    figures.firstPaintMs.push_back(firstPaintMs);
    figures.peakRssKb.push_back(peakRssKb);
}

}  // namespace

WindowComparison CompareWindows(const std::string& programWindow, const std::string& bareWindow, int runs)
{
    TempDir devices;
    CounterLine counter(devices, "COM1", {"--fast"});

    WindowComparison comparison;
    for (int run = 0; run < runs; ++run) {
        ChildProcess bare(bareWindow, {ShowMs});
        Measure(bare, comparison.bare);
        ChildProcess program(programWindow, {devices.path(), devices / "zorvalit.cfg", ShowMs});
        Measure(program, comparison.program);
    }
    return comparison;
}
