#include "ZorvalitApplication.h"

#include <QIcon>
#include <QPixmap>

#include "FormLayout.h"
#include "Program.h"

ZorvalitApplication::ZorvalitApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The resources live in a static library: without this the linker would leave them out.
    Q_INIT_RESOURCE(zorvalit);
    setApplicationName("zorvalit");
    // The desktop entry's name, which a Wayland compositor matches the window with.
    setDesktopFileName("com.example.brightmoor.zorvalit");
    setWindowIcon(QIcon(QPixmap(":/zorvalit.png")));
    InstallFontSubstitutes();
}

// Qt cannot unwind through its event loop: the run ends the loop and rethrows after it.
bool ZorvalitApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        EndWithException(std::current_exception());
        return false;
    }
}

// Catching in the handler itself is what works on 32-bit ARM: there Debian's Qt Widgets and Gui
// carry no unwind tables, so an exception cannot pass through their frames to notify() above
// and would end the program in std::terminate.
void ZorvalitApplication::RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        EndWithException(std::current_exception());
    }
}
