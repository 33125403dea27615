#include "PosixSerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "LineFormat.h"

namespace {

using Clock = std::chrono::steady_clock;

int Fd(PortHandleValue handle) { return static_cast<int>(handle); }

bool IsComName(const std::string& name)
{
    // Up to COM999999: any longer number would not fit the ttyS numbering anyway.
    if (name.size() < 4 || name.size() > 9 || name.compare(0, 3, "COM") != 0) return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return name[3] != '0';
}

// Reads whether somebody else made the tty exclusive (TIOCGEXCL). Where nobody can tell (a kernel
// before Linux 3.8, or QEMU's user-mode emulator, which answers ENOSYS) the answer is no: the open
// has then already got past TIOCEXCL's own refusal, which binds all but root. False when the tty
// refused the question for another reason.
bool ReadExclusive(int fd, int& exclusive)
{
    if (ioctl(fd, TIOCGEXCL, &exclusive) == 0) return true;
    exclusive = 0;
    return errno == ENOTTY || errno == EINVAL || errno == ENOSYS;
}

}  // namespace

PosixSerialDevice::PosixSerialDevice(std::string deviceDirectory) : directory_(std::move(deviceDirectory)) {}

bool PosixSerialDevice::Fail()
{
    lastError_ = errno;
    return false;
}

std::string PosixSerialDevice::DevicePath(const std::string& portName) const
{
    const std::string alias = directory_ + "/" + portName;
    if (!IsComName(portName)) return alias;
    struct stat info = {};
    if (lstat(alias.c_str(), &info) == 0) return alias;
    return directory_ + "/ttyS" + std::to_string(std::stoul(portName.substr(3)) - 1);
}

PortHandleValue PosixSerialDevice::CreateFile(const std::string& portName)
{
    const std::string path = DevicePath(portName);
    // Non-blocking, so that opening does not wait for carrier; reads wait in poll() instead.
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail();
        return InvalidPortHandle;
    }
    // flock keeps out programs that lock (and a second copy of this one), root included;
    // TIOCEXCL keeps out every later open by anyone but root. A port somebody else already
    // made exclusive is busy even for root.
    int exclusive = 0;
    const bool usable = flock(fd, LOCK_EX | LOCK_NB) == 0 && ReadExclusive(fd, exclusive) && exclusive == 0 &&
                        ioctl(fd, TIOCEXCL) == 0;
    if (!usable) {
        lastError_ = exclusive != 0 ? EBUSY : errno;
        close(fd);
        return InvalidPortHandle;
    }
    // A port starts with an empty input buffer: nothing that arrived before this open is read.
    tcflush(fd, TCIFLUSH);
    timeouts_[fd] = COMMTIMEOUTS{};
    return fd;
}

bool PosixSerialDevice::GetCommTimeouts(PortHandleValue handle, COMMTIMEOUTS& timeouts)
{
    const auto found = timeouts_.find(handle);
    if (found == timeouts_.end()) {
        lastError_ = EBADF;
        return false;
    }
    timeouts = found->second;
    return true;
}

bool PosixSerialDevice::SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts)
{
    const auto found = timeouts_.find(handle);
    if (found == timeouts_.end()) {
        lastError_ = EBADF;
        return false;
    }
    found->second = timeouts;
    return true;
}

bool PosixSerialDevice::GetCommState(PortHandleValue handle, DCB& state)
{
    NativePortState native;
    if (tcgetattr(Fd(handle), &native.Attributes) != 0) return Fail();
    native.HasModemLines = ioctl(Fd(handle), TIOCMGET, &native.ModemLines) == 0;
    state.Native = native;
    DecodeLineFormat(native.Attributes, state);
    return true;
}

bool PosixSerialDevice::SetCommState(PortHandleValue handle, const DCB& state)
{
    termios wanted = state.Native.Attributes;
    if (!EncodeLineFormat(state, wanted)) {
        lastError_ = EINVAL;
        return false;
    }
    MakeDataLine(wanted);
    if (tcsetattr(Fd(handle), TCSANOW, &wanted) != 0) return Fail();
    // tcsetattr succeeds when any part of the change was taken: check that all of it was.
    termios applied{};
    if (tcgetattr(Fd(handle), &applied) != 0) return Fail();
    if (!SameLine(applied, wanted)) {
        lastError_ = EINVAL;
        return false;
    }
    return true;
}

bool PosixSerialDevice::RestoreCommState(PortHandleValue handle, const DCB& state)
{
    if (tcsetattr(Fd(handle), TCSANOW, &state.Native.Attributes) != 0) return Fail();
    if (state.Native.HasModemLines && ioctl(Fd(handle), TIOCMSET, &state.Native.ModemLines) != 0)
        return Fail();
    return true;
}

bool PosixSerialDevice::EscapeCommFunction(PortHandleValue handle, std::uint32_t function)
{
    int line = 0;
    unsigned long request = 0;
    switch (function) {
    case SETDTR:
        line = TIOCM_DTR;
        request = TIOCMBIS;
        break;
    case CLRDTR:
        line = TIOCM_DTR;
        request = TIOCMBIC;
        break;
    case SETRTS:
        line = TIOCM_RTS;
        request = TIOCMBIS;
        break;
    case CLRRTS:
        line = TIOCM_RTS;
        request = TIOCMBIC;
        break;
    default: lastError_ = EINVAL; return false;
    }
    return ioctl(Fd(handle), request, &line) == 0 || Fail();
}

bool PosixSerialDevice::ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count)
{
    count = 0;
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(handle, timeouts)) return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts.ReadTotalTimeoutMultiplier +
                                                                   timeouts.ReadTotalTimeoutConstant);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd port{Fd(handle), POLLIN, 0};
        const int ready = poll(&port, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return true;  // time-out: no byte
        if (ready > 0 && (port.revents & POLLIN)) {
            const ssize_t got = read(Fd(handle), &byte, 1);
            if (got == 1) {
                count = 1;
                return true;
            }
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (got < 0) Fail();
        } else if (ready < 0) {
            Fail();
        } else {
            lastError_ = EIO;
        }
        // Hung up, unplugged or failing: poll() and read() would answer at once from now on.
        // Wait out the time limit so that a caller reading in a loop does not spin.
        std::this_thread::sleep_until(deadline);
        return false;
    }
}

bool PosixSerialDevice::CloseHandle(PortHandleValue handle)
{
    timeouts_.erase(handle);
    // The exclusive flag outlives this handle on a tty that someone else keeps open.
    ioctl(Fd(handle), TIOCNXCL);
    // Linux releases the descriptor even when close() reports an error; only a handle that was
    // never valid failed to close.
    if (close(Fd(handle)) != 0 && errno == EBADF) return Fail();
    return true;
}
