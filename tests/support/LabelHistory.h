// What a person watching a label saw: every text it was painted with, in order, each change
// noted once (in UTF-8), with the monotonic time and the process's CPU time just after the paint.
#pragma once

#include <QEvent>
#include <QLabel>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Clocks.h"

struct PaintTime {
    std::int64_t ns;
    std::int64_t cpuNs;
};

class LabelHistory : public QObject {
public:
    explicit LabelHistory(QLabel* label) : label_(label) { label_->installEventFilter(this); }

    const std::vector<std::string>& Texts() const { return texts_; }
    // When each of the texts was painted.
    const std::vector<PaintTime>& Times() const { return times_; }
    int Count(const std::string& text) const
    {
        return static_cast<int>(std::count(texts_.begin(), texts_.end(), text));
    }
    // The text painted last; empty before any paint.
    std::string Last() const { return texts_.empty() ? std::string() : texts_.back(); }
    void Clear()
    {
        texts_.clear();
        times_.clear();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != label_ || event->type() != QEvent::Paint) return false;
        // Painted first, so that the time is that of the finished paint.
        static_cast<QObject*>(label_)->event(event);
        const PaintTime painted{MonotonicNs(), ProcessCpuNs()};
        std::string text = label_->text().toStdString();
        if (texts_.empty() || texts_.back() != text) {
            texts_.push_back(std::move(text));
            times_.push_back(painted);
        }
        return true;
    }

private:
    QLabel* label_;
    std::vector<std::string> texts_;
    std::vector<PaintTime> times_;
};
