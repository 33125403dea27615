#include "PaintClock.h"

#include <QEvent>
#include <QLabel>

#include "Clocks.h"

PaintClock::PaintClock(QLabel* label) : label_(label) { label_->installEventFilter(this); }

bool PaintClock::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != label_ || event->type() != QEvent::Paint) return false;
    // Paint first, so that the time is that of the finished paint.
    QObject* label = label_;
    label->event(event);
    const std::int64_t ns = MonotonicNs();
    if (paints_.empty() || paints_.back().text != label_->text())
        paints_.push_back({ns, ProcessCpuNs(), label_->text()});
    return true;
}
