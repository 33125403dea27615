// Renders the pictures of the real window for the documentation, offscreen: the idle window,
// the window showing a reading, and the About box. It touches no serial port and no real port
// choice: ports are looked up in an empty scratch folder and the choice is kept there too.
// Usage: zorvalit-screenshots OUTPUT-FOLDER
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>

#include "MyForm.h"
#include "PortChoice.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"
#include "QtFramework.h"
#include "ZorvalitApplication.h"

namespace {

// The program's own boxes, less the message that no port could be opened, which is expected here.
class NoPortMessages : public QtFramework {
public:
    void ShowMessage(const std::string&) override {}
};

bool Save(QWidget* widget, const QDir& folder, const char* name)
{
    const QString path = folder.filePath(name);
    if (widget != nullptr && widget->grab().save(path, "PNG")) return true;
    std::fprintf(stderr, "zorvalit-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ZorvalitApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvalit-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    if (!output.exists() || !scratch.isValid()) {
        std::fprintf(stderr, "zorvalit-screenshots: no folder %s, or no scratch folder\n", argv[1]);
        return 1;
    }
    ConfigFilePath = scratch.filePath("zorvalit.cfg").toStdString();
    NoPortMessages framework;
    UseFramework(&framework);
    PosixSerialDevice noPorts(scratch.path().toStdString());
    UseSerialDevice(&noPorts);

    TMyForm form;
    form.show();
    bool saved = Save(&form, output, "window.png");

    form.SetPanelVisible(true);
    form.FocusCancelButton();
    form.SetLabelCaption("10.032.768 Hz");
    saved = Save(&form, output, "display.png") && saved;
    form.SetPanelVisible(false);

    // The About box is modal: it is photographed and closed from inside its own event loop.
    bool aboutSaved = false;
    QTimer::singleShot(100, [&] {
        QWidget* box = QApplication::activeModalWidget();
        aboutSaved = Save(box, output, "about.png");
        if (box != nullptr) box->close();
    });
    form.About1Click();

    return saved && aboutSaved ? 0 : 1;
}
