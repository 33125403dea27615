#include "MyForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "MainForm.h"
#include "Panel.h"
#include "Windows1250.h"

TMyForm* MyForm = nullptr;

namespace {

// The port list's items and selection, on the window's combo box.
class ComboPortList : public PortList {
public:
    explicit ComboPortList(QComboBox* box) : box_(box) {}
    void Add(const char* item) override { box_->addItem(item); }
    void SetItemIndex(int index) override { box_->setCurrentIndex(index); }
    int ItemIndex() const override { return box_->currentIndex(); }

private:
    QComboBox* box_;
};

QFont FontOfHeight(const char* family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

TMyForm::TMyForm(QWidget* Owner) : QMainWindow(Owner)
{
    BuildComponents();
    ComboPortList list(CB_COM);
    StartMainForm(list);
}

void TMyForm::BuildComponents()
{
    setWindowTitle("Zorvalit");
    // Fixed size, with a system menu and a minimise box but no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(FontOfHeight("MS Sans Serif", 11));

    Panel1 = new TPanel(this);
    Panel1->setFixedSize(592, 240);
    setCentralWidget(Panel1);

    GroupBox2 = new QGroupBox("Serial Port:", Panel1);
    GroupBox2->setGeometry(496, 184, 92, 50);
    CB_COM = new QComboBox(GroupBox2);
    CB_COM->setGeometry(10, 20, 71, 21);
    CB_COM->setEditable(false);
    connect(CB_COM, &QComboBox::activated, this, [this] { CB_COMChange(); });

    ZorvaPanel = new TPanel(Panel1, "Zorvapanel");
    ZorvaPanel->setGeometry(5, 10, 582, 160);
    ZorvaPanel->SetColor(clNavy);
    ZorvaPanel->setVisible(false);

    ZorvaLabel = new QLabel("10.032.768 Hz", ZorvaPanel);
    ZorvaLabel->setGeometry(5, 8, 572, 97);
    ZorvaLabel->setTextFormat(Qt::PlainText);  // line data is never markup
    ZorvaLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ZorvaLabel->setFont(FontOfHeight("Comic Sans MS", 80));
    QPalette labelColors = ZorvaLabel->palette();
    labelColors.setColor(QPalette::Window, clNavy);
    labelColors.setColor(QPalette::WindowText, clLime);
    ZorvaLabel->setPalette(labelColors);
    ZorvaLabel->setAutoFillBackground(true);

    ZorvaCancelButton = new QPushButton("Cancel", ZorvaPanel);
    ZorvaCancelButton->setGeometry(200, 125, 182, 25);
    connect(ZorvaCancelButton, &QPushButton::clicked, this, [this] { ZorvaCancelButtonClick(); });

    setTabOrder(CB_COM, ZorvaCancelButton);

    MainMenu1 = menuBar();
    Help1 = MainMenu1->addMenu("&Help");
    About1 = Help1->addAction("&About");
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });
    Display1 = MainMenu1->addMenu("&Display");
    DisplaytheFrequency1 = Display1->addAction("Display the Frequency");
    connect(DisplaytheFrequency1, &QAction::triggered, this, [this] { DisplaytheFrequency1Click(); });

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
}

void TMyForm::FormClose() { CloseMainForm(); }

void TMyForm::CB_COMChange() { PortListChange(ComboPortList(CB_COM)); }

void TMyForm::About1Click() { AboutBox(); }

void TMyForm::ZorvaCancelButtonClick() { CancelFrequencyDisplay(*this); }

void TMyForm::DisplaytheFrequency1Click() { RunFrequencyDisplay(*this); }

void TMyForm::SetPanelVisible(bool visible) { ZorvaPanel->setVisible(visible); }

void TMyForm::FocusCancelButton() { ZorvaCancelButton->setFocus(); }

void TMyForm::SetLabelCaption(const char* text)
{
    ZorvaLabel->setText(QString::fromStdU16String(DecodeWindows1250(text)));
}

void TMyForm::RepaintPanel() { ZorvaPanel->repaint(); }

void TMyForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}
