// The entry point: Qt's platform on a Wayland session, the Qt application, its framework services
// and the POSIX serial ports, then the program's run. Always returns 0.
#include "PortLink.h"
#include "PosixSerialDevice.h"
#include "QtFramework.h"
#include "QtProgram.h"
#include "WaylandSession.h"
#include "ZorvalitApplication.h"

int main(int argc, char** argv)
{
    PreferXWayland();
    ZorvalitApplication application(argc, argv);
    QtFramework framework;
    UseFramework(&framework);
    PosixSerialDevice serialPorts;
    UseSerialDevice(&serialPorts);
    return RunQtProgram();
}
