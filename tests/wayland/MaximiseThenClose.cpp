// A helper program for the Wayland test: runs the program as its entry point does, with the
// device directory and the port-choice file given on the command line; once the window is up,
// asks for a maximise as the title bar's button does, prints the platform, the client area and
// the window's state once the compositor has had MILLISECONDS to answer, then closes the window
// as a close from the compositor does. Usage: MaximiseThenClose DEVICE_DIR CONFIG_FILE MILLISECONDS
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

#include "MyForm.h"
#include "Panel.h"
#include "ProgramOnScratchPorts.h"
#include "RecordingQtFramework.h"
#include "WaylandSession.h"

int main(int argc, char** argv)
{
    PreferXWayland();
    return RunProgramOnScratchPorts<RecordingQtFramework>(argc, argv, [](TMyForm& form, int milliseconds) {
        QWindow* window = form.windowHandle();
        QTimer::singleShot(milliseconds / 3, window, [window] {
            window->setWindowStates(window->windowStates() ^ Qt::WindowMaximized);
        });
        QTimer::singleShot(milliseconds, &form, [&form, window] {
            const bool enlarged = window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen);
            std::printf("%s %dx%d %s\n", qPrintable(QGuiApplication::platformName()), form.Panel1->width(),
                        form.Panel1->height(), enlarged ? "maximised" : "normal");
            std::fflush(stdout);
            window->close();
        });
    });
}
