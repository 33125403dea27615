#include "DisplayBench.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

#include "Clocks.h"
#include "CounterLine.h"
#include "MyForm.h"

namespace {

// Ten readings in turn: no frame reads like the one before it or any other within a second.
const char* const Readings =
    "10032761,10032762,10032763,10032764,10032765,10032766,10032767,10032768,10032769,10032770";
// Quiet before the first frame, so that the display is reading before it starts.
const char* const HeadStart = "silence:1500@1";

constexpr std::int64_t NsPerMs = 1'000'000;

// The frames the counter wrote in full, each with the time of its last byte.
std::vector<CounterLogLine> SentFrames(const CounterLog& log)
{
    std::vector<CounterLogLine> frames;
    for (const CounterLogLine& chunk : log.Chunks())
        if (chunk.kind != "open" && chunk.kind != "hangup" && chunk.kind != "burst" &&
            chunk.bytes.size() == 20)
            frames.push_back(chunk);
    return frames;
}

}  // namespace

TalkingFigures DisplayBench::TalkingCounter(int frames)
{
    CounterLine counter(
        window_.devices, "COM1",
        {"--rate", "10", "--readings", Readings, "--fault", HeadStart, "--frames", std::to_string(frames)});
    TMyForm& form = window_.Form();
    window_.Probe().Clear();
    window_.Ports().Clear();
    // The counter hangs up and exits once it has sent its frames and they were read.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (counter.Exited()) form.ZorvaCancelButtonClick();
    });
    watch.start(200);
    framework_.Forget();
    form.DisplaytheFrequency1->trigger();

    TalkingFigures figures;
    figures.communicationErrors = static_cast<int>(
        std::count(framework_.messages.begin(), framework_.messages.end(), "Communication error !"));
    const CounterLog log = counter.Log();
    const std::vector<CounterLogLine> sent = SentFrames(log);
    figures.framesSent = static_cast<int>(sent.size());
    const std::vector<std::string>& texts = window_.Probe().Texts();
    const std::vector<PaintTime>& paints = window_.Probe().Times();
    // Paints come in time order: the search for a frame's paint starts where the last one's began.
    std::size_t from = 0;
    // The display opened the port before the counter's first frame, so the bytes read are the
    // frames' bytes in order, unless a frame was lost or cut.
    const std::vector<TimedByte>& reads = window_.Ports().Reads();
    bool inStep = reads.size() == sent.size() * 20;
    for (std::size_t i = 0; inStep && i < reads.size(); ++i)
        inStep = reads[i].byte == sent[i / 20].bytes[i % 20];
    for (std::size_t f = 0; f < sent.size(); ++f) {
        const CounterLogLine& frame = sent[f];
        const std::string reading(reinterpret_cast<const char*>(frame.bytes.data()) + 3, 13);
        while (from < paints.size() && paints[from].ns < frame.lastNs) ++from;
        for (std::size_t i = from; i < paints.size() && paints[i].ns <= frame.lastNs + 1000 * NsPerMs; ++i) {
            if (texts[i] != reading) continue;
            figures.latenciesMs.push_back(static_cast<double>(paints[i].ns - frame.lastNs) / NsPerMs);
            if (inStep) {
                const std::int64_t readNs = reads[f * 20 + 19].ns;
                figures.deliveryMs.push_back(static_cast<double>(readNs - frame.lastNs) / NsPerMs);
                figures.programMs.push_back(static_cast<double>(paints[i].ns - readNs) / NsPerMs);
            }
            break;
        }
    }
    for (std::size_t i = 1; i < log.lines.size(); ++i)
        if (log.lines[i].kind == "frame" && log.lines[i - 1].kind == "frame" &&
            log.lines[i].frame == log.lines[i - 1].frame)
            figures.worstLineGapMs = std::max(
                figures.worstLineGapMs, static_cast<double>(log.lines[i].ns - log.lines[i - 1].ns) / NsPerMs);
    // paints[0] is the display's "0 Hz"; the readings follow.
    if (paints.size() >= 3) {
        const PaintTime& first = paints[1];
        const PaintTime& last = paints.back();
        figures.cpuPercent =
            100.0 * static_cast<double>(last.cpuNs - first.cpuNs) / static_cast<double>(last.ns - first.ns);
    }
    return figures;
}

double DisplayBench::QuietDisplay(int settleMs, int measureMs)
{
    TMyForm& form = window_.Form();
    std::int64_t cpuStart = 0, wallStart = 0;
    double percent = 0;
    QTimer::singleShot(settleMs, [&] {
        cpuStart = ProcessCpuNs();
        wallStart = MonotonicNs();
    });
    QTimer::singleShot(settleMs + measureMs, [&] {
        percent = 100.0 * static_cast<double>(ProcessCpuNs() - cpuStart) /
                  static_cast<double>(MonotonicNs() - wallStart);
        form.ZorvaCancelButtonClick();
    });
    form.DisplaytheFrequency1->trigger();
    return percent;
}

double DisplayBench::SilentCounter(int seconds)
{
    CounterLine counter(window_.devices, "COM1", {"--fault", "silence:3600000@1"});
    return QuietDisplay(500, seconds * 1000);
}

double DisplayBench::NoPort(int seconds) { return QuietDisplay(500, seconds * 1000); }

std::vector<double> DisplayBench::PortChanges(int count)
{
    CounterLine first(window_.devices, "COM1", {"--rate", "10"});
    CounterLine second(window_.devices, "COM2", {"--rate", "10"});
    TMyForm& form = window_.Form();
    std::vector<double> changes;
    for (int i = 1; i <= count; ++i) {
        const int index = i % 2;
        form.CB_COM->setCurrentIndex(index);
        const std::int64_t start = MonotonicNs();
        emit form.CB_COM->activated(index);
        changes.push_back(static_cast<double>(MonotonicNs() - start) / NsPerMs);
        // Between picks the window handles what came meanwhile, as it would between two clicks.
        QTimer pause;
        pause.setSingleShot(true);
        QEventLoop loop;
        QObject::connect(&pause, &QTimer::timeout, &loop, &QEventLoop::quit);
        pause.start(100);
        loop.exec();
    }
    return changes;
}
