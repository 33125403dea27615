// How the program meets a Wayland session: it runs through XWayland where the session has it,
// and a fixed-size window run natively stays at its size when the compositor maximises it.
#pragma once

class QWidget;

// Before the application object: names X first, Wayland second, as Qt's platform where both are
// there and neither the user nor the desktop named one.
void PreferXWayland();

// Natively on Wayland, brings the window back to its fixed size after a maximise or full-screen
// request, answering the compositor as the protocol demands. Elsewhere does nothing.
void KeepFixedSizeOnWayland(QWidget& window);
