// The window's widget tree: window flags and font, the panels, the "Serial Port:" list, the
// display label and its Cancel button, the menus, the fixed size and the place on the screen.
// It is built onto any QMainWindow with no handlers connected, so the program's window and
// the benchmark's bare window are the same widgets.
#pragma once

#include <QColor>

#include "FormDesign.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class TPanel;

// A design colour as Qt's.
QColor ColorOf(Colour colour);

// The components, owned by the window they were built onto.
using FormComponents =
    FormParts<TPanel*, QGroupBox*, QComboBox*, QMenuBar*, QMenu*, QAction*, QLabel*, QPushButton*>;

// Builds the widgets onto `window`, sizes it and centres it on its screen.
FormComponents BuildFormComponents(QMainWindow& window);

// Maps the window's font families, absent on Linux, to look-alikes that the system ships.
void InstallFontSubstitutes();
