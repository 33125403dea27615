// The program's one window: the "Serial Port:" list, the navy display panel with its large
// label and Cancel button, and the Help and Display menus. Its constructor loads the port
// choice and opens the port; closing it closes the port and ends any running display.
#pragma once

#include <QMainWindow>

#include "FormLayout.h"
#include "MainForm.h"

// The components (Panel1, CB_COM, ZorvaLabel, ...) are its members through FormComponents.
class TMyForm : public QMainWindow, public FormComponents, public MainForm {
    Q_OBJECT
public:
    explicit TMyForm(QWidget* Owner = nullptr);
    ~TMyForm() override;

    // Natively on Wayland with the program's own title bar (WaylandSession.h).
    void Show() override;

    // The display panel, as the display loop drives it.
    void SetPanelVisible(bool visible) override;
    void FocusCancelButton() override;
    void SetLabelCaption(const char* text) override;
    void RepaintPanel() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void AddPort(const char* name) override;
    void SelectPort(int index) override;
    int SelectedPort() const override;

private:
    void BuildComponents();
};

extern TMyForm* MyForm;
