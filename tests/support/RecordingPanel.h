// A display panel that keeps what the display showed, in order: every label caption and, when
// told, every "Communication error !" box; and how often it was shown or hidden, focused and
// repainted. It records captions into room reserved up front and never allocates for them while
// the display runs; what does not fit is counted as lost.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "FrequencyDisplay.h"
#include "Shown.h"

class RecordingPanel : public DisplayPanel {
public:
    explicit RecordingPanel(std::size_t room = 256) : shown_(room) { visibility.reserve(16); }

    void SetPanelVisible(bool visible) override { visibility.push_back(visible); }
    void FocusCancelButton() override { ++focused; }
    void SetLabelCaption(const char* text) override { Add(Shown::Caption(text)); }
    void RepaintPanel() override { ++repaints; }
    // Records a message box the display raised; pass it every message (FrameworkRecord::onMessage).
    void NoteMessage(const std::string& text)
    {
        if (text == Shown::CommunicationError) Add(Shown::Error());
    }

    bool Visible() const { return !visibility.empty() && visibility.back(); }
    std::size_t Count() const { return count_; }
    std::size_t Lost() const { return lost_; }
    // Captions on the label so far, "0 Hz" at the start of each display included.
    std::size_t Captions() const { return captions_; }
    // Everything shown from that index on.
    std::vector<Shown> From(std::size_t first) const
    {
        return {shown_.begin() + static_cast<std::ptrdiff_t>(first < count_ ? first : count_),
                shown_.begin() + static_cast<std::ptrdiff_t>(count_)};
    }
    std::vector<Shown> All() const { return From(0); }
    // The captions alone, as text.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Shown& shown : All())
            if (!shown.error) texts.emplace_back(shown.caption);
        return texts;
    }
    std::string Label() const { return label_.caption; }

    std::vector<bool> visibility;  // each SetPanelVisible, in order
    int focused = 0;
    int repaints = 0;

private:
    void Add(const Shown& shown)
    {
        if (!shown.error) {
            ++captions_;
            label_ = shown;
        }
        if (count_ == shown_.size()) {
            ++lost_;
            return;
        }
        shown_[count_++] = shown;
    }

    std::vector<Shown> shown_;
    std::size_t count_ = 0;
    std::size_t lost_ = 0;
    std::size_t captions_ = 0;
    Shown label_;
};
