// The Qt application object of the program: sets up fonts and icon, and hands an exception that
// escapes an event handler to the program's run, which ends the event loop and shows it, instead
// of Qt aborting or the exception being lost.
#pragma once

#include <QApplication>

#include <functional>

class ZorvalitApplication : public QApplication {
public:
    ZorvalitApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Runs one of the program's handlers of a Qt signal or event: an exception from it ends the
    // event loop and is carried out of it, caught before it meets Qt's own frames.
    static void RunHandler(const std::function<void()>& handler);
};
