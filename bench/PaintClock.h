// Times the paints of a label: each time it has been painted with a text other than the one
// before, notes the monotonic time and the process's CPU time just after that paint.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

class QLabel;

struct TimedPaint {
    std::int64_t ns;
    std::int64_t cpuNs;
    QString text;
};

class PaintClock : public QObject {
public:
    explicit PaintClock(QLabel* label);
    const std::vector<TimedPaint>& Paints() const { return paints_; }
    void Clear() { paints_.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label_;
    std::vector<TimedPaint> paints_;
};
