// zorvalit-bench-bare: a plain Qt window built by the program's own widget-building code, with
// none of its handlers or port logic, to compare the program's start-up and memory with.
// After its first paint it shows the display panel for SHOW_MS, then reports its peak RSS.
// Usage: zorvalit-bench-bare SHOW_MS
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "FormLayout.h"
#include "Panel.h"
#include "WindowProbe.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SHOW_MS\n", argv[0]);
        return 2;
    }
    const int showMs = std::atoi(argv[1]);
    QApplication application(argc, argv);
    InstallFontSubstitutes();

    QMainWindow window;
    const FormComponents components = BuildFormComponents(window);
    // The items the program's window lists, so that both windows hold the same widgets' content.
    components.CB_COM->addItems({"COM1", "COM2", "COM3", "COM4"});

    FirstPaintProbe probe(&window, [&] {
        components.ZorvaPanel->setVisible(true);
        QTimer::singleShot(showMs, &window, [&] {
            ReportPeakRss();
            window.close();
        });
    });
    window.show();
    return application.exec();
}
