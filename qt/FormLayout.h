// The window's widget tree: window flags and font, the panels, the "Serial Port:" list, the
// display label and its Cancel button, the menus, the fixed size and the place on the screen.
// It is built onto any QMainWindow with no handlers connected, so the program's window and
// the benchmark's bare window are the same widgets.
#pragma once

#include <QColor>

#include <cstdint>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class TPanel;

// A design colour (0xRRGGBB) as Qt's.
QColor ColorOf(std::uint32_t rgb);

// The components, owned by the window they were built onto.
struct FormComponents {
    TPanel* Panel1;
    QGroupBox* GroupBox2;
    QComboBox* CB_COM;
    QMenuBar* MainMenu1;
    QMenu* Help1;
    QMenu* Display1;
    QAction* About1;
    QAction* DisplaytheFrequency1;
    TPanel* ZorvaPanel;
    QLabel* ZorvaLabel;
    QPushButton* ZorvaCancelButton;
};

// Builds the widgets onto `window`, sizes it and centres it on its screen.
FormComponents BuildFormComponents(QMainWindow& window);

// Maps the window's font families, absent on Linux, to look-alikes that the system ships.
void InstallFontSubstitutes();
