// A main window with no toolkit: its port list and display panel are records, and its
// constructor runs the window's start-up as every toolkit's does.
#pragma once

#include <string>
#include <vector>

#include "MainForm.h"

class FakeForm : public MainForm {
public:
    FakeForm() { StartUp(); }

    void Show() override { ++shows; }
    void SetPanelVisible(bool visible) override { panelShown.push_back(visible); }
    void FocusCancelButton() override {}
    void SetLabelCaption(const char* text) override { captions.emplace_back(text); }
    void RepaintPanel() override {}

    // The user picks the item, as the list's change would report it.
    void Pick(int index)
    {
        selected = index;
        CB_COMChange();
    }

    std::vector<std::string> ports;
    int selected = -1;
    int shows = 0;
    std::vector<bool> panelShown;
    std::vector<std::string> captions;

protected:
    void AddPort(const char* name) override { ports.emplace_back(name); }
    void SelectPort(int index) override { selected = index; }
    int SelectedPort() const override { return selected; }
};
