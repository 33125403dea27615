#include "WaylandSession.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "TitleBar.h"

void PreferXWayland()
{
    // Through X the window manager centres the window and keeps it fixed, as on an X session;
    // Wayland lets no program say where its window goes. Without X Qt falls back to Wayland.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}

void FitForWayland(QWidget& window)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland")) return;
    InstallTitleBar(window);
    window.winId();
    QWindow* handle = window.windowHandle();
    // A maximised window must take the size the compositor gives it, or the compositor ends the
    // connection. So the window's limit is lifted while a maximise is asked for or held, the
    // window asks to go back to normal once it has the new size, and the limit returns with the
    // fixed size. Full screen allows a smaller size, which the compositor centres: the limit stays
    // and the window asks back only where Qt took the larger size all the same. A compositor that
    // answers by enlarging the window again (a kiosk's, which keeps every window full screen) is
    // asked once, not for ever. Compositors that honour the fixed size hints never ask.
    const auto askedBack = std::make_shared<bool>(false);
    const auto settle = [&window, handle, askedBack] {
        const QSize fixed = window.maximumSize();
        if (window.minimumSize() != fixed) return;
        const Qt::WindowStates states = handle->windowStates();
        if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
            if (states & Qt::WindowMaximized) handle->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
            if (handle->size() != fixed && !*askedBack) {
                *askedBack = true;
                QTimer::singleShot(0, handle, [handle] {
                    if (handle->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen))
                        handle->showNormal();
                });
            }
        } else if (handle->size() == fixed) {
            handle->setMaximumSize(fixed);
            *askedBack = false;
        }
    };
    QObject::connect(handle, &QWindow::windowStateChanged, handle, settle);
    QObject::connect(handle, &QWindow::widthChanged, handle, settle);
    QObject::connect(handle, &QWindow::heightChanged, handle, settle);
}

void EndWaylandRun(int exitCode)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland")) return;
    // Destroying the application stops Qt's two Wayland event threads in turn (Qt 6.4 to 6.8). If
    // the main thread had just asked the first to read, it quits without cancelling that read, and
    // the second, woken by the compositor's last events, waits for it in libwayland for ever: the
    // window is gone but the process stays. Closing the socket frees all the compositor holds.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
