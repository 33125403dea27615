#include "Program.h"

#include <utility>

#include "Framework.h"
#include "FrequencyDisplay.h"
#include "PortLink.h"

int RunProgram(const FormMaker& createForm, const std::function<void(MainForm&)>& shown)
{
    try {
        const std::unique_ptr<MainForm> form = createForm();
        if (!Application->Terminated()) {
            form->Show();
            if (shown) shown(*form);
        }
        Application->Run();
    } catch (const std::exception& error) {
        // The port first: the box may stay up for long, or the process be ended while it is.
        ClosePort();
        Application->ShowException(error);
    }
    ClosePort();
    return 0;
}

void EndWithException(std::exception_ptr error)
{
    StopFrequencyDisplay();
    Application->HandleException(std::move(error));
}

void RequestStop()
{
    Application->Terminate();
    StopFrequencyDisplay();
    ClosePort();
}
