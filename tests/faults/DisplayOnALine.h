// The setting of the fault tests: the program's port link on the POSIX serial layer, its
// device directory a scratch one where COM1 is a link to a pseudo-terminal, a recording panel,
// and a framework that records message boxes and waits for messages in real time, as an event
// loop with nothing to do would. No real serial device is ever opened.
#pragma once

#include <gtest/gtest.h>

#include "PortLinkSetup.h"
#include "PosixSerialDevice.h"
#include "RecordingFramework.h"
#include "RecordingPanel.h"
#include "TempDir.h"

class DisplayOnALine : public ::testing::Test {
protected:
    void SetUp() override { ResetPortLink(&device); }
    void TearDown() override
    {
        ClosePort();
        UseSerialDevice(nullptr);
    }

    TempDir dev;
    PosixSerialDevice device{dev.path()};
    RecordingFramework framework{NoWindow::RealTime};
    RecordingPanel panel;
};
