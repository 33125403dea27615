// A title bar the program draws itself, for a Wayland compositor that leaves the decoration to
// its clients: the one Qt draws there offers a maximise button whatever the window's size limits.
// This one shows the window's caption and only the controls its flags ask for (system menu,
// minimise box, close box); dragging it moves the window through the compositor, and nothing
// on it maximises. Alt+F4 closes the window, as the system menu says.
#pragma once

class QWidget;

// Makes the top-level `window` frameless and puts the title bar above its contents, which keep
// their size. Call before the window is first shown.
void InstallTitleBar(QWidget& window);
