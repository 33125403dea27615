// The Qt framework with its message boxes recorded instead of shown: the real event pumping,
// without a person to click OK. A test can act while a "box" is open, as a user could.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "QtFramework.h"

class RecordingQtFramework : public QtFramework {
public:
    RecordingQtFramework() { UseFramework(this); }
    ~RecordingQtFramework() override { UseFramework(nullptr); }

    void ShowMessage(const std::string& text) override
    {
        messages.push_back(text);
        if (whileBoxIsOpen) whileBoxIsOpen(text);
    }
    int MessageBox(const std::string& text, const std::string& caption, int flags) override
    {
        boxes.push_back({text, caption, flags});
        if (whileBoxIsOpen) whileBoxIsOpen(text);
        return 1;
    }

    struct Box {
        std::string text, caption;
        int flags;
    };
    std::vector<std::string> messages;
    std::vector<Box> boxes;
    std::function<void(const std::string&)> whileBoxIsOpen;
};
