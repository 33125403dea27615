#include "MainForm.h"

#include <cstdio>

#include "AboutText.h"
#include "Framework.h"
#include "PortChoice.h"
#include "PortLink.h"

void MainForm::StartUp()
{
    for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) AddPort(name);
    ReadConfigFile();
    // Not a user's pick: the list's change handler does not run, and the file is not written.
    SelectPort(PortIndex);
    PortOpen = 0;
    PortName = PortNameFor(PortIndex);
    SetPortParameters();
    OpenPort();
}

void MainForm::FormClose()
{
    ClosePort();
    StopFrequencyDisplay();
}

void MainForm::CB_COMChange()
{
    PortIndex = SelectedPort();
    UseChosenPort();
}

void MainForm::About1Click()
{
    char text[400] = {};
    std::snprintf(text, sizeof text, "%s", AboutText);
    Application->MessageBox(text, "About", 0);
}

void MainForm::ZorvaCancelButtonClick() { CancelFrequencyDisplay(*this); }

void MainForm::DisplaytheFrequency1Click() { RunFrequencyDisplay(*this); }

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
