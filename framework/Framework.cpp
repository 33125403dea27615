#include "Framework.h"

#include <utility>

namespace {
Framework* Services = nullptr;
TApplication TheApplication;
}  // namespace

TApplication* const Application = &TheApplication;

// A framework chosen anew starts with an application that has neither ended nor failed: each test
// that puts in a recorder gets the program as it starts.
void UseFramework(Framework* framework)
{
    Services = framework;
    TheApplication = TApplication();
}

void ShowMessage(const std::string& text)
{
    if (!Application->Terminated()) Services->ShowMessage(text);
}

void KeepScreenOn(bool keep) { Services->KeepScreenOn(keep); }

void TApplication::ProcessMessages() { Services->ProcessMessages(); }

void TApplication::WaitForMessages(int milliseconds) { Services->WaitForMessages(milliseconds); }

void TApplication::Run()
{
    if (!terminated_) Services->RunMessageLoop();
    if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

int TApplication::MessageBox(const char* text, const char* caption, int flags)
{
    return terminated_ ? 0 : Services->MessageBox(text, caption, flags);
}

void TApplication::ShowException(const std::exception& error)
{
    if (!terminated_) Services->ShowException(error);
}

void TApplication::HandleException(std::exception_ptr error)
{
    if (!pending_) pending_ = std::move(error);
    Services->EndMessageLoop();
}

void TApplication::Terminate()
{
    terminated_ = true;
    Services->EndMessageLoop();
}
