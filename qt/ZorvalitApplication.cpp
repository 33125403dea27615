#include "ZorvalitApplication.h"

#include <QIcon>
#include <QPixmap>

#include "FormLayout.h"

ZorvalitApplication::ZorvalitApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The resources live in a static library: without this the linker would leave them out.
    Q_INIT_RESOURCE(zorvalit);
    setApplicationName("zorvalit");
    setWindowIcon(QIcon(QPixmap(":/zorvalit.xpm")));
    InstallFontSubstitutes();
}

bool ZorvalitApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Carry(std::current_exception());
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
        auto* application = dynamic_cast<ZorvalitApplication*>(QCoreApplication::instance());
        if (!application) throw;
        application->Carry(std::current_exception());
    }
}

// Qt cannot unwind through its event loop: end the loop and rethrow after it.
void ZorvalitApplication::Carry(std::exception_ptr exception)
{
    if (!pending_) pending_ = std::move(exception);
    exit(0);
}

void ZorvalitApplication::RethrowPending()
{
    if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}
