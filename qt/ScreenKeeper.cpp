#include "ScreenKeeper.h"

#include <dlfcn.h>
#include <wayland-client-core.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <qpa/qplatformnativeinterface.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>
#include <cstring>

namespace {

const QString Reason = QStringLiteral("Showing the frequency reading");
const QString AppId = QStringLiteral("zorvalit");
// Suspend (4) and idle (8), in the portal's and GNOME's session manager's flags alike.
constexpr uint SuspendAndIdle = 4 | 8;

// The window the display runs in: the one normal window on screen.
QWindow* ShownWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->isVisible() && window->type() == Qt::Window) return window;
    }
    return nullptr;
}

// Suspends the X server's screen saver and its display power management for this connection, or
// ends that; the server ends it itself when the connection closes. Returns whether it was done.
bool SuspendXScreenSaver(bool suspend)
{
    // Only on X: the offscreen platform offers the same native interface without a connection.
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_screensaver_id);
    // XWayland runs without the extension: its screen saver is the compositor's business.
    if (!extension || !extension->present) return false;
    // Checked, so that a server without the request answers here rather than in Qt's error log.
    xcb_generic_error_t* error =
        xcb_request_check(connection, xcb_screensaver_suspend_checked(connection, suspend));
    std::free(error);
    return !error;
}

// A session bus the session names; libdbus would otherwise start a bus of its own for the X
// display, which would outlive the program and keep nothing on.
bool SessionBusNamed()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists();
}

QDBusMessage Call(const char* service, const QString& path, const char* interface, const char* method)
{
    return QDBusMessage::createMethodCall(QString::fromLatin1(service), path, QString::fromLatin1(interface),
                                          QString::fromLatin1(method));
}

// The idle-inhibit protocol (idle-inhibit-unstable-v1) as libwayland describes an interface:
// the manager's requests destroy and create_inhibitor(new zwp_idle_inhibitor_v1, wl_surface), the
// inhibitor's destroy.
extern const wl_interface IdleInhibitor;
const wl_interface* CreateInhibitorTypes[] = {&IdleInhibitor, nullptr};
const wl_message ManagerRequests[] = {{"destroy", "", nullptr},
                                      {"create_inhibitor", "no", CreateInhibitorTypes}};
const wl_message InhibitorRequests[] = {{"destroy", "", nullptr}};
const wl_interface IdleInhibitManager = {"zwp_idle_inhibit_manager_v1", 1, 2, ManagerRequests, 0, nullptr};
const wl_interface IdleInhibitor = {"zwp_idle_inhibitor_v1", 1, 1, InhibitorRequests, 0, nullptr};
constexpr uint32_t Destroy = 0, CreateInhibitor = 1, GetRegistry = 1, Bind = 0;

// libwayland-client as Qt's Wayland plugin has loaded it. The program does not link it, which
// would load it, and libffi with it, on X too.
class WaylandClient {
public:
    WaylandClient() : library_(dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_NOLOAD)) {}
    ~WaylandClient()
    {
        if (library_) dlclose(library_);
    }
    WaylandClient(const WaylandClient&) = delete;
    WaylandClient& operator=(const WaylandClient&) = delete;
    bool Loaded() const
    {
        return createQueue && destroyQueue && createWrapper && destroyWrapper && setQueue && marshal &&
               addListener && version && destroy && roundtrip && flush && registryInterface;
    }

    template <class T>
    T* Find(const char* name) const
    {
        return library_ ? reinterpret_cast<T*>(dlsym(library_, name)) : nullptr;
    }

private:
    void* library_;  // before the members below, which are found in it

