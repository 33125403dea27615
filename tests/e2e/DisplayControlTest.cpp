// What the user can do while a display runs, end to end: cancel it, move it to another port,
// open the About box, and start a second display inside the first.
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <gmock/gmock.h>

#include "AboutText.h"
#include "E2eTest.h"
#include "Files.h"
#include "FrequencyDisplay.h"
#include "Panel.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "Pty.h"

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DuringADisplay : public E2eTest {};

TEST_F(DuringADisplay, CancelHidesThePanelAtOnceAndTheNextOpenUsesTheLongTimeout)
{
    StartCounter("COM1", {"--readings", "12345678"});
    Pty otherPort;
    devices.Link("COM2", otherPort.path());
    TMyForm& form = Form();
    bool hiddenByTheClick = false;
    QElapsedTimer sinceClick;
    Display(form)
        .WaitUntil("a reading", [&] { return Label().Last() == "12.345.678 Hz"; })
        .Do(ClickCancel(form))
        .Do([&] {
            hiddenByTheClick = !form.ZorvaPanel->isVisible();
            sinceClick.start();
        })
        .Run();
    EXPECT_TRUE(hiddenByTheClick);
    EXPECT_LT(sinceClick.elapsed(), 1000) << "the display ends at its next turn";
    EXPECT_FALSE(form.ZorvaPanel->isVisible());
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 150u) << "the port is not reopened at the end";

    form.CB_COM->setFocus();
    QTest::keyClick(form.CB_COM, Qt::Key_Down);
    EXPECT_EQ(PortName, "COM2");
    EXPECT_EQ(PortOpen, 1);
    EXPECT_EQ(WorkingTimeouts.ReadTotalTimeoutConstant, 2500u);
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(DuringADisplay, PickingAnotherPortMovesTheDisplayToItsCounterAndKeepsTheChoice)
{
    StartCounter("COM1", {"--readings", "11111111"});
    StartCounter("COM2", {"--readings", "22222222"});
    TMyForm& form = Form();
    std::size_t paintsBeforeThePick = 0;
    Display(form)
        .WaitUntil("counter A", [&] { return Label().Last() == "11.111.111 Hz"; })
        .Do([&] {
            paintsBeforeThePick = Label().Texts().size();
            form.CB_COM->setFocus();
            QTest::keyClick(form.CB_COM, Qt::Key_Down);
        })
        .WaitUntil("counter B", [&] { return Label().Last() == "22.222.222 Hz"; })
        .Wait(500)
        .Do(ClickCancel(form))
        .Run();
    EXPECT_THAT(Label().Texts(), ElementsAre(Zero, "11.111.111 Hz", "22.222.222 Hz"));
    EXPECT_EQ(paintsBeforeThePick, 2u);
    EXPECT_EQ(form.CB_COM->currentText(), "COM2");
    EXPECT_EQ(PortName, "COM2");
    EXPECT_EQ(Contents(ConfigFilePath), "Serialport:COM2\n");
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(DuringADisplay, AboutBoxPausesItWhileItIsOpen)
{
    CounterLine& counter = StartCounter("COM1", {"--readings", "11111111,22222222,33333333"});
    TMyForm& form = Form();
    // While the box is open the label keeps its text; a paint of that text still pending when
    // the box opened may land.
    QString textAtOpen;
    std::vector<std::string> paintedWhileOpen;
    bool boxClosed = false;
    bool counterWentOn = false;
    framework.onMessage = [&](const std::string&) {
        textAtOpen = form.ZorvaLabel->text();
        const std::size_t paintsAtOpen = Label().Texts().size();
        const int framesAtOpen = counter.Log().FramesBegun();
        counterWentOn =
            QTest::qWaitFor([&] { return counter.Log().FramesBegun() - framesAtOpen >= 5; }, 5000);
        paintedWhileOpen.assign(Label().Texts().begin() + paintsAtOpen, Label().Texts().end());
        EXPECT_EQ(form.ZorvaLabel->text(), textAtOpen);
        boxClosed = true;
    };
    std::size_t paintsAfterTheBox = 0;
    Display(form)
        .WaitUntil("a reading", [&] { return Label().Texts().size() >= 2; })
        .Do(Later([&] { form.About1->trigger(); }))
        .WaitUntil("the box to close", [&] { return boxClosed; })
        .Do([&] { paintsAfterTheBox = Label().Texts().size(); })
        .WaitUntil("two more readings", [&] { return Label().Texts().size() >= paintsAfterTheBox + 2; })
        .Do(ClickCancel(form))
        .Run();
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].text, AboutText);
    EXPECT_TRUE(counterWentOn) << "the counter did not send five frames while the box was open";
    EXPECT_THAT(paintedWhileOpen, Each(textAtOpen.toStdString()));
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(DuringADisplay, ASecondDisplayStartedInsideItEndsWithItOnOneCancel)
{
    StartCounter("COM1", {"--readings", "11111111,22222222"});
    TMyForm& form = Form();
    bool innerEnded = false;
    Display(form)
        .WaitUntil("a reading", [&] { return Label().Texts().size() >= 2; })
        .Do(Later([&] {
            form.DisplaytheFrequency1->trigger();
            innerEnded = true;
        }))
        .WaitUntil("the second display's first reading",
                   [&] { return Label().Count(Zero) == 2 && Label().Last() != Zero; })
        .Do(ClickCancel(form))
        .Run();
    EXPECT_TRUE(innerEnded);
    EXPECT_FALSE(form.ZorvaPanel->isVisible());
    EXPECT_EQ(DisplayState, 2);
    EXPECT_EQ(TimeoutSettings.ReadTotalTimeoutConstant, 2500u);
    EXPECT_THAT(framework.messages, IsEmpty());
}
