// The entry point: the Win32 framework services and serial ports, then the window and its
// message loop until the window closes. An exception that ends the program is shown. Returns 0.
#include <exception>

#include "MyForm.h"
#include "PortLink.h"
#include "Win32.h"
#include "Win32Framework.h"
#include "Win32SerialDevice.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    Win32Framework framework;
    UseFramework(&framework);
    Win32SerialDevice serialPorts;
    UseSerialDevice(&serialPorts);
    try {
        TMyForm form(instance);
        MyForm = &form;
        framework.SetMainWindow(form.Handle);
        form.Show(show);
        framework.RunMessageLoop();
    } catch (const std::exception& error) {
        Application->ShowException(error);
        // The port goes back as the system had it, also when the window's close never ran.
        ClosePort();
    }
    MyForm = nullptr;
    framework.SetMainWindow(nullptr);
    return 0;
}
