#include "LabelHistory.h"

#include <QEvent>
#include <QLabel>

#include <algorithm>

LabelHistory::LabelHistory(QLabel* label) : label_(label) { label_->installEventFilter(this); }

int LabelHistory::Count(const std::string& text) const
{
    return static_cast<int>(std::count(texts_.begin(), texts_.end(), text));
}

std::string LabelHistory::Last() const { return texts_.empty() ? std::string() : texts_.back(); }

bool LabelHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label_ && event->type() == QEvent::Paint) {
        std::string text = label_->text().toStdString();
        if (texts_.empty() || texts_.back() != text) texts_.push_back(std::move(text));
    }
    return false;
}
