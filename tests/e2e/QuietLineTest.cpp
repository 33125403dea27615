// A display over a line that carries nothing, end to end: a silent counter, no port at all,
// and a counter that hangs up (and later comes back). The display must wait rather than spin,
// and stay under the user's control.
#include <QComboBox>

#include <gmock/gmock.h>

#include <optional>

#include "DisplayWatch.h"
#include "E2eTest.h"
#include "PollUntil.h"

using ::testing::Each;
using ::testing::IsEmpty;

namespace {

// A generous bound: a display that waits uses well under 1 % of a core; one that spins, 100 %.
constexpr double MostCpuShare = 0.10;

}  // namespace

class QuietLine : public E2eTest {
protected:
    // Lets the display settle, then measures its CPU share over two seconds before cancelling.
    std::optional<double> MeasureDisplay(std::function<bool()> ready = [] { return true; })
    {
        DisplayWatch cpu;
        std::optional<double> share;
        Display(Form())
            .WaitUntil("the line to go quiet", ready, 5000)
            .Wait(300)
            .Do([&] { cpu.Start(); })
            .Wait(2000)
            .Do([&] {
                cpu.Stop();
                share = cpu.share;
            })
            .Do(ClickCancel(Form()))
            .Run();
        return share;
    }
};

TEST_F(QuietLine, SilentCounterCostsLittleCpu)
{
    StartCounter("COM1", {"--fault", "silence:3600000@1"});
    const std::optional<double> share = MeasureDisplay();
    ASSERT_TRUE(share.has_value());
    EXPECT_LT(*share, MostCpuShare);
    EXPECT_EQ(Label().Texts(), std::vector<std::string>{Zero});
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(QuietLine, MissingPortCostsLittleCpu)
{
    const std::optional<double> share = MeasureDisplay();
    ASSERT_TRUE(share.has_value());
    EXPECT_LT(*share, MostCpuShare);
    EXPECT_EQ(framework.messages.size(), 2u) << "at start-up and when the display opens the port";
    EXPECT_THAT(framework.messages, Each(std::string("Could Not Use the 'COM1' Serial Port!")));
}

TEST_F(QuietLine, HangUpCostsLittleCpuAndALaterDisplayReadsTheCounterThatCameBack)
{
    CounterLine& counter = StartCounter(
        "COM1", {"--readings", "11111111,22222222", "--hangup-after", "3", "--reopen-after", "2500"});
    const std::optional<double> share = MeasureDisplay([&] { return counter.Log().HungUp(); });
    ASSERT_TRUE(share.has_value());
    EXPECT_LT(*share, MostCpuShare);
    EXPECT_EQ(Label().Last(), "11.111.111 Hz") << "the third frame was the last before the hang-up";

    PollUntil([&] { return counter.Log().LinesOpened() >= 2; }, 5000);
    ASSERT_EQ(counter.Log().LinesOpened(), 2) << "the counter did not come back";

    const std::size_t paintsBefore = Label().Texts().size();
    Display(Form())
        .WaitUntil("a reading on the new line",
                   [&] { return Label().Texts().size() >= paintsBefore + 2 && Label().Last() != Zero; })
        .Do(ClickCancel(Form()))
        .Run();
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(QuietLine, AfterAHangUpPickingThePortAgainReadsTheCounterThatCameBack)
{
    CounterLine& counter = StartCounter(
        "COM1", {"--readings", "11111111,22222222", "--hangup-after", "2", "--reopen-after", "300"});
    TMyForm& form = Form();
    std::size_t paintsBeforeThePick = 0;
    Display(form)
        .WaitUntil(
            "the counter to come back", [&] { return counter.Log().LinesOpened() == 2; }, 5000)
        .Do([&] {
            paintsBeforeThePick = Label().Texts().size();
            form.CB_COM->setCurrentIndex(0);
            emit form.CB_COM->activated(0);
        })
        .WaitUntil("a reading on the new line", [&] { return Label().Texts().size() > paintsBeforeThePick; })
        .Do(ClickCancel(form))
        .Run();
    EXPECT_EQ(paintsBeforeThePick, 3u) << "0 Hz and the two frames before the hang-up";
    EXPECT_THAT(framework.messages, IsEmpty());
}
