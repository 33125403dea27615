// What the port-choice file must never be written through on Windows: a folder, a file with a
// second hard link (another file's contents), a symbolic link (a reparse point).
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChoiceFileTest.h"
#include "Files.h"

using ::testing::ElementsAre;

class ConfigFileAccessWin32Test : public ChoiceFileTest {
protected:
    const std::string victim = dir / "victim";
    void SetUp() override
    {
        ChoiceFileTest::SetUp();
        Put(victim, "precious\n");
    }
};

TEST_F(ConfigFileAccessWin32Test, NeverWritesIntoAFolderOrAFileWithASecondLink)
{
    std::filesystem::create_directory(ConfigFilePath);
    WriteConfigFile();
    std::filesystem::remove(ConfigFilePath);

    std::filesystem::create_hard_link(victim, ConfigFilePath);
    WriteConfigFile();

    EXPECT_EQ(Contents(victim), "precious\n");
    EXPECT_THAT(framework.messages, ElementsAre("Can't Write ConfigFile!", "Can't Write ConfigFile!"));
}

TEST_F(ConfigFileAccessWin32Test, NeverWritesThroughASymbolicLink)
{
    std::error_code error;
    std::filesystem::create_symlink(victim, ConfigFilePath, error);
    if (error || !std::filesystem::is_symlink(ConfigFilePath))
        GTEST_SKIP() << "no symbolic link can be made here: " << error.message();
    WriteConfigFile();
    EXPECT_EQ(Contents(victim), "precious\n");
    EXPECT_THAT(framework.messages, ElementsAre("Can't Write ConfigFile!"));
}
