// The Qt application object of the program: sets up fonts and icon, and carries an exception
// that escapes an event handler out of the event loop, so that the entry point can show it
// instead of Qt aborting or the exception being lost.
#pragma once

#include <QApplication>

#include <exception>

class ZorvalitApplication : public QApplication {
public:
    ZorvalitApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Rethrows an exception that ended the event loop, if one did.
    void RethrowPending();

private:
    std::exception_ptr pending_;
};
