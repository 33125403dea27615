// What the main window TMyForm does, whichever toolkit draws it: the start-up its constructor
// runs, and the logic of its handlers for the port list, Help → About and closing. Each front
// end builds the window and calls these; the display's handlers are in FrequencyDisplay.h.
#pragma once

// The "Serial Port:" drop-down list, as the window's logic uses it.
class PortList {
public:
    virtual ~PortList() = default;
    virtual void Add(const char* item) = 0;
    // Selects an item without it counting as the user's pick.
    virtual void SetItemIndex(int index) = 0;
    virtual int ItemIndex() const = 0;
};

// The constructor's work once the components exist: lists COM1 to COM4, loads the stored
// choice and selects it, sets the line parameters and time-outs, and opens the port.
void StartMainForm(PortList& CB_COM);
// The line settings (2400 baud, 8 data bits, no parity, one stop bit) and the idle time-outs.
void SetPortParameters();
// CB_COMChange: the user picked a port in the list.
void PortListChange(const PortList& CB_COM);
// About1Click: the credit box.
void AboutBox();
// FormClose: closes the port, and ends a running display, which must not outlive the window.
void CloseMainForm();
