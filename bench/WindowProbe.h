// What the window programs report to the benchmark on standard output: "first-paint NS" (the
// monotonic time of the window's first paint event) and "peak-rss KB" (the process's VmHWM).
#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Reports the first paint of a window and then runs an action once, from the event loop.
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget* window, std::function<void()> afterFirstPaint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void()> afterFirstPaint_;
    bool painted_ = false;
};

// Prints the process's peak resident set size.
void ReportPeakRss();
