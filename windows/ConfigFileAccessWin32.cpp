// The port-choice file on Windows: C:\zorvalit.cfg, opened in text mode so that its line ends
// with CR LF. Writing never goes through a reparse point (symbolic link, junction) and never
// into anything but a regular file with no second hard link.
#include <fcntl.h>
#include <io.h>

#include "ConfigFileAccess.h"
#include "Win32.h"

const char* const ConfigFileName = "C:\\zorvalit.cfg";

namespace {

// Turns a handle into a stream when it names a regular file of its own, else nullptr.
std::FILE* StreamOnOwnRegularFile(HANDLE file, int flags, const char* mode, bool mustBeOnlyLink)
{
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool regular =
        GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
        (!mustBeOnlyLink || info.nNumberOfLinks == 1);
    const int fd = regular ? _open_osfhandle(reinterpret_cast<intptr_t>(file), flags) : -1;
    if (fd < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, mode);
    if (stream == nullptr) _close(fd);
    return stream;
}

}  // namespace

std::FILE* OpenConfigForReading(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return StreamOnOwnRegularFile(file, _O_RDONLY | _O_TEXT, "r", false);
}

std::FILE* OpenConfigForWriting(const std::string& path)
{
    // OPEN_ALWAYS creates a missing file and keeps an existing one whole until EndConfigHere.
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, which is then refused, not its target.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return StreamOnOwnRegularFile(file, _O_WRONLY | _O_TEXT, "w", true);
}

bool EndConfigHere(std::FILE* file)
{
    // After the flush the handle's position is the stream's.
    if (std::fflush(file) != 0) return false;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && SetEndOfFile(handle);
}
