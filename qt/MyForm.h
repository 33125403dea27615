// The program's one window: the "Serial Port:" list, the navy display panel with its large
// label and Cancel button, and the Help and Display menus. Its constructor loads the port
// choice and opens the port; closing it closes the port and ends any running display.
#pragma once

#include <QMainWindow>

#include "FormLayout.h"
#include "FrequencyDisplay.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class TPanel;

class TMyForm : public QMainWindow, public DisplayPanel {
    Q_OBJECT
public:
    explicit TMyForm(QWidget* Owner = nullptr);

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

    void FormClose();
    void CB_COMChange();
    void About1Click();
    void ZorvaCancelButtonClick();
    void DisplaytheFrequency1Click();

    // The display panel, as the display loop drives it.
    void SetPanelVisible(bool visible) override;
    void FocusCancelButton() override;
    void SetLabelCaption(const char* text) override;
    void RepaintPanel() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildComponents();
};

extern TMyForm* MyForm;
