#include "FrequencyDisplay.h"

#include <cstring>

#include "Framework.h"
#include "PortLink.h"

unsigned char DisplayState = 0;

namespace {

constexpr int FrameSize = 20;
constexpr int ReadingOffset = 3;
constexpr int ReadingSize = 13;
constexpr int DisplayTimeout = 150;
constexpr int IdleTimeout = 2500;

bool StartsWithThreeSpaces(const unsigned char* frame)
{
    return frame[0] == ' ' && frame[1] == ' ' && frame[2] == ' ';
}

// Held by every running display from its panel shown to its end, however it ends: the outermost
// one asks the framework to keep the screen on and gives that back; displays started inside it
// share its one request.
class ScreenKeptOn {
public:
    ScreenKeptOn()
    {
        if (holders == 0) KeepScreenOn(true);
        ++holders;
    }
    ~ScreenKeptOn()
    {
        if (--holders == 0) KeepScreenOn(false);
    }
    ScreenKeptOn(const ScreenKeptOn&) = delete;
    ScreenKeptOn& operator=(const ScreenKeptOn&) = delete;

private:
    static inline int holders = 0;
};

}  // namespace

void RunFrequencyDisplay(DisplayPanel& panel)
{
    // Not cleared between frames: a frame cut short keeps the tail of an earlier one.
    unsigned char frame[FrameSize] = {};
    char reading[ReadingSize + 1] = {};

    ClosePort();
    TimeoutSettings.ReadTotalTimeoutConstant = DisplayTimeout;
    OpenPort();
    panel.SetPanelVisible(true);
    const ScreenKeptOn keptOn;
    panel.FocusCancelButton();
    panel.SetLabelCaption("         0 Hz");
    DisplayState = 0;

    while (DisplayState != 2) {
        panel.RepaintPanel();
        // A closed port answers at once; then the turn waits for window messages instead, for
        // as long as a read would have waited, so an idle display does not spin.
        const bool readWaits = PortOpen == 1;
        int c = ReadPortByte();
        if (c != NoByte) {
            frame[0] = static_cast<unsigned char>(c);
            for (int i = 1; i < FrameSize; ++i) {
                c = ReadPortByte();
                if (c == NoByte) {
                    ShowMessage("Communication error !");
                    break;
                }
                frame[i] = static_cast<unsigned char>(c);
            }
            if (StartsWithThreeSpaces(frame)) {
                std::memcpy(reading, frame + ReadingOffset, ReadingSize);
                reading[ReadingSize] = '\0';
                panel.SetLabelCaption(reading);
            }
        }
        if (readWaits)
            Application->ProcessMessages();
        else
            Application->WaitForMessages(ReadByteLimit(TimeoutSettings));
    }

    panel.SetPanelVisible(false);
    TimeoutSettings.ReadTotalTimeoutConstant = IdleTimeout;
}

void StopFrequencyDisplay() { DisplayState = 2; }

void CancelFrequencyDisplay(DisplayPanel& panel)
{
    StopFrequencyDisplay();
    panel.SetPanelVisible(false);
}
