// Reading and writing the port-choice file, and moving the port when the choice changes.
#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChoiceFileTest.h"
#include "FakeSerialDevice.h"
#include "Files.h"
#include "PortChoice.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PortChoiceTest : public ChoiceFileTest {};

TEST_F(PortChoiceTest, MissingFileChoosesCom1AndWritesIt)
{
    PortIndex = 2;
    EXPECT_EQ(ReadConfigFile(), -1);
    EXPECT_EQ(PortIndex, 0);
    EXPECT_EQ(PortCount, 4);
    EXPECT_EQ(Contents(ConfigFilePath), TextLine("Serialport:COM1"));
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(PortChoiceTest, FileNamingAPortChoosesIt)
{
    for (int n = 1; n <= 4; ++n) {
        Put(ConfigFilePath, "Serialport:COM" + std::to_string(n) + "\n");
        EXPECT_EQ(ReadConfigFile(), 0);
        EXPECT_EQ(PortIndex, n - 1);
    }
}

TEST_F(PortChoiceTest, LeadingBlankLinesAndTrailingWordsDoNotMatter)
{
    Put(ConfigFilePath, "\n\n  \t\nSerialport:COM2\r\nSerialport:COM4 and more\n");
    ReadConfigFile();
    EXPECT_EQ(PortIndex, 1);
}

// A first word that is not exactly one of the four lines leaves the choice at COM1 and the
// file as it was, byte for byte.
struct Unmatched {
    const char* name;
    std::string contents;
};

void PrintTo(const Unmatched& unmatched, std::ostream* out) { *out << unmatched.name; }

class UnmatchedConfigTest : public PortChoiceTest, public ::testing::WithParamInterface<Unmatched> {};

TEST_P(UnmatchedConfigTest, KeepsCom1AndLeavesTheFileAlone)
{
    Put(ConfigFilePath, GetParam().contents);
    EXPECT_EQ(ReadConfigFile(), 0);
    EXPECT_EQ(PortIndex, 0);
    EXPECT_EQ(Contents(ConfigFilePath), GetParam().contents);
    EXPECT_THAT(framework.messages, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Contents, UnmatchedConfigTest,
    ::testing::Values(Unmatched{"LowerCase", "serialport:com3\n"}, Unmatched{"UpperCase", "SERIALPORT:COM3"},
                      Unmatched{"FifthPort", "Serialport:COM5\n"}, Unmatched{"PortZero", "Serialport:COM0\n"},
                      Unmatched{"CharacterAfterDigit", "Serialport:COM1x\n"},
                      Unmatched{"NoDigit", "Serialport:COM\n"},
                      Unmatched{"SpaceInside", "Serialport: COM3\n"}, Unmatched{"Empty", ""},
                      Unmatched{"BlankLinesOnly", "\n\n\n"},
                      Unmatched{"NulInside", std::string("Serial\0port:COM3", 16)},
                      Unmatched{"Binary", std::string("\x7f"
                                                      "ELF\x02\x01\x01\0\0\0",
                                                      10)},
                      Unmatched{"OneMegabyteToken", std::string(1 << 20, 'S')},
                      Unmatched{"LineAfter39Characters", std::string(39, 'x') + "Serialport:COM3\n"},
                      Unmatched{"LongTail", "Serialport:COM3" + std::string(30, 'y') + "\n"}),
    [](const ::testing::TestParamInfo<Unmatched>& info) { return std::string(info.param.name); });

TEST_F(PortChoiceTest, UnmatchedFileKeepsAChoiceAlreadyMade)
{
    PortIndex = 3;
    Put(ConfigFilePath, "rubbish\n");
    ReadConfigFile();
    EXPECT_EQ(PortIndex, 3);
}

TEST_F(PortChoiceTest, OutOfRangeChoiceFallsBackToCom1)
{
    PortIndex = 9;
    Put(ConfigFilePath, "rubbish\n");
    ReadConfigFile();
    EXPECT_EQ(PortIndex, 0);
}

TEST_F(PortChoiceTest, WritingReplacesTheWholeFileWithOneLine)
{
    Put(ConfigFilePath, "Serialport:COM1 followed by a long tail of old text\n");
    PortIndex = 3;
    WriteConfigFile();
    EXPECT_EQ(Contents(ConfigFilePath), TextLine("Serialport:COM4"));
}

TEST_F(PortChoiceTest, UnwritableLocationIsReportedAtStartAndAtEveryChange)
{
    ConfigFilePath = dir / "missing-folder/zorvalit.cfg";
    EXPECT_EQ(ReadConfigFile(), -1);
    PortIndex = 2;
    UseChosenPort();
    PortIndex = 1;
    UseChosenPort();
    EXPECT_THAT(framework.messages,
                ElementsAre("Can't Write ConfigFile!", "Can't Write ConfigFile!", "Can't Write ConfigFile!"));
    EXPECT_EQ(PortName, "COM2") << "the choice still applies";
}

TEST_F(PortChoiceTest, ChangingThePortMovesAnOpenPortAndKeepsTheChoice)
{
    OpenPort();
    device.calls.clear();
    PortIndex = 3;
    UseChosenPort();
    EXPECT_EQ(PortName, "COM4");
    EXPECT_EQ(PortOpen, 1);
    EXPECT_THAT(device.calls, ::testing::Contains("CreateFile COM4"));
    EXPECT_EQ(Contents(ConfigFilePath), TextLine("Serialport:COM4"));
}

TEST_F(PortChoiceTest, ChangingAClosedPortOnlyRenamesIt)
{
    PortIndex = 1;
    UseChosenPort();
    EXPECT_EQ(PortName, "COM2");
    EXPECT_EQ(PortOpen, 0);
    EXPECT_THAT(device.calls, IsEmpty());
    EXPECT_EQ(Contents(ConfigFilePath), TextLine("Serialport:COM2"));
}

TEST_F(PortChoiceTest, RandomContentsNeverCrashOrLeaveTheRangeOrChangeTheFile)
{
    std::mt19937 random(20261207);
    const std::string alphabet = "Serialpot:COM1234 \n\t\r\x00\xff";
    for (int round = 0; round < 2000; ++round) {
        std::string contents;
        const int length = static_cast<int>(random() % 80);
        for (int i = 0; i < length; ++i)
            contents += round % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        if (round % 5 == 0) contents = "Serialport:COM" + contents;
        Put(ConfigFilePath, contents);
        PortIndex = static_cast<int>(random() % 4);
        ReadConfigFile();
        ASSERT_GE(PortIndex, 0);
        ASSERT_LE(PortIndex, 3);
        ASSERT_EQ(Contents(ConfigFilePath), contents);
    }
    EXPECT_THAT(framework.messages, IsEmpty());
}
