#include "ReadClock.h"

#include "Clocks.h"

bool ReadClock::ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count)
{
    const bool read = PosixSerialDevice::ReadFile(handle, byte, count);
    if (count == 1) reads_.push_back({MonotonicNs(), byte});
    return read;
}
