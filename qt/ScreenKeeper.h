// Keeps the screen on and the machine awake while a display runs, with the standard interfaces
// the session offers, each where it applies: the X server's own screen saver and power saving,
// suspended as video players do; the compositor's idle inhibitor on the window's surface when the
// program runs natively on Wayland; and one request on the session bus: the desktop portal's
// Inhibit, or where the portal is missing or refuses, GNOME's session manager, or
// org.freedesktop.ScreenSaver. Each is held on one of the program's own connections, so the X
// server, the compositor and the bus drop it when the program ends in any way. Nothing is asked,
// and no connection made, before the first Keep.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class QDBusMessage;
class QDBusPendingCall;

class ScreenKeeper : public QObject {
    Q_OBJECT
public:
    ScreenKeeper();
    ~ScreenKeeper() override;

    // Asks for the screen to stay on, for the program's window on screen; returns at once.
    void Keep();
    // Gives back all that Keep asked for, also what the desktop has not answered yet.
    void Release();

private slots:
    void PortalResponded(uint response, const QVariantMap& results, const QDBusMessage& message);

private:
    // The session bus's interfaces, in the order they are tried.
    enum Service { Portal, SessionManager, ScreenSaver, NoService };

    void Ask(Service service);
    void Answered(Service service, quint64 turn, const QDBusPendingCall& call);
    void GiveBack(Service service, const QVariant& token);
    void ForgetPortalRequest();

    class SurfaceInhibitor;

    bool kept_ = false;
    // Counts the Keeps, so that an answer to an earlier one is given back at once.
    quint64 turn_ = 0;
    bool xSuspended_ = false;
    std::unique_ptr<SurfaceInhibitor> surface_;
    Service asking_ = NoService;
    Service held_ = NoService;
    // What gives the held request back: the portal's request handle or the service's cookie.
    QVariant token_;
    // The portal request whose refusal would move on to the next interface.
    QString portalRequest_;
};
