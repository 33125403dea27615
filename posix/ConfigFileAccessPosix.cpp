#include "ConfigFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

// Fixed and outside every home folder; installing makes it writable for the dialout group.
const char* const ConfigFileName = "/var/lib/zorvalit/zorvalit.cfg";

namespace {

// Turns a descriptor into a stream when it names a regular file of its own, else nullptr.
// A file with a second hard link is another file too, and is not ours to write.
std::FILE* StreamOnOwnRegularFile(int fd, const char* mode, bool mustBeOnlyLink)
{
    if (fd < 0) return nullptr;
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (mustBeOnlyLink && info.st_nlink != 1) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    std::FILE* file = fdopen(fd, mode);
    if (file == nullptr) close(fd);
    return file;
}

}  // namespace

// O_NONBLOCK in both: a FIFO planted at the path must not hang the program in open().
std::FILE* OpenConfigForReading(const std::string& path)
{
    return StreamOnOwnRegularFile(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), "r", false);
}

std::FILE* OpenConfigForWriting(const std::string& path)
{
    return StreamOnOwnRegularFile(
        open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0664), "w", true);
}

bool EndConfigHere(std::FILE* file)
{
    const long end = std::ftell(file);
    return end >= 0 && ftruncate(fileno(file), end) == 0;
}
