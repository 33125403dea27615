// A helper program for the window-closing test: runs the program as its entry point does, with
// the device directory and the port-choice file given on the command line, then starts a
// display and closes the window while it runs. Message boxes are recorded, not shown, so none
// can hold it open. Usage: DisplayThenClose DEVICE_DIR CONFIG_FILE CLOSE_AFTER_MS
#include <QAction>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "MyForm.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"
#include "Program.h"
#include "RecordingQtFramework.h"
#include "ZorvalitApplication.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DEVICE_DIR CONFIG_FILE CLOSE_AFTER_MS\n", argv[0]);
        return 2;
    }
    PosixSerialDevice serialPorts(argv[1]);
    ConfigFilePath = argv[2];
    const int closeAfterMs = std::atoi(argv[3]);

    ZorvalitApplication application(argc, argv);
    RecordingQtFramework framework;
    UseSerialDevice(&serialPorts);
    return RunProgram(application, [closeAfterMs](TMyForm& form) {
        QTimer::singleShot(0, form.DisplaytheFrequency1, &QAction::trigger);
        QTimer::singleShot(closeAfterMs, &form, &QWidget::close);
    });
}
