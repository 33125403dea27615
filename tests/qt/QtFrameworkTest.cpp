// The framework layer's real Qt paths: a modal box that a timer closes, and message pumping.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <chrono>

#include <gtest/gtest.h>

#include "QtFramework.h"

namespace {

struct SeenBox {
    QString title, text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Once the modal box is up, notes what it shows and presses its OK button.
void CloseTheBoxSoon(SeenBox& seen)
{
    QTimer::singleShot(50, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = static_cast<int>(box->buttons().size());
        seen.icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
}

}  // namespace

TEST(QtFramework, ShowMessageIsARealModalBoxWithOneOkButton)
{
    QtFramework framework;
    SeenBox seen;
    CloseTheBoxSoon(seen);
    framework.ShowMessage("Communication error !");
    EXPECT_EQ(seen.title, "Zorvalit");
    EXPECT_EQ(seen.text, "Communication error !");
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtFramework, MessageBoxTakesItsCaption)
{
    QtFramework framework;
    SeenBox seen;
    CloseTheBoxSoon(seen);
    EXPECT_EQ(framework.MessageBox("credits", "About", 0), 1);
    EXPECT_EQ(seen.title, "About");
    EXPECT_EQ(seen.buttons, 1);
}

TEST(QtFramework, WaitForMessagesReturnsWhenSomethingHappensOrTimeRunsOut)
{
    QtFramework framework;
    for (int i = 0; i < 5; ++i) framework.ProcessMessages();  // what earlier tests left behind
    auto start = std::chrono::steady_clock::now();
    framework.WaitForMessages(120);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

    bool handled = false;
    QTimer::singleShot(10, [&] { handled = true; });
    start = std::chrono::steady_clock::now();
    framework.WaitForMessages(2000);
    EXPECT_TRUE(handled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}
