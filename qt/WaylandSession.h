// How the program meets a Wayland session: it runs through XWayland where the session has it;
// run natively, a fixed-size window gets a title bar with no maximise and stays at its size
// when it is maximised all the same.
#pragma once

class QWidget;

// Before the application object: names X first, Wayland second, as Qt's platform where both are
// there and neither the user nor the desktop named one.
void PreferXWayland();

// Natively on Wayland, gives the window the program's own title bar and brings the window back
// to its fixed size after a maximise or full-screen request, answering the compositor as the
// protocol demands. Elsewhere does nothing. Call before the window is first shown.
void FitForWayland(QWidget& window);
