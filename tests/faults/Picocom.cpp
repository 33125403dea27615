#include "Picocom.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "PollUntil.h"

namespace {

// A flock lock held by that process on that file, as /proc/locks lists it:
// "1: FLOCK  ADVISORY  WRITE 27454 00:19:3 0 EOF" (device numbers in hexadecimal).
bool HoldsFlock(pid_t pid, const std::string& path)
{
    struct stat file = {};
    if (stat(path.c_str(), &file) != 0) return false;
    char id[64];
    std::snprintf(id, sizeof id, "%02x:%02x:%lu", major(file.st_dev), minor(file.st_dev),
                  static_cast<unsigned long>(file.st_ino));
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, type, mode, access, where;
        long holder = 0;
        if (fields >> number >> type >> mode >> access >> holder >> where && type == "FLOCK" &&
            holder == pid && where == id)
            return true;
    }
    return false;
}

}  // namespace

Picocom::Picocom(const std::string& linePath)
    : linePath_(linePath),
      process_("picocom", {"--noreset", "--quiet", "-b", "2400", linePath}, {.terminal = terminal_.path()})
{
    fcntl(terminal_.master(), F_SETFL, fcntl(terminal_.master(), F_GETFL) | O_NONBLOCK);
}

bool Picocom::WaitUntilItHoldsTheLine(int milliseconds) const
{
    return PollUntil([this] { return HoldsFlock(process_.Pid(), linePath_); }, milliseconds);
}

std::string Picocom::Output()
{
    char chunk[512];
    ssize_t got = 0;
    while ((got = read(terminal_.master(), chunk, sizeof chunk)) > 0)
        output_.append(chunk, static_cast<std::size_t>(got));
    return output_;
}