public:
    decltype(wl_display_create_queue)* const createQueue =
        Find<decltype(wl_display_create_queue)>("wl_display_create_queue");
    decltype(wl_event_queue_destroy)* const destroyQueue =
        Find<decltype(wl_event_queue_destroy)>("wl_event_queue_destroy");
    decltype(wl_proxy_create_wrapper)* const createWrapper =
        Find<decltype(wl_proxy_create_wrapper)>("wl_proxy_create_wrapper");
    decltype(wl_proxy_wrapper_destroy)* const destroyWrapper =
        Find<decltype(wl_proxy_wrapper_destroy)>("wl_proxy_wrapper_destroy");
    decltype(wl_proxy_set_queue)* const setQueue = Find<decltype(wl_proxy_set_queue)>("wl_proxy_set_queue");
    decltype(wl_proxy_marshal_flags)* const marshal =
        Find<decltype(wl_proxy_marshal_flags)>("wl_proxy_marshal_flags");
    decltype(wl_proxy_add_listener)* const addListener =
        Find<decltype(wl_proxy_add_listener)>("wl_proxy_add_listener");
    decltype(wl_proxy_get_version)* const version =
        Find<decltype(wl_proxy_get_version)>("wl_proxy_get_version");
    decltype(wl_proxy_destroy)* const destroy = Find<decltype(wl_proxy_destroy)>("wl_proxy_destroy");
    decltype(wl_display_roundtrip_queue)* const roundtrip =
        Find<decltype(wl_display_roundtrip_queue)>("wl_display_roundtrip_queue");
    decltype(wl_display_flush)* const flush = Find<decltype(wl_display_flush)>("wl_display_flush");
    const wl_interface* const registryInterface = Find<const wl_interface>("wl_registry_interface");
};

}  // namespace

// The compositor's idle inhibitor on the window's surface, while it lives; nothing where the
// compositor does not offer one. Its objects live on an event queue of their own, so that Qt's
// dispatching of its own queue never sees them.
class ScreenKeeper::SurfaceInhibitor {
public:
    explicit SurfaceInhibitor(QWindow* window)
    {
        auto* native = QGuiApplication::platformNativeInterface();
        display_ = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
        auto* surface = static_cast<wl_proxy*>(native->nativeResourceForWindow("surface", window));
        if (!display_ || !surface || !wayland_.Loaded()) return;
        queue_ = wayland_.createQueue(display_);
        auto* wrapper = static_cast<wl_proxy*>(wayland_.createWrapper(display_));
        wayland_.setQueue(wrapper, queue_);
        registry_ = wayland_.marshal(wrapper, GetRegistry, wayland_.registryInterface,
                                     wayland_.version(wrapper), 0, nullptr);
        wayland_.destroyWrapper(wrapper);
        wayland_.addListener(registry_,
                             reinterpret_cast<void (**)()>(const_cast<RegistryListener*>(&Listener)), this);
        wayland_.roundtrip(display_, queue_);
        if (manager_)
            inhibitor_ = wayland_.marshal(manager_, CreateInhibitor, &IdleInhibitor, 1, 0, nullptr, surface);
        wayland_.flush(display_);
    }
    ~SurfaceInhibitor()
    {
        if (inhibitor_) wayland_.marshal(inhibitor_, Destroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
        if (manager_) wayland_.marshal(manager_, Destroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
        if (registry_) wayland_.destroy(registry_);
        if (!queue_) return;
        wayland_.flush(display_);
        wayland_.destroyQueue(queue_);
    }
    SurfaceInhibitor(const SurfaceInhibitor&) = delete;
    SurfaceInhibitor& operator=(const SurfaceInhibitor&) = delete;

private:
    // wl_registry's events, global and global_remove.
    struct RegistryListener {
        void (*global)(void*, wl_proxy*, uint32_t, const char*, uint32_t);
        void (*globalRemoved)(void*, wl_proxy*, uint32_t);
    };
    static void Global(void* data, wl_proxy* registry, uint32_t name, const char* interface, uint32_t)
    {
        auto* self = static_cast<SurfaceInhibitor*>(data);
        if (self->manager_ || std::strcmp(interface, IdleInhibitManager.name) != 0) return;
        self->manager_ = self->wayland_.marshal(registry, Bind, &IdleInhibitManager, 1, 0, name,
                                                IdleInhibitManager.name, 1u, nullptr);
    }
    static void GlobalRemoved(void*, wl_proxy*, uint32_t) {}
    static constexpr RegistryListener Listener = {Global, GlobalRemoved};

    WaylandClient wayland_;
    wl_display* display_ = nullptr;
    wl_event_queue* queue_ = nullptr;
    wl_proxy* registry_ = nullptr;
    wl_proxy* manager_ = nullptr;
    wl_proxy* inhibitor_ = nullptr;
};

ScreenKeeper::ScreenKeeper() = default;

ScreenKeeper::~ScreenKeeper() { Release(); }

void ScreenKeeper::Keep()
{
    if (kept_) return;
    kept_ = true;
    ++turn_;
    xSuspended_ = SuspendXScreenSaver(true);
    if (QGuiApplication::platformName() == QStringLiteral("wayland")) {
        if (QWindow* window = ShownWindow()) surface_ = std::make_unique<SurfaceInhibitor>(window);
    }
    if (SessionBusNamed() && QDBusConnection::sessionBus().isConnected()) Ask(Portal);
}

void ScreenKeeper::Release()
{
    if (!kept_) return;
    kept_ = false;
    if (held_ != NoService) GiveBack(held_, token_);
    held_ = asking_ = NoService;
    token_.clear();
    ForgetPortalRequest();
    surface_.reset();
    if (xSuspended_) SuspendXScreenSaver(false);
    xSuspended_ = false;
}

void ScreenKeeper::Ask(Service service)
{
    asking_ = service;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage call;
    switch (service) {
    case Portal: {
        // The request's path is known before the call, so that its refusal cannot come unheard.
        const QString token = QStringLiteral("zorvalit%1").arg(turn_);
        portalRequest_ =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')), token);
        bus.connect(QString(), portalRequest_, QStringLiteral("org.freedesktop.portal.Request"),
                    QStringLiteral("Response"), this, SLOT(PortalResponded(uint, QVariantMap, QDBusMessage)));
        call = Call("org.freedesktop.portal.Desktop", QStringLiteral("/org/freedesktop/portal/desktop"),
                    "org.freedesktop.portal.Inhibit", "Inhibit");
        call << QString() << SuspendAndIdle
             << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("reason"), Reason}};
        break;
    }
    case SessionManager:
        call = Call("org.gnome.SessionManager", QStringLiteral("/org/gnome/SessionManager"),
                    "org.gnome.SessionManager", "Inhibit");
        call << AppId << 0u << Reason << SuspendAndIdle;
        break;
    case ScreenSaver:
        call = Call("org.freedesktop.ScreenSaver", QStringLiteral("/org/freedesktop/ScreenSaver"),
                    "org.freedesktop.ScreenSaver", "Inhibit");
        call << AppId << Reason;
        break;
    case NoService: return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, service, turn = turn_](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                Answered(service, turn, *answered);
            });
}

