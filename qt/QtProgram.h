// The program's run on Qt, once the application object, framework and serial device are in
// place: the run of every front end (RunProgram) with TMyForm as the window, termination signals
// as stop requests, and Wayland's way out. The entry point calls it, and so do tests and
// benchmarks that need the program exactly as it starts.
#pragma once

#include <functional>

class TMyForm;

// Returns 0, as the entry point does; natively on Wayland the process ends there with 0 instead.
// `shown` runs once the window is up, before the loop.
int RunQtProgram(const std::function<void(TMyForm&)>& shown = {});
