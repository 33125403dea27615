// What the port-choice file must never be written through on POSIX systems: a symbolic link,
// a folder, a FIFO; and a full disk.
#include <sys/stat.h>

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChoiceFileTest.h"
#include "Files.h"

using ::testing::ElementsAre;

class ConfigFileAccessPosixTest : public ChoiceFileTest {};

// Whatever stands at the path that is not a regular file of ours is not written through.
TEST_F(ConfigFileAccessPosixTest, NeverWritesThroughALinkOrIntoANonRegularFile)
{
    const std::string victim = dir / "victim";
    Put(victim, "precious\n");
    std::filesystem::create_symlink(victim, ConfigFilePath);
    WriteConfigFile();
    EXPECT_EQ(Contents(victim), "precious\n");
    EXPECT_TRUE(std::filesystem::is_symlink(ConfigFilePath));

    std::filesystem::remove(ConfigFilePath);
    std::filesystem::create_directory(ConfigFilePath);
    WriteConfigFile();

    std::filesystem::remove(ConfigFilePath);
    ASSERT_EQ(mkfifo(ConfigFilePath.c_str(), 0600), 0);
    WriteConfigFile();  // must not hang waiting for a reader

    EXPECT_THAT(framework.messages,
                ElementsAre("Can't Write ConfigFile!", "Can't Write ConfigFile!", "Can't Write ConfigFile!"));
}

TEST_F(ConfigFileAccessPosixTest, FullDiskIsReportedAndKeepsTheEarlierChoice)
{
    ConfigFilePath = "/dev/full";
    PortIndex = 1;
    WriteConfigFile();
    EXPECT_THAT(framework.messages, ElementsAre("Can't Write ConfigFile!"));
}