void ScreenKeeper::Answered(Service service, quint64 turn, const QDBusPendingCall& call)
{
    const QDBusMessage reply = call.reply();
    const bool awaited = kept_ && turn == turn_ && asking_ == service;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        // Missing, or refused: the next interface.
        if (!awaited) return;
        if (service == Portal) ForgetPortalRequest();
        Ask(static_cast<Service>(service + 1));
        return;
    }
    const QVariant token = reply.arguments().constFirst();
    if (!awaited) {
        GiveBack(service, token);
        return;
    }
    asking_ = NoService;
    held_ = service;
    token_ = token;
}

void ScreenKeeper::PortalResponded(uint response, const QVariantMap&, const QDBusMessage& message)
{
    if (response == 0 || message.path() != portalRequest_) return;
    // The desktop refused, or the portal's backend could not take it: the request is over.
    ForgetPortalRequest();
    if (held_ == Portal) {
        held_ = NoService;
        token_.clear();
    } else if (asking_ != Portal) {
        return;
    }
    Ask(SessionManager);
}

void ScreenKeeper::GiveBack(Service service, const QVariant& token)
{
    QDBusMessage call;
    switch (service) {
    case Portal:
        call = Call("org.freedesktop.portal.Desktop", token.value<QDBusObjectPath>().path(),
                    "org.freedesktop.portal.Request", "Close");
        break;
    case SessionManager:
        call = Call("org.gnome.SessionManager", QStringLiteral("/org/gnome/SessionManager"),
                    "org.gnome.SessionManager", "Uninhibit");
        call << token.toUInt();
        break;
    case ScreenSaver:
        call = Call("org.freedesktop.ScreenSaver", QStringLiteral("/org/freedesktop/ScreenSaver"),
                    "org.freedesktop.ScreenSaver", "UnInhibit");
        call << token.toUInt();
        break;
    case NoService: return;
    }
    QDBusConnection::sessionBus().send(call);
}

void ScreenKeeper::ForgetPortalRequest()
{
    if (portalRequest_.isEmpty()) return;
    QDBusConnection::sessionBus().disconnect(
        QString(), portalRequest_, QStringLiteral("org.freedesktop.portal.Request"),
        QStringLiteral("Response"), this, SLOT(PortalResponded(uint, QVariantMap, QDBusMessage)));
    portalRequest_.clear();
}
