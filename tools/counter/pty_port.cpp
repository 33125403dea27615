// Pseudo-terminal setup, non-blocking writes and input draining.
#include "counter/pty_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace zorvalit::counter {

namespace {

[[noreturn]] void fail(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

void make_raw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) fail("tcgetattr on pty slave");
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSTOPB | PARENB);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B2400);
    cfsetospeed(&tio, B2400);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) fail("tcsetattr on pty slave");
}

}  // namespace

PtyPort::PtyPort()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) fail("posix_openpt");
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        const int error = errno;
        ::close(master_);
        throw std::system_error(error, std::generic_category(), "setting up pty");
    }
    slave_path_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    try {
        if (slave_ < 0) fail("opening pty slave");
        make_raw(slave_);
        if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) fail("fcntl on pty master");
    } catch (...) {
        if (slave_ >= 0) ::close(slave_);
        ::close(master_);
        throw;
    }
}

PtyPort::~PtyPort()
{
    ::close(master_);
    ::close(slave_);
}

std::size_t PtyPort::write_some(std::span<const std::uint8_t> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else {
            fail("writing to pty");
        }
    }
    return written;
}

void PtyPort::discard_input()
{
    char buffer[256];
    while (::read(master_, buffer, sizeof buffer) > 0) {
    }
}

std::size_t PtyPort::unread_by_receiver() const
{
    int queued = 0;
    if (ioctl(slave_, TIOCINQ, &queued) != 0) fail("TIOCINQ on pty slave");
    return static_cast<std::size_t>(queued);
}

}  // namespace zorvalit::counter
