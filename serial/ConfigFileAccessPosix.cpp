#include "ConfigFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::FILE* OpenConfigForReading(const std::string& path) { return std::fopen(path.c_str(), "re"); }

std::FILE* OpenConfigForWriting(const std::string& path)
{
    // O_NONBLOCK: a FIFO planted at the path must not hang the program in open().
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0664);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "w");
    if (file == nullptr) close(fd);
    return file;
}

bool EndConfigHere(std::FILE* file)
{
    const long end = std::ftell(file);
    return end >= 0 && ftruncate(fileno(file), end) == 0;
}
