'''A python3-dbusmock template standing in for a desktop's services that keep the screen on, each
only where the parameter "services" names it: "gnome", GNOME's session manager with the shell's
screen saver beside it (xdg-desktop-portal-gtk inhibits through the one when it finds both), and
"screensaver", org.freedesktop.ScreenSaver. Like the real services, they drop the requests of a
client that leaves the bus. The main object's Held() lists the requests held, each as
"SERVICE APP FLAGS".
'''
import dbus
import dbus.service

BUS_NAME = 'org.zorvalit.TestDesktop'
MAIN_OBJ = '/org/zorvalit/TestDesktop'
MAIN_IFACE = 'org.zorvalit.TestDesktop'
SYSTEM_BUS = False

HELD = {}  # cookie: (service, app, flags, sender)


def hold(service, app, flags, sender):
    cookie = max(HELD, default=0) + 1
    HELD[cookie] = (service, app or '-', int(flags), sender)
    return dbus.UInt32(cookie)


def client_left(name, _old, new):
    for cookie in [c for c, request in HELD.items() if request[3] == name and not new]:
        del HELD[cookie]


class Service(dbus.service.Object):
    # dbusmock looks a call's method up in "methods" first, then where dbus-python puts it.
    methods = {}
    interface = ''


class SessionManager(Service):
    @dbus.service.method('org.gnome.SessionManager', in_signature='susu', out_signature='u', sender_keyword='sender')
    def Inhibit(self, app, _window, _reason, flags, sender=None):
        return hold('session-manager', app, flags, sender)

    @dbus.service.method('org.gnome.SessionManager', in_signature='u', out_signature='')
    def Uninhibit(self, cookie):
        HELD.pop(int(cookie), None)


class GnomeScreenSaver(Service):
    @dbus.service.method('org.gnome.ScreenSaver', in_signature='', out_signature='b')
    def GetActive(self):
        return False


class ScreenSaver(Service):
    @dbus.service.method('org.freedesktop.ScreenSaver', in_signature='ss', out_signature='u', sender_keyword='sender')
    def Inhibit(self, app, _reason, sender=None):
        return hold('screensaver', app, 8, sender)

    @dbus.service.method('org.freedesktop.ScreenSaver', in_signature='u', out_signature='')
    def UnInhibit(self, cookie):
        HELD.pop(int(cookie), None)


OFFERED = {'gnome': [(SessionManager, 'org.gnome.SessionManager', '/org/gnome/SessionManager'),
                     (GnomeScreenSaver, 'org.gnome.ScreenSaver', '/org/gnome/ScreenSaver')],
           'screensaver': [(ScreenSaver, 'org.freedesktop.ScreenSaver', '/org/freedesktop/ScreenSaver')]}


def load(mock, parameters):
    bus = mock.bus_name.get_bus()
    bus.add_signal_receiver(client_left, 'NameOwnerChanged', 'org.freedesktop.DBus', 'org.freedesktop.DBus',
                            '/org/freedesktop/DBus')
    mock.services = [(kind(bus, path), dbus.service.BusName(name, bus, do_not_queue=True))
                     for service in parameters.get('services', []) for kind, name, path in OFFERED[service]]
    mock.held = HELD
    mock.AddMethod(MAIN_IFACE, 'Held', '', 'as', 'ret = ["%s %s %d" % r[:3] for r in self.held.values()]')
