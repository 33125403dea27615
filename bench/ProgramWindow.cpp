// zorvalit-bench-program: the program's window as the entry point runs it, with the device
// directory and port-choice file given on the command line. After its first paint it runs a
// display for DISPLAY_MS, then reports its peak RSS and exits.
// Usage: zorvalit-bench-program DEVICE_DIR CONFIG_FILE DISPLAY_MS
#include <QAction>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "MyForm.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"
#include "Program.h"
#include "QuietFramework.h"
#include "WindowProbe.h"
#include "ZorvalitApplication.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DEVICE_DIR CONFIG_FILE DISPLAY_MS\n", argv[0]);
        return 2;
    }
    PosixSerialDevice serialPorts(argv[1]);
    ConfigFilePath = argv[2];
    const int displayMs = std::atoi(argv[3]);

    ZorvalitApplication application(argc, argv);
    QuietFramework framework(true);
    UseSerialDevice(&serialPorts);
    std::unique_ptr<FirstPaintProbe> probe;
    return RunProgram(application, [&](TMyForm& form) {
        probe = std::make_unique<FirstPaintProbe>(&form, [&form, displayMs] {
            QTimer::singleShot(displayMs, &form, [&form] { form.ZorvaCancelButtonClick(); });
            form.DisplaytheFrequency1->trigger();
            ReportPeakRss();
            form.close();
        });
    });
}
