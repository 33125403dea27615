// The frequency display: reads 20-byte measurement frames from the port and puts the 13-byte
// reading of each valid one (three spaces first) on the label, until the display is cancelled.
// It runs inside the menu command's handler and pumps the window's messages once per turn, so
// Cancel, the port list, the menus and a second display all work while it runs.
#pragma once

// What the display drives on the window: the navy panel, its label and its Cancel button.
class DisplayPanel {
public:
    virtual ~DisplayPanel() = default;
    virtual void SetPanelVisible(bool visible) = 0;
    virtual void FocusCancelButton() = 0;
    // The label's new text: NUL-terminated bytes in the display font's Windows-1250 character set.
    virtual void SetLabelCaption(const char* text) = 0;
    // Paints the panel, and the label on it, now.
    virtual void RepaintPanel() = 0;
};

// 0 while a display runs, 2 once a stop was asked for.
extern unsigned char DisplayState;

// Runs one display, returning when it ends.
void RunFrequencyDisplay(DisplayPanel& panel);
// Asks every running display to stop; each ends at its next turn.
void StopFrequencyDisplay();
// What the Cancel button does: stop, and hide the panel at once.
void CancelFrequencyDisplay(DisplayPanel& panel);
