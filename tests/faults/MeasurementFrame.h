// A measurement frame as the counter sends it, for tests that play the counter themselves:
// three spaces, the 13-byte reading, two hex digits of the sum of bytes 0-15, CR LF.
#pragma once

#include <cstdio>
#include <string>

inline std::string MeasurementFrame(const std::string& reading)
{
    std::string frame = "   " + reading;
    unsigned sum = 0;
    for (unsigned char byte : frame) sum += byte;
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", sum & 0xff);
    return frame + checksum + "\r\n";
}
