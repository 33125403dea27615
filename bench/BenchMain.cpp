// zorvalit-bench: measures the program's display against zorvalit-counter and compares its
// window with a bare Qt window, then prints the figures next to their targets. With --minutes,
// it runs one display that long instead, at the line's full pace, and then times port changes:
// the figures of a long run, which bench/busy-pc.sh takes on an idle and on a busy machine.
// Usage: zorvalit-bench [--frames N] [--quiet-seconds S] [--window-runs R]
//        zorvalit-bench --minutes M
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
    int minutes = 0;
};

// Ten frames a second at 2400 baud: 83 ms of bytes and a 17 ms pause, the line nearly full.
constexpr int FramesAMinute = 600;
constexpr int PortChangeCount = 40;

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
        else if (name == "--minutes")
            settings.minutes = value;
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

// A display of that many minutes and the port changes after it, against the goals of a long run.
void LongRun(int minutes)
{
    TalkingFigures talking;
    std::vector<double> changes;
    {
        DisplayBench display;
        talking = display.TalkingCounter(minutes * FramesAMinute);
        changes = display.PortChanges(PortChangeCount);
    }
    const std::vector<double>& latency = talking.latenciesMs;
    const int shown = static_cast<int>(latency.size());
    std::printf("Zorvalit long run: %d min of display (%s platform)\n\n", minutes,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  %-36s %26s   %-12s %s\n", "figure", "measured", "goal", "");
    Row("frames sent / readings shown", std::to_string(talking.framesSent) + " / " + std::to_string(shown),
        "all shown", talking.framesSent > 0 && shown == talking.framesSent);
    Row("\"Communication error !\" boxes", std::to_string(talking.communicationErrors), "none",
        talking.communicationErrors == 0);
    Row("last byte to paint, median (ms)", Fixed(Median(latency), 2));
    Row("last byte to paint, p99.9 (ms)", Fixed(Percentile(latency, 99.9), 2));
    Row("last byte to paint, worst (ms)", Fixed(Maximum(latency), 2), "< 83", Maximum(latency) < 83);
    Row("  of which written to read, worst (ms)", Fixed(Maximum(talking.deliveryMs), 2));
    Row("  of which read to paint, worst (ms)", Fixed(Maximum(talking.programMs), 2));
    Row("longest pause within a frame (ms)", Fixed(talking.worstLineGapMs, 2));
    Row("port change, median (ms)", Fixed(Median(changes), 2));
    Row("port change, worst (ms)", Fixed(Maximum(changes), 2));
    Row("CPU, talking counter (% of a core)", Fixed(talking.cpuPercent, 2));
    std::printf(
        "\n  frames at 2400 baud, ten a second; %zu port changes between COM1 and COM2 after the "
        "display\n",
        changes.size());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        const Settings settings = ParseSettings(argc, argv);
        ZorvalitApplication application(argc, argv);
        if (settings.minutes > 0) {
            LongRun(settings.minutes);
            return 0;
        }

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
