#include "Pty.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

Pty::Pty()
{
    int slave = -1;
    char name[256] = {};
    if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    // The slave side is opened again by the code under test; this descriptor is not needed.
    close(slave);
    path_ = name;
}

Pty::~Pty() { HangUp(); }

void Pty::Send(const std::string& bytes) const
{
    if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("write to pty failed");
}

void Pty::HangUp()
{
    if (master_ >= 0) close(master_);
    master_ = -1;
}
