// zorvalit-bench-program: the program's window as the entry point runs it, with the device
// directory and port-choice file given on the command line. After its first paint it runs a
// display for DISPLAY_MS, then reports its peak RSS and exits.
// Usage: zorvalit-bench-program DEVICE_DIR CONFIG_FILE DISPLAY_MS
#include <QAction>
#include <QTimer>

#include <memory>

#include "MyForm.h"
#include "ProgramOnScratchPorts.h"
#include "WindowProbe.h"

int main(int argc, char** argv)
{
    std::unique_ptr<FirstPaintProbe> probe;
    return RunProgramOnScratchPorts(argc, argv, [&](TMyForm& form, int displayMs) {
        probe = std::make_unique<FirstPaintProbe>(&form, [&form, displayMs] {
            QTimer::singleShot(displayMs, &form, [&form] { form.ZorvaCancelButtonClick(); });
            form.DisplaytheFrequency1->trigger();
            ReportPeakRss();
            form.close();
        });
    });
}
