// A helper program for the Wayland test: runs the program as its entry point does, with the
// device directory and the port-choice file given on the command line; once the window is up,
// asks Qt for a maximise, and prints the platform, the client area, the window's state once the
// compositor has had MILLISECONDS to answer, and what its title bar offers; then shows a real
// message box and prints what that offers, and closes the window as a close from the compositor
// does. Usage: MaximiseThenClose DEVICE_DIR CONFIG_FILE MILLISECONDS
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include <cstdio>

#include "MyForm.h"
#include "Panel.h"
#include "ProgramOnScratchPorts.h"
#include "WaylandSession.h"

namespace {

// The controls of the window's title bar, in order, and whether Qt draws a frame of its own.
QString Controls(const QWidget& window)
{
    QStringList names;
    if (const auto* bar = window.findChild<QWidget*>("titleBar")) {
        for (const auto* button : bar->findChildren<QToolButton*>()) names << button->objectName();
    }
    const bool framed = !window.windowHandle()->frameMargins().isNull();
    return (names.isEmpty() ? QStringLiteral("none") : names.join(',')) +
           (framed ? QStringLiteral(" framed") : QStringLiteral(" frameless"));
}

}  // namespace

int main(int argc, char** argv)
{
    PreferXWayland();
    return RunProgramOnScratchPorts(argc, argv, [](TMyForm& form, int milliseconds) {
        QWindow* window = form.windowHandle();
        QTimer::singleShot(milliseconds / 3, window, [window] {
            window->setWindowStates(window->windowStates() ^ Qt::WindowMaximized);
        });
        QTimer::singleShot(milliseconds, &form, [&form, window, milliseconds] {
            const bool enlarged = window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen);
            std::printf("%s %dx%d %s %s\n", qPrintable(QGuiApplication::platformName()), form.Panel1->width(),
                        form.Panel1->height(), enlarged ? "maximised" : "normal", qPrintable(Controls(form)));
            std::fflush(stdout);
            QTimer::singleShot(milliseconds / 3, [] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                std::printf("%s %s\n", qPrintable(box->windowTitle()), qPrintable(Controls(*box)));
                std::fflush(stdout);
                box->button(QMessageBox::Ok)->click();
            });
            QtFramework().MessageBox("credits", "About", 0);
            window->close();
        });
    });
}
