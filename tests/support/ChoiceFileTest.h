// A fixture for tests of the port-choice file: the file in a scratch folder, a fake port behind
// the port link, message boxes recorded, and the real path put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include "FakeSerialDevice.h"
#include "PortChoice.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "TempDir.h"

class ChoiceFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ConfigFilePath = dir / "zorvalit.cfg";
        PortIndex = 0;
        ResetPortLink(&device);
    }
    void TearDown() override { ConfigFilePath = ConfigFileName; }

    TempDir dir;
    FakeSerialDevice device;
    RecordingFramework framework;
};
