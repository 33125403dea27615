#include "FormLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "Panel.h"

namespace {

QFont FontOfHeight(const char* family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

FormComponents BuildFormComponents(QMainWindow& window)
{
    FormComponents c;
    window.setWindowTitle("Zorvalit");
    // Fixed size, with a system menu and a minimise box but no maximise box.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    window.setFont(FontOfHeight("MS Sans Serif", 11));

    c.Panel1 = new TPanel(&window);
    c.Panel1->setFixedSize(592, 240);
    window.setCentralWidget(c.Panel1);

    c.GroupBox2 = new QGroupBox("Serial Port:", c.Panel1);
    c.GroupBox2->setGeometry(496, 184, 92, 50);
    c.CB_COM = new QComboBox(c.GroupBox2);
    c.CB_COM->setGeometry(10, 20, 71, 21);
    c.CB_COM->setEditable(false);

    c.ZorvaPanel = new TPanel(c.Panel1, "Zorvapanel");
    c.ZorvaPanel->setGeometry(5, 10, 582, 160);
    c.ZorvaPanel->SetColor(clNavy);
    c.ZorvaPanel->setVisible(false);

    c.ZorvaLabel = new QLabel("10.032.768 Hz", c.ZorvaPanel);
    c.ZorvaLabel->setGeometry(5, 8, 572, 97);
    c.ZorvaLabel->setTextFormat(Qt::PlainText);  // line data is never markup
    c.ZorvaLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    c.ZorvaLabel->setFont(FontOfHeight("Comic Sans MS", 80));
    QPalette labelColors = c.ZorvaLabel->palette();
    labelColors.setColor(QPalette::Window, clNavy);
    labelColors.setColor(QPalette::WindowText, clLime);
    c.ZorvaLabel->setPalette(labelColors);
    c.ZorvaLabel->setAutoFillBackground(true);

    c.ZorvaCancelButton = new QPushButton("Cancel", c.ZorvaPanel);
    c.ZorvaCancelButton->setGeometry(200, 125, 182, 25);

    QWidget::setTabOrder(c.CB_COM, c.ZorvaCancelButton);

    c.MainMenu1 = window.menuBar();
    c.Help1 = c.MainMenu1->addMenu("&Help");
    c.About1 = c.Help1->addAction("&About");
    c.Display1 = c.MainMenu1->addMenu("&Display");
    c.DisplaytheFrequency1 = c.Display1->addAction("Display the Frequency");

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.adjustSize();
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    return c;
}

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions("MS Sans Serif", {"DejaVu Sans", "Liberation Sans", "Sans Serif"});
    QFont::insertSubstitutions("Comic Sans MS", {"Comic Neue", "Comic Relief", "DejaVu Sans"});
}
