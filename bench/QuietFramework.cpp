#include "QuietFramework.h"

#include <algorithm>
#include <cstdio>

void QuietFramework::ShowMessage(const std::string& text)
{
    messages_.push_back(text);
    if (echo_) std::fprintf(stderr, "message box: %s\n", text.c_str());
}

int QuietFramework::MessageBox(const std::string& text, const std::string& caption, int)
{
    ShowMessage(caption + ": " + text);
    return 1;
}

int QuietFramework::Count(const std::string& text) const
{
    return static_cast<int>(std::count(messages_.begin(), messages_.end(), text));
}
