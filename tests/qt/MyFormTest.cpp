// The Qt window offscreen: layout, captions, fonts, colours, menus, size, and what its widgets
// wire to the handlers (the stored choice selected as no pick, the list, closing, exceptions).
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <fstream>
#include <memory>
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeSerialDevice.h"
#include "Files.h"
#include "MyForm.h"
#include "Panel.h"
#include "PortChoice.h"
#include "PortLinkSetup.h"
#include "QtFramework.h"
#include "QtProgram.h"
#include "RecordingFramework.h"
#include "TempDir.h"
#include "TitleBar.h"
#include "ZorvalitApplication.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MyFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ConfigFilePath = dir / "zorvalit.cfg";
        PortIndex = 0;
        ResetPortLink(&device);
        PortName.clear();
    }
    void TearDown() override
    {
        form.reset();
        ClosePort();
        ConfigFilePath = ConfigFileName;
    }
    TMyForm& Form()
    {
        if (!form) form = std::make_unique<TMyForm>();
        return *form;
    }

    TempDir dir;
    FakeSerialDevice device;
    Recording<QtFramework> framework;
    std::unique_ptr<TMyForm> form;
};

TEST_F(MyFormTest, WindowIsFixedSizeCentredAndTitled)
{
    TMyForm& f = Form();
    f.show();
    EXPECT_EQ(f.windowTitle(), "Zorvalit");
    EXPECT_EQ(f.centralWidget(), f.Panel1);
    EXPECT_EQ(f.Panel1->geometry(), QRect(0, f.menuBar()->height(), 592, 240));
    EXPECT_EQ(f.height(), f.menuBar()->height() + 240);
    EXPECT_EQ(f.width(), 592);
    EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "cannot be resized";
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowSystemMenuHint);
    const QPoint screenCentre = f.screen()->availableGeometry().center();
    EXPECT_LE((f.geometry().center() - screenCentre).manhattanLength(), 2);
}

TEST_F(MyFormTest, ComponentsStandWhereTheyBelong)
{
    TMyForm& f = Form();
    struct Place {
        QWidget* widget;
        QWidget* parent;
        QRect geometry;
    };
    for (const Place& p :
         {Place{f.GroupBox2, f.Panel1, {496, 184, 92, 50}}, Place{f.CB_COM, f.GroupBox2, {10, 20, 71, 21}},
          Place{f.ZorvaPanel, f.Panel1, {5, 10, 582, 160}},
          Place{f.ZorvaLabel, f.ZorvaPanel, {5, 8, 572, 97}},
          Place{f.ZorvaCancelButton, f.ZorvaPanel, {200, 125, 182, 25}}}) {
        EXPECT_EQ(p.widget->parentWidget(), p.parent) << p.widget->metaObject()->className();
        EXPECT_EQ(p.widget->geometry(), p.geometry) << p.widget->metaObject()->className();
    }
}

