#include "QuietFramework.h"

#include <cstdio>

void QuietFramework::ShowMessage(const std::string& text)
{
    ++messages_;
    if (echo_) std::fprintf(stderr, "message box: %s\n", text.c_str());
}

int QuietFramework::MessageBox(const std::string& text, const std::string& caption, int)
{
    ShowMessage(caption + ": " + text);
    return 1;
}
