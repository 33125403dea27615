// The program's run once its application object, framework and serial device are in place:
// creates the window, shows it, runs the message loop until the window closes, ends in order on
// a termination signal, and shows an exception that ends it. The entry point calls it, and so do
// tests and benchmarks that need the program exactly as it starts.
#pragma once

#include <functional>

class TMyForm;
class ZorvalitApplication;

// Returns 0, as the entry point does; natively on Wayland the process ends there with 0 instead.
// `shown` runs once the window is up, before the loop.
int RunProgram(ZorvalitApplication& application, const std::function<void(TMyForm&)>& shown = {});
