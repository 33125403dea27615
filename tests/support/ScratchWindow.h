// The program's real window on the real POSIX serial layer, whose device directory is a scratch
// directory where counters link their pseudo-terminals as COM1, COM2, ...; the port-choice file
// is kept there too. The window is made and shown on first use, as the program starts it, so
// after the counters it should find, and is on the screen when Form() returns, with a
// LabelHistory watching its label. Device is the POSIX serial device, or one derived from it that
// watches the reads. The framework that takes its message boxes must outlive it.
#pragma once

#include <QTest>

#include <memory>
#include <stdexcept>

#include "LabelHistory.h"
#include "MyForm.h"
#include "PortChoice.h"
#include "PortLinkSetup.h"
#include "PosixSerialDevice.h"
#include "TempDir.h"

template <class Device = PosixSerialDevice>
class ScratchWindow {
public:
    ScratchWindow()
    {
        ConfigFilePath = devices / "zorvalit.cfg";
        ResetPortLink(&serialPorts_);
    }
    ~ScratchWindow()
    {
        Close();
        UseSerialDevice(nullptr);
        ConfigFilePath = ConfigFileName;
    }
    ScratchWindow(const ScratchWindow&) = delete;
    ScratchWindow& operator=(const ScratchWindow&) = delete;

    TMyForm& Form()
    {
        if (!form_) {
            form_ = std::make_unique<TMyForm>();
            probe_ = std::make_unique<LabelHistory>(form_->ZorvaLabel);
            form_->show();
            // A person starts a display on a window that is on the screen, where the panel's
            // repaint paints at once, so "0 Hz" is painted before any frame is read. Offscreen,
            // Qt maps a shown window only when its events are next handled: a display started
            // before that would paint nothing until its first pump, by which time a waiting
            // frame may already have replaced "0 Hz".
            if (!QTest::qWaitForWindowExposed(form_.get()))
                throw std::runtime_error("the window was not put on the screen");
        }
        return *form_;
    }
    LabelHistory& Probe() { return *probe_; }
    Device& Ports() { return serialPorts_; }

    // Closes the window, as a user would, and the port.
    void Close()
    {
        if (form_) form_->close();
        probe_.reset();
        form_.reset();
        ClosePort();
    }

    TempDir devices;

private:
    Device serialPorts_{devices.path()};
    std::unique_ptr<TMyForm> form_;
    std::unique_ptr<LabelHistory> probe_;
};
