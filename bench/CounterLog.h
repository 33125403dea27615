// The frames a zorvalit-counter run put on the line, read back from its --log file: for each
// frame slot written in full, the monotonic time its last byte was written and its reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SentFrame {
    std::int64_t slot = 0;
    std::int64_t lastByteNs = 0;
    // Bytes 3-15 of the frame, as the label shows them.
    std::string reading;
    // Bytes of the frame the pty refused.
    std::int64_t dropped = 0;
};

std::vector<SentFrame> ReadSentFrames(const std::string& logPath);
