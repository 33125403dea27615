// A stand-in for the framework's services that shows nothing: it records every message box
// and lets a test act at each message pump, as a user would while the program runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Framework.h"

class RecordingFramework : public Framework {
public:
    RecordingFramework() { UseFramework(this); }
    ~RecordingFramework() override { UseFramework(nullptr); }

    void ShowMessage(const std::string& text) override
    {
        messages.push_back(text);
        if (onMessage) onMessage(text);
    }
    int MessageBox(const std::string& text, const std::string& caption, int flags) override
    {
        boxes.push_back({text, caption, flags});
        if (onMessage) onMessage(text);
        return 1;
    }
    void ProcessMessages() override
    {
        ++pumps;
        if (onPump) onPump();
    }
    void WaitForMessages(int milliseconds) override
    {
        waits.push_back(milliseconds);
        if (onPump) onPump();
    }
    void ShowException(const std::exception& error) override { exceptions.push_back(error.what()); }

    struct Box {
        std::string text, caption;
        int flags;
    };
    std::vector<std::string> messages;
    std::vector<Box> boxes;
    std::vector<int> waits;
    std::vector<std::string> exceptions;
    int pumps = 0;
    std::function<void()> onPump;
    std::function<void(const std::string&)> onMessage;
};
