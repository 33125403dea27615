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
        // Qt cannot unwind through its event loop: end the loop and rethrow after it.
        if (!pending_) pending_ = std::current_exception();
        exit(0);
        return false;
    }
}

void ZorvalitApplication::RethrowPending()
{
    if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}
