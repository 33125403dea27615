// zorvalit-bench-bare: a plain Qt window with the program's widgets (same types, sizes, texts,
// fonts and colours) and none of its logic, to compare the program's start-up and memory with.
// After its first paint it shows the display panel for SHOW_MS, then reports its peak RSS.
// Usage: zorvalit-bench-bare SHOW_MS
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "WindowProbe.h"

namespace {

QFont FontOfHeight(const char* family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

QFrame* Panel(QWidget* parent)
{
    QFrame* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

void ColourBackground(QWidget* widget, const QColor& colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SHOW_MS\n", argv[0]);
        return 2;
    }
    const int showMs = std::atoi(argv[1]);
    QApplication application(argc, argv);

    QMainWindow window;
    window.setWindowTitle("Bare");
    window.setFont(FontOfHeight("DejaVu Sans", 11));
    QFrame* central = Panel(&window);
    central->setFixedSize(592, 240);
    window.setCentralWidget(central);

    QGroupBox* group = new QGroupBox("Serial Port:", central);
    group->setGeometry(496, 184, 92, 50);
    QComboBox* ports = new QComboBox(group);
    ports->setGeometry(10, 20, 71, 21);
    ports->addItems({"COM1", "COM2", "COM3", "COM4"});

    QFrame* panel = Panel(central);
    panel->setGeometry(5, 10, 582, 160);
    ColourBackground(panel, QColor(0x00, 0x00, 0x80));
    panel->setVisible(false);
    QLabel* label = new QLabel("10.032.768 Hz", panel);
    label->setGeometry(5, 8, 572, 97);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setFont(FontOfHeight("Comic Neue", 80));
    QPalette labelColours = label->palette();
    labelColours.setColor(QPalette::WindowText, QColor(0x00, 0xFF, 0x00));
    label->setPalette(labelColours);
    ColourBackground(label, QColor(0x00, 0x00, 0x80));
    QPushButton* cancel = new QPushButton("Cancel", panel);
    cancel->setGeometry(200, 125, 182, 25);

    QMenu* help = window.menuBar()->addMenu("&Help");
    help->addAction("&About");
    QMenu* display = window.menuBar()->addMenu("&Display");
    display->addAction("Display the Frequency");

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.adjustSize();
    window.setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(), window.screen()->availableGeometry()));

    FirstPaintProbe probe(&window, [&] {
        panel->setVisible(true);
        QTimer::singleShot(showMs, &window, [&] {
            ReportPeakRss();
            window.close();
        });
    });
    window.show();
    return application.exec();
}
