// The entry point: starts the application, creates the window, runs the message loop until the
// window closes, and shows any exception that ends it. Always returns 0.
#include <exception>

#include "MyForm.h"
#include "QtFramework.h"
#include "TerminationSignals.h"
#include "ZorvalitApplication.h"
#include "serial/PortLink.h"
#include "serial/PosixSerialDevice.h"

int main(int argc, char** argv)
{
    ZorvalitApplication application(argc, argv);
    QtFramework framework;
    UseFramework(&framework);
    PosixSerialDevice serialPorts;
    UseSerialDevice(&serialPorts);
    try {
        TerminationSignals stopRequests;
        TMyForm form;
        MyForm = &form;
        if (stopRequests.Received()) {
            // Stopped while the constructor's message box was up: never show the window.
            ClosePort();
        } else {
            form.show();
            application.exec();
            application.RethrowPending();
        }
    } catch (const std::exception& error) {
        Application->ShowException(error);
    }
    MyForm = nullptr;
    return 0;
}
