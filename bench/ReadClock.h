// The POSIX serial device with a clock on it: notes the monotonic time at which each byte was
// read, and the byte, so that a frame's way from the counter to the label can be split into the
// system's part (written until read) and the program's (read until painted).
#pragma once

#include <cstdint>
#include <vector>

#include "PosixSerialDevice.h"

struct TimedByte {
    std::int64_t ns;
    unsigned char byte;
};

class ReadClock : public PosixSerialDevice {
public:
    using PosixSerialDevice::PosixSerialDevice;

    bool ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count) override;
    const std::vector<TimedByte>& Reads() const { return reads_; }
    void Clear() { reads_.clear(); }

private:
    std::vector<TimedByte> reads_;
};
