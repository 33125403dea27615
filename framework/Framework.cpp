#include "Framework.h"

namespace {
Framework* Services = nullptr;
TApplication TheApplication;
}  // namespace

TApplication* const Application = &TheApplication;

void UseFramework(Framework* framework) { Services = framework; }

void ShowMessage(const std::string& text) { Services->ShowMessage(text); }

void TApplication::ProcessMessages() { Services->ProcessMessages(); }

void TApplication::WaitForMessages(int milliseconds) { Services->WaitForMessages(milliseconds); }

int TApplication::MessageBox(const char* text, const char* caption, int flags)
{
    return Services->MessageBox(text, caption, flags);
}

void TApplication::ShowException(const std::exception& error) { Services->ShowException(error); }
