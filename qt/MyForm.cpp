#include "MyForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "FormLayout.h"
#include "Panel.h"
#include "WaylandSession.h"
#include "Windows1250.h"
#include "ZorvalitApplication.h"

TMyForm* MyForm = nullptr;

namespace {

// A handler of the form's for a Qt signal, run through the application's exception guard.
template <class Handler>
auto Guarded(TMyForm* form, Handler handler)
{
    return [form, handler] { ZorvalitApplication::RunHandler([form, handler] { (form->*handler)(); }); };
}

}  // namespace

TMyForm::TMyForm(QWidget* Owner) : QMainWindow(Owner)
{
    MyForm = this;
    BuildComponents();
    StartUp();
}

TMyForm::~TMyForm()
{
    if (MyForm == this) MyForm = nullptr;
}

void TMyForm::Show()
{
    FitForWayland(*this);
    show();
}

void TMyForm::BuildComponents()
{
    static_cast<FormComponents&>(*this) = BuildFormComponents(*this);

    connect(CB_COM, &QComboBox::activated, this, Guarded(this, &TMyForm::CB_COMChange));
    connect(ZorvaCancelButton, &QPushButton::clicked, this, Guarded(this, &TMyForm::ZorvaCancelButtonClick));
    connect(About1, &QAction::triggered, this, Guarded(this, &TMyForm::About1Click));
    connect(DisplaytheFrequency1, &QAction::triggered, this,
            Guarded(this, &TMyForm::DisplaytheFrequency1Click));
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
    ZorvalitApplication::RunHandler([this] { FormClose(); });
    event->accept();
}
