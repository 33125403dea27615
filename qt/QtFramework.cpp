#include "QtFramework.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "WaylandSession.h"

namespace {

int ShowBox(QMessageBox::Icon icon, const std::string& caption, const std::string& text)
{
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    FitForWayland(box);
    return box.exec() == QMessageBox::Ok ? 1 : 0;  // IDOK
}

}  // namespace

void QtFramework::ShowMessage(const std::string& text) { ShowBox(QMessageBox::NoIcon, "Zorvalit", text); }

int QtFramework::MessageBox(const std::string& text, const std::string& caption, int)
{
    return ShowBox(QMessageBox::NoIcon, caption, text);
}

void QtFramework::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtFramework::WaitForMessages(int milliseconds)
{
    // The timer's own event wakes the dispatcher when nothing else arrives in time.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(milliseconds);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtFramework::ShowException(const std::exception& error)
{
    ShowBox(QMessageBox::Critical, "Zorvalit", error.what());
}
