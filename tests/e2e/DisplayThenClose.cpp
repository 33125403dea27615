// A helper program for the window-closing test: runs the program as its entry point does, with
// the device directory and the port-choice file given on the command line, then starts a
// display and closes the window while it runs. Message boxes are recorded, not shown, so none
// can hold it open. Usage: DisplayThenClose DEVICE_DIR CONFIG_FILE CLOSE_AFTER_MS
#include <QAction>
#include <QTimer>

#include "MyForm.h"
#include "ProgramOnScratchPorts.h"
#include "RecordingQtFramework.h"

int main(int argc, char** argv)
{
    return RunProgramOnScratchPorts<RecordingQtFramework>(argc, argv, [](TMyForm& form, int closeAfterMs) {
        QTimer::singleShot(0, form.DisplaytheFrequency1, &QAction::trigger);
        QTimer::singleShot(closeAfterMs, &form, &QWidget::close);
    });
}
