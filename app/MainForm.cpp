#include "MainForm.h"

#include <cstdio>

#include "AboutText.h"
#include "Framework.h"
#include "FrequencyDisplay.h"
#include "PortChoice.h"
#include "PortLink.h"

void StartMainForm(PortList& CB_COM)
{
    for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) CB_COM.Add(name);
    ReadConfigFile();
    // Not a user's pick: the list's change handler does not run, and the file is not written.
    CB_COM.SetItemIndex(PortIndex);
    PortOpen = 0;
    PortName = PortNameFor(PortIndex);
    SetPortParameters();
    OpenPort();
}

void SetPortParameters()
{
    LineSettings.DCBlength = 28;
    LineSettings.BaudRate = 2400;
    LineSettings.ByteSize = 8;
    LineSettings.Parity = 0;
    LineSettings.StopBits = 0;
    TimeoutSettings.ReadIntervalTimeout = 120;
    TimeoutSettings.ReadTotalTimeoutMultiplier = 20;
    TimeoutSettings.ReadTotalTimeoutConstant = 2500;
    TimeoutSettings.WriteTotalTimeoutMultiplier = 1;
    TimeoutSettings.WriteTotalTimeoutConstant = 250;
}

void PortListChange(const PortList& CB_COM)
{
    PortIndex = CB_COM.ItemIndex();
    UseChosenPort();
}

void AboutBox()
{
    char text[400] = {};
    std::snprintf(text, sizeof text, "%s", AboutText);
    Application->MessageBox(text, "About", 0);
}

void CloseMainForm()
{
    ClosePort();
    StopFrequencyDisplay();
}
