#include "WaylandSession.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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
    // A maximised or full-screen window must take the size the compositor gives it, or the
    // compositor ends the connection. So the window's limit is lifted while such a state is asked
    // for or held, the window goes back to normal once it has the new size, and the limit returns
    // with the fixed size. Compositors that honour the fixed size hints never ask.
    const auto settle = [&window, handle] {
        const QSize fixed = window.maximumSize();
        if (window.minimumSize() != fixed) return;
        const Qt::WindowStates states = handle->windowStates();
        if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
            handle->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
            // Full screen may keep a smaller size, which the compositor centres; a maximise only
            // once the window has taken the compositor's size can be undone.
            if (handle->size() != fixed || (states & Qt::WindowFullScreen)) {
                QTimer::singleShot(0, handle, [handle] {
                    if (handle->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen))
                        handle->showNormal();
                });
            }
        } else if (handle->size() == fixed) {
            handle->setMaximumSize(fixed);
        }
    };
    QObject::connect(handle, &QWindow::windowStateChanged, handle, settle);
    QObject::connect(handle, &QWindow::widthChanged, handle, settle);
    QObject::connect(handle, &QWindow::heightChanged, handle, settle);
}
