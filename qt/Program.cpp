#include "Program.h"

#include <exception>

#include "Framework.h"
#include "MyForm.h"
#include "PortLink.h"
#include "TerminationSignals.h"
#include "WaylandSession.h"
#include "ZorvalitApplication.h"

int RunProgram(ZorvalitApplication& application, const std::function<void(TMyForm&)>& shown)
{
    try {
        TerminationSignals stopRequests;
        TMyForm form;
        MyForm = &form;
        if (stopRequests.Received()) {
            // Stopped while the constructor's message box was up: never show the window.
            ClosePort();
        } else {
            FitForWayland(form);
            form.show();
            if (shown) shown(form);
            application.exec();
            application.RethrowPending();
        }
    } catch (const std::exception& error) {
        Application->ShowException(error);
    }
    MyForm = nullptr;
    EndWaylandRun(0);
    return 0;
}
