// A helper program for the tests that end a display: runs the program as its entry point does,
// with the device directory and the port-choice file given on the command line, then starts a
// display and, END_AFTER_MS on, closes the window while it runs; with ZORVALIT_END=cancel it
// presses Cancel instead, with ZORVALIT_END=none it leaves the display to a signal. It prints
// "displaying" once the display runs and "ended" once it has ended. Message boxes are recorded,
// not shown, so none can hold it open. Usage: DisplayThenClose DEVICE_DIR CONFIG_FILE END_AFTER_MS
#include <QAction>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

#include "MyForm.h"
#include "ProgramOnScratchPorts.h"

namespace {

void Say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    return RunProgramOnScratchPorts(argc, argv, [](TMyForm& form, int endAfterMs) {
        const QByteArray end = qgetenv("ZORVALIT_END");
        if (end == "cancel")
            QTimer::singleShot(endAfterMs, form.ZorvaCancelButton, &QPushButton::click);
        else if (end != "none")
            QTimer::singleShot(endAfterMs, &form, &QWidget::close);
        QTimer::singleShot(0, &form, [&form] {
            QTimer::singleShot(0, [] { Say("displaying"); });  // runs inside the display's own pumping
            form.DisplaytheFrequency1->trigger();
            Say("ended");
        });
    });
}
