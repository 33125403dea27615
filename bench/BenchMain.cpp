// zorvalit-bench: measures the program's display against zorvalit-counter and compares its
// window with a bare Qt window, then prints the figures next to their targets.
// Usage: zorvalit-bench [--frames N] [--quiet-seconds S] [--window-runs R]
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "DisplayBench.h"
#include "Stats.h"
#include "WindowBench.h"
#include "ZorvalitApplication.h"

namespace {

struct Settings {
    int frames = 220;
    int quietSeconds = 5;
    int windowRuns = 7;
};

Settings ParseSettings(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--frames")
            settings.frames = value;
        else if (name == "--quiet-seconds")
            settings.quietSeconds = value;
        else if (name == "--window-runs")
            settings.windowRuns = value;
        else
            throw std::invalid_argument("unknown option " + name);
    }
    if (argc % 2 == 0) throw std::invalid_argument("every option takes a value");
    return settings;
}

void Row(const char* figure, const std::string& measured, const char* target, bool met)
{
    std::printf("  %-36s %26s   %-12s %s\n", figure, measured.c_str(), target, met ? "met" : "MISSED");
}

void Row(const char* figure, const std::string& measured)
{
    std::printf("  %-36s %26s\n", figure, measured.c_str());
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// "program / bare (+x %)" and whether the program is within 10 % of the bare window.
std::pair<std::string, bool> Against(double program, double bare, int decimals)
{
    const double excess = 100.0 * (program - bare) / bare;
    return {Fixed(program, decimals) + " / " + Fixed(bare, decimals) + " (" + (excess >= 0 ? "+" : "") +
                Fixed(excess, 1) + " %)",
            excess <= 10.0};
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        const Settings settings = ParseSettings(argc, argv);
        ZorvalitApplication application(argc, argv);

        TalkingFigures talking;
        double silentPercent = 0, noPortPercent = 0;
        {
            DisplayBench display;
            talking = display.TalkingCounter(settings.frames);
            silentPercent = display.SilentCounter(settings.quietSeconds);
            noPortPercent = display.NoPort(settings.quietSeconds);
        }
        const WindowComparison windows =
            CompareWindows(PROGRAM_WINDOW_PROGRAM, BARE_WINDOW_PROGRAM, settings.windowRuns);

        const std::vector<double>& latency = talking.latenciesMs;
        std::printf("Zorvalit benchmark (%s platform)\n\n", qgetenv("QT_QPA_PLATFORM").constData());
        std::printf("  %-36s %26s   %-12s %s\n", "figure", "measured", "target", "");
        Row("frames sent / painted",
            std::to_string(talking.framesSent) + " / " + std::to_string(latency.size()), "all painted",
            talking.framesSent > 0 && static_cast<int>(latency.size()) == talking.framesSent);
        Row("latency median (ms)", Fixed(Median(latency), 2), "<= 5", Median(latency) <= 5);
        Row("latency p99 (ms)", Fixed(Percentile(latency, 99), 2), "<= 16", Percentile(latency, 99) <= 16);
        Row("latency max (ms)", Fixed(Maximum(latency), 2));
        Row("CPU, talking counter (% of a core)", Fixed(talking.cpuPercent, 2));
        Row("CPU, silent counter (% of a core)", Fixed(silentPercent, 3), "< 0.5", silentPercent < 0.5);
        Row("CPU, no port (% of a core)", Fixed(noPortPercent, 3), "< 0.5", noPortPercent < 0.5);
        const auto rss =
            Against(Median(windows.program.peakRssKb) / 1024, Median(windows.bare.peakRssKb) / 1024, 1);
        Row("peak RSS, program / bare (MiB)", rss.first, "bare + 10 %", rss.second);
        const auto paint =
            Against(Median(windows.program.firstPaintMs), Median(windows.bare.firstPaintMs), 1);
        Row("first paint, program / bare (ms)", paint.first, "bare + 10 %", paint.second);
        std::printf("\n  medians of %d runs of each window; latency over %zu frames at 2400 baud\n",
                    settings.windowRuns, latency.size());
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorvalit-bench: %s\n", error.what());
        return 1;
    }
}
