#include "WindowProbe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <fstream>
#include <string>

#include "Clocks.h"

FirstPaintProbe::FirstPaintProbe(QWidget* window, std::function<void()> afterFirstPaint)
    : window_(window), afterFirstPaint_(std::move(afterFirstPaint))
{
    window_->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (!painted_ && watched == window_ && event->type() == QEvent::Paint) {
        painted_ = true;
        std::printf("first-paint %lld\n", static_cast<long long>(MonotonicNs()));
        std::fflush(stdout);
        QTimer::singleShot(0, this, afterFirstPaint_);
    }
    return false;
}

void ReportPeakRss()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kilobytes = -1;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> kilobytes;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    std::printf("peak-rss %ld\n", kilobytes);
    std::fflush(stdout);
}