TEST_F(MyFormTest, CaptionsColoursAndVisibility)
{
    TMyForm& f = Form();
    f.show();
    EXPECT_EQ(f.GroupBox2->title(), "Serial Port:");
    EXPECT_EQ(f.ZorvaPanel->Caption(), "Zorvapanel");
    EXPECT_EQ(f.Panel1->Caption(), "");
    EXPECT_EQ(f.ZorvaLabel->text(), "10.032.768 Hz");
    EXPECT_EQ(f.ZorvaLabel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(f.ZorvaLabel->textFormat(), Qt::PlainText);
    EXPECT_EQ(f.ZorvaCancelButton->text(), "Cancel");
    EXPECT_EQ(f.ZorvaPanel->palette().color(QPalette::Window), QColor("#000080"));
    EXPECT_EQ(f.ZorvaLabel->palette().color(QPalette::Window), QColor("#000080"));
    EXPECT_EQ(f.ZorvaLabel->palette().color(QPalette::WindowText), QColor("#00FF00"));
    EXPECT_FALSE(f.ZorvaPanel->isVisible());
    EXPECT_TRUE(f.GroupBox2->isVisible());
    EXPECT_FALSE(f.CB_COM->isEditable());
}

TEST_F(MyFormTest, FontsAreOfTheirPixelHeightsAndFallBackToLookAlikes)
{
    TMyForm& f = Form();
    EXPECT_EQ(f.font().family(), "MS Sans Serif");
    EXPECT_EQ(f.font().pixelSize(), 11);
    EXPECT_EQ(f.ZorvaLabel->font().family(), "Comic Sans MS");
    EXPECT_EQ(f.ZorvaLabel->font().pixelSize(), 80);
    EXPECT_EQ(QFontInfo(f.ZorvaLabel->font()).family(), "Comic Neue");
    EXPECT_EQ(QFontInfo(f.CB_COM->font()).family(), "DejaVu Sans");
}

TEST_F(MyFormTest, HelpStandsLeftOfDisplay)
{
    TMyForm& f = Form();
    const QList<QAction*> menus = f.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&Help");
    EXPECT_EQ(menus[1]->text(), "&Display");
    EXPECT_EQ(menus[0]->menu(), f.Help1);
    EXPECT_EQ(menus[1]->menu(), f.Display1);
    EXPECT_THAT(f.Help1->actions(), ElementsAre(f.About1));
    EXPECT_THAT(f.Display1->actions(), ElementsAre(f.DisplaytheFrequency1));
    EXPECT_EQ(f.About1->text(), "&About");
    EXPECT_EQ(f.DisplaytheFrequency1->text(), "Display the Frequency");
}

TEST_F(MyFormTest, TabGoesFromThePortListToCancel)
{
    TMyForm& f = Form();
    QWidget* next = f.CB_COM->nextInFocusChain();
    while (next != f.CB_COM && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    EXPECT_EQ(next, f.ZorvaCancelButton);
}

TEST_F(MyFormTest, IconIsThirtyTwoPixelsSquare)
{
    const QIcon icon = Form().windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    EXPECT_EQ(QApplication::windowIcon().cacheKey(), icon.cacheKey());
    const QImage image = icon.pixmap(32, 32).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) colours.insert(image.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
}

TEST_F(MyFormTest, StartsOnTheStoredPortWithoutRewritingTheFile)
{
    std::ofstream(ConfigFilePath) << "\nSerialport:COM3 ";
    TMyForm& f = Form();
    EXPECT_EQ(f.CB_COM->currentIndex(), 2);
    EXPECT_EQ(PortName, "COM3");
    EXPECT_THAT(device.calls, Contains("CreateFile COM3"));
    EXPECT_EQ(Contents(ConfigFilePath), "\nSerialport:COM3 ");
}

TEST_F(MyFormTest, PickingAPortInTheListMovesThePortAndKeepsTheChoice)
{
    TMyForm& f = Form();
    f.show();
    device.calls.clear();
    f.CB_COM->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(f.CB_COM, Qt::Key_Down);
    EXPECT_EQ(f.CB_COM->currentText(), "COM4");
    EXPECT_EQ(PortName, "COM4");
    EXPECT_EQ(device.calls.back(), "CLRRTS");
    EXPECT_THAT(device.calls, Contains("CreateFile COM4"));
    EXPECT_EQ(Contents(ConfigFilePath), "Serialport:COM4\n");
}

TEST_F(MyFormTest, ClosingTheWindowClosesThePort)
{
    TMyForm& f = Form();
    f.show();
    device.calls.clear();
    f.close();
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, ElementsAre("RestoreCommState 0", "SetCommTimeouts 0", "CloseHandle"));
}

// Natively on Wayland the window draws its own title bar: above the menu, with the client area
// and the fixed size as before, and its close box takes the window's way out.
TEST_F(MyFormTest, OwnTitleBarKeepsTheClientAreaAndItsCloseBoxClosesThePort)
{
    TMyForm& f = Form();
    InstallTitleBar(f);
    f.show();
    const auto* bar = f.findChild<QWidget*>("titleBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 592, bar->height()));
    EXPECT_EQ(f.Panel1->geometry(), QRect(0, bar->height() + f.menuBar()->height(), 592, 240));
    EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "cannot be resized";
    EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);

    device.calls.clear();
    bar->findChild<QToolButton*>("close")->click();
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, ElementsAre("RestoreCommState 0", "SetCommTimeouts 0", "CloseHandle"));
}

// The menu's handler is the program's own: what it throws (here the framework's box) ends the
// event loop and reaches the run, which shows it with the port given back, on every
// architecture. On 32-bit ARM no exception can pass through Qt's Widgets frames, so it must be
// caught before it reaches them.
TEST_F(MyFormTest, ExceptionFromAHandlerEndsTheLoopAndReachesTheEntryPoint)
{
    framework.onMessage = [](const std::string&) { throw std::runtime_error("the framework failed"); };
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // a guard, should the loop not end
    EXPECT_EQ(RunQtProgram([](TMyForm& form) { QTimer::singleShot(0, [&form] { form.About1->trigger(); }); }),
              0);
    EXPECT_THAT(framework.exceptions, ElementsAre("the framework failed"));
    EXPECT_EQ(PortOpen, 0);
}
