// The entry point: the Win32 framework services and serial ports, then the program's run with the
// Win32 window. Returns 0.
#include <memory>

#include "MyForm.h"
#include "PortLink.h"
#include "Program.h"
#include "Win32.h"
#include "Win32Framework.h"
#include "Win32SerialDevice.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    Win32Framework framework;
    UseFramework(&framework);
    Win32SerialDevice serialPorts;
    UseSerialDevice(&serialPorts);
    const int status = RunProgram([&] {
        auto form = std::make_unique<TMyForm>(instance, show);
        framework.SetMainWindow(form->Handle);
        return form;
    });
    framework.SetMainWindow(nullptr);
    return status;
}
