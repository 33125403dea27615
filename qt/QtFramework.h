// The framework's services realised with Qt: QMessageBox for the modal boxes, the event
// dispatcher for message pumping, the application's event loop for the message loop, a
// ScreenKeeper (made at the first display) to keep the screen on. Tests derive from it to record
// message boxes instead of showing them, keeping the real pumping and screen keeping.
#pragma once

#include <memory>

#include "Framework.h"

class ScreenKeeper;

class QtFramework : public Framework {
public:
    QtFramework();
    ~QtFramework() override;

    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    void ProcessMessages() override;
    void WaitForMessages(int milliseconds) override;
    void RunMessageLoop() override;
    void EndMessageLoop() override;
    void ShowException(const std::exception& error) override;
    void KeepScreenOn(bool keep) override;

private:
    std::unique_ptr<ScreenKeeper> screenKeeper_;
};
