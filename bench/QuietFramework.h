// The program's Qt framework with message boxes counted and written to standard error instead
// of shown: nobody is there to close them while the benchmark runs.
#pragma once

#include <string>
#include <vector>

#include "QtFramework.h"

class QuietFramework : public QtFramework {
public:
    explicit QuietFramework(bool echo = true) : echo_(echo) { UseFramework(this); }
    ~QuietFramework() override { UseFramework(nullptr); }

    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    // How many boxes had that text.
    int Count(const std::string& text) const;

private:
    bool echo_;
    std::vector<std::string> messages_;
};
