#include "QtFramework.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "ScreenKeeper.h"
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

QtFramework::QtFramework() = default;

QtFramework::~QtFramework() = default;

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

void QtFramework::RunMessageLoop() { QApplication::exec(); }

// Every event loop that runs now ends: the application's, and a modal box's.
void QtFramework::EndMessageLoop() { QCoreApplication::exit(0); }

void QtFramework::ShowException(const std::exception& error)
{
    ShowBox(QMessageBox::Critical, "Zorvalit", error.what());
}

void QtFramework::KeepScreenOn(bool keep)
{
    if (!keep) {
        if (screenKeeper_) screenKeeper_->Release();
        return;
    }
    if (!screenKeeper_) screenKeeper_ = std::make_unique<ScreenKeeper>();
    screenKeeper_->Keep();
}
