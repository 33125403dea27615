// What reaches the label from the counter's frames, end to end: good readings as the panel
// paints them, and frames that are cut short, lack the three leading spaces, hold a NUL or
// carry Windows-1250 letters.
#include <QImage>
#include <QLabel>

#include <gmock/gmock.h>

#include "E2eTest.h"
#include "Panel.h"

using ::testing::ElementsAreArray;

namespace {

const QRgb Navy = qRgb(0x00, 0x00, 0x80);

bool IsLime(QRgb pixel) { return qGreen(pixel) >= 200 && qRed(pixel) <= 60 && qBlue(pixel) <= 60; }

// Where the lime pixels of an area lie.
struct LimeSpread {
    int count = 0;
    int left = 0;
    int right = 0;
    double meanX = 0;
};

LimeSpread LimeIn(const QImage& image, const QRect& area)
{
    LimeSpread spread{0, area.right() + 1, area.left() - 1, 0};
    double sumX = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsLime(image.pixel(x, y))) {
                ++spread.count;
                spread.left = std::min(spread.left, x);
                spread.right = std::max(spread.right, x);
                sumX += x;
            }
    if (spread.count > 0) spread.meanX = sumX / spread.count;
    return spread;
}

bool AllNavy(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != Navy) return false;
    return true;
}

}  // namespace

class ReadingOnThePanel : public E2eTest {};

TEST_F(ReadingOnThePanel, IsLimeOnNavyAndRightAligned)
{
    StartCounter("COM1", {"--readings", "12345678,5", "--frames", "2"});
    TMyForm& form = Form();
    QImage wide, narrow;
    Display(form)
        .WaitUntil("the eight-digit reading", [&] { return form.ZorvaLabel->text() == "12.345.678 Hz"; })
        .Do([&] { wide = form.ZorvaPanel->grab().toImage().convertToFormat(QImage::Format_RGB32); })
        .WaitUntil("the one-digit reading", [&] { return form.ZorvaLabel->text() == "         5 Hz"; })
        .Do([&] { narrow = form.ZorvaPanel->grab().toImage().convertToFormat(QImage::Format_RGB32); })
        .Do(ClickCancel(form))
        .Run();
    ASSERT_FALSE(wide.isNull());
    ASSERT_FALSE(narrow.isNull());
    ASSERT_EQ(narrow.size(), QSize(582, 160));

    const QRect label = form.ZorvaLabel->geometry();
    const LimeSpread wideText = LimeIn(wide, label);
    const LimeSpread narrowText = LimeIn(narrow, label);
    EXPECT_GT(wideText.count, 2000);
    EXPECT_GT(narrowText.count, 500);
    // Both end at the right edge; the short one starts right of the middle.
    EXPECT_GE(wideText.right, label.right() - 25);
    EXPECT_GE(narrowText.right, label.right() - 25);
    EXPECT_LT(wideText.left, label.left() + label.width() / 4);
    EXPECT_GT(narrowText.left, label.center().x());
    EXPECT_GT(narrowText.meanX, label.left() + label.width() * 3 / 4);

    // Navy behind the text and around it on the panel.
    for (const QImage* image : {&wide, &narrow}) {
        EXPECT_TRUE(AllNavy(*image, QRect(label.left(), label.bottom() - 4, label.width(), 4)));
        EXPECT_TRUE(AllNavy(*image, QRect(10, label.bottom() + 3, 150, 10)));
    }
    EXPECT_TRUE(AllNavy(narrow, QRect(label.left(), label.top(), label.width() / 2, label.height())));
    EXPECT_TRUE(framework.messages.empty());
}

// A run of frames from the counter, and what the label and the message boxes show for it.
struct FrameCase {
    const char* name;
    std::vector<std::string> counterOptions;
    // The label's texts after the display's "0 Hz", in order.
    std::vector<std::string> shown;
    // Each message with the label's text while its box is open.
    std::vector<std::pair<std::string, std::string>> messages;
};

const FrameCase FrameCases[] = {
    {"GoodReadings",
     {"--readings", "12345678,876,5", "--frames", "3"},
     {"12.345.678 Hz", "       876 Hz", "         5 Hz"},
     {}},
    // The cut frame fills bytes 0-7; 8-15 are still those of the frame before.
    {"CutFrame",
     {"--readings", "12345678,87654321,11111111", "--fault", "cut:8@2", "--frames", "3"},
     {"12.345.678 Hz", "87.655.678 Hz", "11.111.111 Hz"},
     {{"Communication error !", "12.345.678 Hz"}}},
    {"FramesWithoutTheLeadingSpaces",
     {"--readings", "11111111,22222222,33333333,44444444,55555555,66666666", "--fault", "nospace@2",
      "--fault", "nospace:0@3", "--fault", "nospace:1@4", "--fault", "nospace:2@5", "--frames", "6"},
     {"11.111.111 Hz", "66.666.666 Hz"},
     {}},
    {"NulInTheReading",
     {"--readings", "12345678,87654321,11111111", "--fault", "nul:4@2", "--frames", "3"},
     {"12.345.678 Hz", "87.6", "11.111.111 Hz"},
     {}},
    {"Windows1250Letters",
     {"--readings", "12345678,87654321", "--fault", "cp1250:3@2", "--frames", "2"},
     {"12.345.678 Hz", "87.\u00b5\u01604.321 Hz"},
     {}},
};

class FramesOnTheLabel : public E2eTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FramesOnTheLabel, ShowWhatTheFrameBufferHolds)
{
    const FrameCase& frames = GetParam();
    CounterLine& counter = StartCounter("COM1", frames.counterOptions);
    TMyForm& form = Form();
    std::vector<std::pair<std::string, std::string>> messages;
    framework.onMessage = [&](const std::string& text) {
        messages.emplace_back(text, form.ZorvaLabel->text().toStdString());
    };
    Display(form)
        .WaitUntil(
            "the counter's last frame", [&] { return counter.Log().HungUp(); }, 5000)
        .Wait(300)
        .Do(ClickCancel(form))
        .Run();

    std::vector<std::string> shown{Zero};
    shown.insert(shown.end(), frames.shown.begin(), frames.shown.end());
    EXPECT_THAT(Label().Texts(), ElementsAreArray(shown));
    EXPECT_THAT(messages, ElementsAreArray(frames.messages));
}

INSTANTIATE_TEST_SUITE_P(Counter, FramesOnTheLabel, ::testing::ValuesIn(FrameCases),
                         [](const auto& info) { return std::string(info.param.name); });
