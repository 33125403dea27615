// The framework's services realised with Qt: QMessageBox for the modal boxes, the event
// dispatcher for message pumping. Tests derive from it to record message boxes instead of
// showing them, keeping the real pumping.
#pragma once

#include "Framework.h"

class QtFramework : public Framework {
public:
    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    void ProcessMessages() override;
    void WaitForMessages(int milliseconds) override;
    void ShowException(const std::exception& error) override;
};
