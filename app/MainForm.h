// What the main window TMyForm does, whichever toolkit draws it: the start-up its constructor
// runs and its event handlers. Each front end's TMyForm derives from MainForm, builds its
// components, realises the port list and the display panel on them, calls StartUp from its
// constructor and the handlers from its events, and shows itself when the program's run asks.
#pragma once

#include "FrequencyDisplay.h"

class MainForm : public DisplayPanel {
public:
    // Shows the window, centred on the screen, for the message loop to serve.
    virtual void Show() = 0;

    // Closing the window: closes the port, and ends a running display, which must not outlive
    // the window.
    void FormClose();
    // The user picked a port in the list.
    void CB_COMChange();
    // Help → About: the credit box.
    void About1Click();
    // Cancel on the display panel.
    void ZorvaCancelButtonClick();
    // Display → Display the Frequency: runs a display until it is cancelled.
    void DisplaytheFrequency1Click();

protected:
    // The constructor's work once the components exist: lists COM1 to COM4, loads the stored
    // choice and selects it, sets the line parameters and time-outs, and opens the port.
    void StartUp();

    // The "Serial Port:" drop-down list, CB_COM.
    virtual void AddPort(const char* name) = 0;
    // Selects an item without it counting as the user's pick.
    virtual void SelectPort(int index) = 0;
    virtual int SelectedPort() const = 0;
};

// The line settings (2400 baud, 8 data bits, no parity, one stop bit) and the idle time-outs.
void SetPortParameters();
