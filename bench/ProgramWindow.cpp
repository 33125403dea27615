// zorvalit-bench-program: the program's window as the entry point makes it, with the device
// directory and port-choice file given on the command line. After its first paint it runs a
// display for DISPLAY_MS, then reports its peak RSS and exits.
// Usage: zorvalit-bench-program DEVICE_DIR CONFIG_FILE DISPLAY_MS
#include <QAction>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "QuietFramework.h"
#include "WindowProbe.h"
#include "MyForm.h"
#include "ZorvalitApplication.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"

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
    TMyForm form;
    MyForm = &form;
    FirstPaintProbe probe(&form, [&] {
        QTimer::singleShot(displayMs, &form, [&] { form.ZorvaCancelButtonClick(); });
        form.DisplaytheFrequency1->trigger();
        ReportPeakRss();
        form.close();
    });
    form.show();
    application.exec();
    MyForm = nullptr;
    return 0;
}
