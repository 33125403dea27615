// How the program meets a Wayland session: it runs through XWayland where the session has it;
// run natively, a fixed-size window gets a title bar with no maximise and stays at its size
// when it is maximised all the same, and the process ends without Qt's teardown of the connection.
#pragma once

class QWidget;

// Before the application object: names X first, Wayland second, as Qt's platform where both are
// there and neither the user nor the desktop named one.
void PreferXWayland();

// Natively on Wayland, gives the window the program's own title bar and brings the window back
// to its fixed size after a maximise or full-screen request, answering the compositor as the
// protocol demands. Elsewhere does nothing. Call before the window is first shown.
void FitForWayland(QWidget& window);

// Natively on Wayland, ends the process with exitCode at once, the application object still alive:
// Qt's own teardown of the connection can wait for ever. Elsewhere returns. Call once the program
// has finished, its port given back.
void EndWaylandRun(int exitCode);
