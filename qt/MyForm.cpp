#include "MyForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "FormLayout.h"
#include "Panel.h"
#include "Windows1250.h"

TMyForm* MyForm = nullptr;

TMyForm::TMyForm(QWidget* Owner) : QMainWindow(Owner)
{
    BuildComponents();
    StartUp();
}

void TMyForm::BuildComponents()
{
    static_cast<FormComponents&>(*this) = BuildFormComponents(*this);

    connect(CB_COM, &QComboBox::activated, this, [this] { CB_COMChange(); });
    connect(ZorvaCancelButton, &QPushButton::clicked, this, [this] { ZorvaCancelButtonClick(); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });
    connect(DisplaytheFrequency1, &QAction::triggered, this, [this] { DisplaytheFrequency1Click(); });
}

void TMyForm::AddPort(const char* name) { CB_COM->addItem(name); }

// setCurrentIndex does not emit activated, which alone stands for the user's pick.
void TMyForm::SelectPort(int index) { CB_COM->setCurrentIndex(index); }

int TMyForm::SelectedPort() const { return CB_COM->currentIndex(); }

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
