// The program's run, whatever toolkit draws its window: what the entry point does once the
// framework and the serial device are in place. The window is made, shown and served by its
// message loop until it closes; an exception that ends any of that is shown; and on every way
// out the port is given back as it was found. A request to stop from outside (a termination
// signal, the end of the session) ends the run at once, also while a start-up box is up.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "MainForm.h"

// Makes the toolkit's main window; its constructor runs MainForm::StartUp.
using FormMaker = std::function<std::unique_ptr<MainForm>()>;

// Makes the window and, unless a stop was asked for while its constructor's boxes were up, shows
// it and runs the message loop until it closes. `shown` runs once the window is up, before the
// loop. Returns 0.
int RunProgram(const FormMaker& createForm, const std::function<void(MainForm&)>& shown = {});

// What a window handler does with an exception it let escape: every display ends, and so does the
// message loop; RunProgram then shows it.
void EndWithException(std::exception_ptr error);

// Ends the program from outside: no box is shown from now on, every display and the message loop
// end, the box that is open closes, and the port is given back now, since the system may end the
// process at any moment after. A window not shown yet is never shown.
void RequestStop();
