// The common ground of the end-to-end tests: the real window on the real POSIX serial layer,
// whose device directory is a scratch directory where counters link their pseudo-terminals
// as COM1, COM2, ...; the port-choice file in that directory; message boxes recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CounterLine.h"
#include "LabelHistory.h"
#include "MyForm.h"
#include "PosixSerialDevice.h"
#include "RecordingQtFramework.h"
#include "TempDir.h"

class E2eTest : public ::testing::Test {
protected:
    static constexpr const char* Zero = "         0 Hz";

    E2eTest();
    ~E2eTest() override;

    // A counter on that port that writes each frame in one go, ten a second, after half a
    // second of quiet: a display started straight after reads it from its first frame.
    CounterLine& StartCounter(const std::string& port, std::vector<std::string> options);
    // The window, created and shown on first use as the program starts it (so after the
    // counters it should find), with the history of its label.
    TMyForm& Form();
    LabelHistory& Label() { return *label_; }

    TempDir devices;
    RecordingQtFramework framework;

private:
    PosixSerialDevice serialPorts_{devices.path()};
    std::vector<std::unique_ptr<CounterLine>> counters_;
    std::unique_ptr<TMyForm> form_;
    std::unique_ptr<LabelHistory> label_;
};
