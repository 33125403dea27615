#include "DisplayBench.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

#include <stdexcept>

#include "Clocks.h"
#include "CounterLine.h"
#include "MyForm.h"
#include "PortChoice.h"
#include "PortLink.h"

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

DisplayBench::DisplayBench()
{
    ConfigFilePath = devices_ / "zorvalit.cfg";
    UseSerialDevice(&serialPorts_);
}

DisplayBench::~DisplayBench()
{
    if (form_) form_->close();
    paints_.reset();
    form_.reset();
    ClosePort();
    UseSerialDevice(nullptr);
}

TMyForm& DisplayBench::Form()
{
    if (!form_) {
        form_ = std::make_unique<TMyForm>();
        paints_ = std::make_unique<PaintClock>(form_->ZorvaLabel);
        form_->show();
    }
    return *form_;
}

TalkingFigures DisplayBench::TalkingCounter(int frames)
{
    CounterLine counter(
        devices_, "COM1",
        {"--rate", "10", "--readings", Readings, "--fault", HeadStart, "--frames", std::to_string(frames)});
    TMyForm& form = Form();
    paints_->Clear();
    // The counter hangs up and exits once it has sent its frames and they were read.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (counter.Exited()) form.ZorvaCancelButtonClick();
    });
    watch.start(200);
    form.DisplaytheFrequency1->trigger();

    TalkingFigures figures;
    const std::vector<CounterLogLine> sent = SentFrames(counter.Log());
    figures.framesSent = static_cast<int>(sent.size());
    const std::vector<TimedPaint>& paints = paints_->Paints();
    for (const CounterLogLine& frame : sent) {
        const QString reading =
            QString::fromLatin1(reinterpret_cast<const char*>(frame.bytes.data()) + 3, 13);
        for (const TimedPaint& paint : paints) {
            if (paint.ns < frame.lastNs || paint.ns > frame.lastNs + 1000 * NsPerMs) continue;
            if (paint.text != reading) continue;
            figures.latenciesMs.push_back(static_cast<double>(paint.ns - frame.lastNs) / NsPerMs);
            break;
        }
    }
    // paints[0] is the display's "0 Hz"; the readings follow.
    if (paints.size() >= 3) {
        const TimedPaint& first = paints[1];
        const TimedPaint& last = paints.back();
        figures.cpuPercent =
            100.0 * static_cast<double>(last.cpuNs - first.cpuNs) / static_cast<double>(last.ns - first.ns);
    }
    return figures;
}

double DisplayBench::QuietDisplay(int settleMs, int measureMs)
{
    TMyForm& form = Form();
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
    CounterLine counter(devices_, "COM1", {"--fault", "silence:3600000@1"});
    return QuietDisplay(500, seconds * 1000);
}

double DisplayBench::NoPort(int seconds) { return QuietDisplay(500, seconds * 1000); }
