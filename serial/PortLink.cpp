#include "PortLink.h"

#include <cstdio>

#include "Framework.h"

std::string PortName;
PortHandleValue PortHandle = 0;
unsigned char PortOpen = 0;
DCB LineSettings;
DCB WorkingState;
DCB SavedState;
COMMTIMEOUTS TimeoutSettings;
COMMTIMEOUTS WorkingTimeouts;
COMMTIMEOUTS SavedTimeouts;

namespace {

SerialDevice* Device = nullptr;

// Gives the port back as it was found after a failed open, so it is not held until exit.
void ReleaseAfterFailedOpen(bool stateWasApplied)
{
    if (stateWasApplied) Device->RestoreCommState(PortHandle, SavedState);
    Device->SetCommTimeouts(PortHandle, SavedTimeouts);
    Device->CloseHandle(PortHandle);
}

}  // namespace

void UseSerialDevice(SerialDevice* device) { Device = device; }

void OpenPort()
{
    char message[128] = {};
    if (PortOpen == 1) return;

    PortHandle = Device->CreateFile(PortName);
    if (PortHandle == InvalidPortHandle) {
        std::snprintf(message, sizeof message, "Could Not Use the '%s' Serial Port!", PortName.c_str());
        ShowMessage(message);
        return;
    }

    // The saved time-outs are read before the new ones are applied.
    Device->GetCommTimeouts(PortHandle, SavedTimeouts);
    WorkingTimeouts = TimeoutSettings;
    Device->SetCommTimeouts(PortHandle, WorkingTimeouts);

    WorkingState = DCB{};
    WorkingState.DCBlength = 28;
    if (!Device->GetCommState(PortHandle, WorkingState)) {
        std::snprintf(message, sizeof message, "GetCommState Error! (%d)", Device->GetLastError());
        ReleaseAfterFailedOpen(false);
        ShowMessage(message);
        return;
    }
    const DCB found = WorkingState;
    WorkingState.DCBlength = LineSettings.DCBlength;
    WorkingState.BaudRate = LineSettings.BaudRate;
    WorkingState.ByteSize = LineSettings.ByteSize;
    WorkingState.Parity = LineSettings.Parity;
    WorkingState.StopBits = LineSettings.StopBits;

    // Read again before the working copy is applied: this is the state the port had. Should this
    // read fail, the first holds the same port's state; an earlier port's must never be put back.
    if (!Device->GetCommState(PortHandle, SavedState)) SavedState = found;

    if (!Device->SetCommState(PortHandle, WorkingState)) {
        // The program's own text, trailing newline included: kept exactly as users know it.
        std::snprintf(message, sizeof message, "SetCommState Error! (%d)\n", Device->GetLastError());
        ReleaseAfterFailedOpen(true);
        ShowMessage(message);
        return;
    }

    Device->EscapeCommFunction(PortHandle, SETDTR);
    Device->EscapeCommFunction(PortHandle, CLRRTS);
    PortOpen = 1;
}

void ClosePort()
{
    if (PortOpen == 0) return;
    Device->RestoreCommState(PortHandle, SavedState);
    Device->SetCommTimeouts(PortHandle, SavedTimeouts);
    if (Device->CloseHandle(PortHandle))
        PortOpen = 0;
    else
        ShowMessage("COM Close Errror !");  // spelt so on purpose: the program's own text
}

int ReadPortByte()
{
    if (PortOpen == 0) return NoByte;
    unsigned char byte = 0;
    std::uint32_t count = 0;
    Device->ReadFile(PortHandle, byte, count);
    return count != 0 ? byte : NoByte;
}

void SetPortName(const std::string& name)
{
    if (PortOpen == 1) {
        ClosePort();
        PortName = name;
        OpenPort();
    } else {
        PortName = name;
    }
}

int ReadByteLimit(const COMMTIMEOUTS& timeouts)
{
    return static_cast<int>(timeouts.ReadTotalTimeoutMultiplier + timeouts.ReadTotalTimeoutConstant);
}
