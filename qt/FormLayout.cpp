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

// Qt lays out in device-independent pixels, which are the design's own.
QFont FontOf(const FontDesign& design)
{
    QFont font(design.Name);
    font.setPixelSize(-design.Height);
    return font;
}

QRect RectOf(const Bounds& bounds) { return QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height); }

}  // namespace

QColor ColorOf(Colour colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

FormComponents BuildFormComponents(QMainWindow& window)
{
    FormComponents c;
    window.setWindowTitle(FormDesign::Caption);
    // Fixed size, with a system menu and a minimise box but no maximise box.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    window.setFont(FontOf(FormDesign::Font));

    c.Panel1 = new TPanel(&window);
    c.Panel1->setFixedSize(FormDesign::Panel1.Width, FormDesign::Panel1.Height);
    window.setCentralWidget(c.Panel1);

    c.GroupBox2 = new QGroupBox(FormDesign::GroupBox2Caption, c.Panel1);
    c.GroupBox2->setGeometry(RectOf(FormDesign::GroupBox2));
    c.CB_COM = new QComboBox(c.GroupBox2);
    c.CB_COM->setGeometry(RectOf(FormDesign::CB_COM));
    c.CB_COM->setEditable(false);

    c.ZorvaPanel = new TPanel(c.Panel1, FormDesign::ZorvaPanelCaption);
    c.ZorvaPanel->setGeometry(RectOf(FormDesign::ZorvaPanel));
    c.ZorvaPanel->SetColor(ColorOf(clNavy));
    c.ZorvaPanel->setVisible(false);

    c.ZorvaLabel = new QLabel(FormDesign::ZorvaLabelCaption, c.ZorvaPanel);
    c.ZorvaLabel->setGeometry(RectOf(FormDesign::ZorvaLabel));
    c.ZorvaLabel->setTextFormat(Qt::PlainText);  // line data is never markup
    c.ZorvaLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    c.ZorvaLabel->setFont(FontOf(FormDesign::ZorvaLabelFont));
    QPalette labelColors = c.ZorvaLabel->palette();
    labelColors.setColor(QPalette::Window, ColorOf(clNavy));
    labelColors.setColor(QPalette::WindowText, ColorOf(clLime));
    c.ZorvaLabel->setPalette(labelColors);
    c.ZorvaLabel->setAutoFillBackground(true);

    c.ZorvaCancelButton = new QPushButton(FormDesign::ZorvaCancelButtonCaption, c.ZorvaPanel);
    c.ZorvaCancelButton->setGeometry(RectOf(FormDesign::ZorvaCancelButton));

    QWidget::setTabOrder(c.CB_COM, c.ZorvaCancelButton);

    c.MainMenu1 = window.menuBar();
    c.Help1 = c.MainMenu1->addMenu(FormDesign::Help1Caption);
    c.About1 = c.Help1->addAction(FormDesign::About1Caption);
    c.Display1 = c.MainMenu1->addMenu(FormDesign::Display1Caption);
    c.DisplaytheFrequency1 = c.Display1->addAction(FormDesign::DisplaytheFrequency1Caption);

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
