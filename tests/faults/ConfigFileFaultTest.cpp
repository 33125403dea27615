// The port-choice file where writing it goes wrong: a full disk, a read-only file system, a
// file the user may not write, and things planted at its path. The user gets "Can't Write
// ConfigFile!", the choice still applies until the program ends, and nothing that was not the
// program's to change is changed.
#include <fcntl.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChoiceFileTest.h"
#include "FakeSerialDevice.h"
#include "Files.h"
#include "PollUntil.h"
#include "PortChoice.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string CantWrite = "Can't Write ConfigFile!";

// This process gets mount points of its own, so that what it mounts is seen by nobody else.
bool PrivateMounts()
{
    static const bool made =
        unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return made;
}

}  // namespace

class ConfigFileTrouble : public ChoiceFileTest {};

// The file's folder is a tmpfs of two pages, in a mount namespace of this process's own.
class ConfigFileOnATinyDisk : public ConfigFileTrouble {
protected:
    void SetUp() override
    {
        if (geteuid() != 0 || !PrivateMounts()) GTEST_SKIP() << "needs root to mount a tmpfs of its own";
        ASSERT_EQ(mount("zorvalit-test", dir.path().c_str(), "tmpfs", 0, "size=8k,mode=0755"), 0)
            << std::strerror(errno);
        mounted = true;
        ConfigFileTrouble::SetUp();
    }
    void TearDown() override
    {
        ConfigFileTrouble::TearDown();
        if (mounted) umount2(dir.path().c_str(), MNT_DETACH);
    }

    // Fills what is left of the disk.
    void Fill()
    {
        const int fd = open((dir / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        ASSERT_EQ(errno, ENOSPC);
        while (write(fd, "f", 1) == 1) {
        }
        close(fd);
    }
    void MakeReadOnly()
    {
        ASSERT_EQ(mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
            << std::strerror(errno);
    }

    bool mounted = false;
};

// The new line overwrites the old one in place, where the disk already gave it room.
TEST_F(ConfigFileOnATinyDisk, FullDiskStillTakesAChangeOverAnExistingChoice)
{
    for (const std::string old :
         {"Serialport:COM2\n", "Serialport:COM2    # chosen when it was installed\n"}) {
        Put(ConfigFilePath, old);
        Fill();
        PortIndex = 3;
        UseChosenPort();
        EXPECT_EQ(Contents(ConfigFilePath), "Serialport:COM4\n");
        EXPECT_EQ(PortName, "COM4");
        std::filesystem::remove(dir / "filler");
    }
    EXPECT_THAT(framework.messages, IsEmpty());
}

TEST_F(ConfigFileOnATinyDisk, FullDiskAtFirstStartSaysSoAndLeavesNoGarbage)
{
    Fill();
    EXPECT_EQ(ReadConfigFile(), -1);
    EXPECT_EQ(PortIndex, 0);
    EXPECT_THAT(framework.messages, ElementsAre(CantWrite));
    if (std::filesystem::exists(ConfigFilePath)) {
        EXPECT_EQ(Contents(ConfigFilePath), "");
    }
}

// An empty file has no room of its own on a full disk: the line cannot be written, and the file
// must not be cut to the length of a line that never reached the disk.
TEST_F(ConfigFileOnATinyDisk, FullDiskKeepsAnEmptyFileEmpty)
{
    Put(ConfigFilePath, "");
    Fill();
    PortIndex = 2;
    WriteConfigFile();
    EXPECT_THAT(framework.messages, ElementsAre(CantWrite));
    EXPECT_EQ(Contents(ConfigFilePath), "");
}

TEST_F(ConfigFileOnATinyDisk, ReadOnlyDiskKeepsTheFileAndTheChoiceStillApplies)
{
    Put(ConfigFilePath, "Serialport:COM2\n");
    MakeReadOnly();
    EXPECT_EQ(ReadConfigFile(), 0);
    EXPECT_EQ(PortIndex, 1);
    PortIndex = 3;
    UseChosenPort();
    EXPECT_THAT(framework.messages, ElementsAre(CantWrite));
    EXPECT_EQ(PortName, "COM4");
    EXPECT_EQ(Contents(ConfigFilePath), "Serialport:COM2\n");
}

// A user outside the file's group may read the choice but not change it. Root passes every
// permission check, so the checks run with the file-system identity of "nobody".
TEST_F(ConfigFileTrouble, FileTheUserMayNotWriteIsReadAndLeftAlone)
{
    Put(ConfigFilePath, "Serialport:COM3\n");
    ASSERT_EQ(chmod(ConfigFilePath.c_str(), 0644), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const uid_t was = setfsuid(65534);
    EXPECT_EQ(ReadConfigFile(), 0);
    EXPECT_EQ(PortIndex, 2);
    PortIndex = 0;
    UseChosenPort();
    setfsuid(was);
    EXPECT_THAT(framework.messages, ElementsAre(CantWrite));
    EXPECT_EQ(PortName, "COM1");
    EXPECT_EQ(Contents(ConfigFilePath), "Serialport:COM3\n");
}

// A link to nowhere at the path: opening it to write must not create its target.
TEST_F(ConfigFileTrouble, DanglingLinkAtFirstStartCreatesNothing)
{
    const std::string target = dir / "planted";
    std::filesystem::create_symlink(target, ConfigFilePath);
    EXPECT_EQ(ReadConfigFile(), -1);
    EXPECT_EQ(PortIndex, 0);
    EXPECT_THAT(framework.messages, ElementsAre(CantWrite));
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(std::filesystem::is_symlink(ConfigFilePath));
}

// A folder at the path at start-up: nothing to read, nothing written, no box.
TEST_F(ConfigFileTrouble, DirectoryAtFirstStartIsLeftAlone)
{
    std::filesystem::create_directory(ConfigFilePath);
    Put(ConfigFilePath + "/inside", "kept\n");
    PortIndex = 0;
    ReadConfigFile();
    EXPECT_EQ(PortIndex, 0);
    EXPECT_EQ(Contents(ConfigFilePath + "/inside"), "kept\n");
    EXPECT_TRUE(std::filesystem::is_directory(ConfigFilePath));
}

TEST_F(ConfigFileTrouble, HardLinkInItsPlaceDoesNotMakeItOverwriteAnotherFile)
{
    // A second name for another file, made where the choice is kept (by whoever may create files
    // there): a regular file, and no symbolic link, yet not the program's to write.
    const std::string other = dir / "other-program.conf";
    Put(other, "setting=1\nother=2\n");
    ASSERT_EQ(link(other.c_str(), ConfigFilePath.c_str()), 0);
    PortIndex = 1;
    WriteConfigFile();
    EXPECT_EQ(Contents(other), "setting=1\nother=2\n");
    EXPECT_THAT(framework.messages, ::testing::ElementsAre("Can't Write ConfigFile!"));
}

TEST_F(ConfigFileTrouble, FifoAtFirstStartDoesNotHangTheProgram)
{
    // Opened like a file, a FIFO at the path would block start-up until some other process
    // opened it for writing.
    ASSERT_EQ(mkfifo(ConfigFilePath.c_str(), 0600), 0);
    std::atomic<bool> done = false;
    std::thread start([&] {
        ReadConfigFile();
        done = true;
    });
    const bool returned = PollUntil([&] { return done.load(); }, 2000);
    // A writer that comes and goes lets a waiting reader open the FIFO and read its end.
    if (!returned) close(open(ConfigFilePath.c_str(), O_WRONLY | O_NONBLOCK));
    start.join();
    EXPECT_TRUE(returned) << "ReadConfigFile still waited after 2 s";
}
