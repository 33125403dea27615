#include "MyForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "FormLayout.h"
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

}  // namespace

TMyForm::TMyForm(QWidget* Owner) : QMainWindow(Owner)
{
    BuildComponents();
    ComboPortList list(CB_COM);
    StartMainForm(list);
}

void TMyForm::BuildComponents()
{
    static_cast<FormComponents&>(*this) = BuildFormComponents(*this);

    connect(CB_COM, &QComboBox::activated, this, [this] { CB_COMChange(); });
    connect(ZorvaCancelButton, &QPushButton::clicked, this, [this] { ZorvaCancelButtonClick(); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });
    connect(DisplaytheFrequency1, &QAction::triggered, this, [this] { DisplaytheFrequency1Click(); });
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
