// The common ground of the end-to-end tests: the real window on the real POSIX serial layer,
// whose device directory is a scratch directory where counters link their pseudo-terminals
// as COM1, COM2, ...; the port-choice file in that directory; message boxes recorded.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CounterLine.h"
#include "LabelHistory.h"
#include "PumpScript.h"
#include "QtFramework.h"
#include "RecordingFramework.h"
#include "ScratchWindow.h"

class E2eTest : public ::testing::Test {
protected:
    static constexpr const char* Zero = "         0 Hz";

    // The window and its port close while the counters still hold their lines.
    ~E2eTest() override { window_.Close(); }

    // A counter on that port that writes each frame in one go, ten a second, from the moment a
    // display started with Display() has opened its port, so that the display reads it from its
    // first frame however long the window took to come up (ReleaseCounters starts it sooner).
    CounterLine& StartCounter(const std::string& port, std::vector<std::string> options);
    void ReleaseCounters();
    // A display of the window, started from its Display menu, scripted; the script starts the
    // counters at the display's first pump, and its failures fail the test.
    PumpScript Display(TMyForm& form);
    // A user's steps at the window: a mouse click on the panel's Cancel button, and an action
    // posted to run from the event loop, for one that returns only when what it starts has ended
    // (a second display, a modal box).
    static std::function<void()> ClickCancel(TMyForm& form);
    static std::function<void()> Later(std::function<void()> action);
    // The window, created and shown on first use as the program starts it (so after the
    // counters it should find), with the history of its label.
    TMyForm& Form() { return window_.Form(); }
    LabelHistory& Label() { return window_.Probe(); }

    Recording<QtFramework> framework;

private:
    ScratchWindow<> window_;

protected:
    TempDir& devices = window_.devices;

private:
    std::vector<std::unique_ptr<CounterLine>> counters_;
};
