// Assembly of measurement frames.
#include "counter/frame.h"

#include <stdexcept>

#include "counter/reading_text.h"

namespace zorvalit::counter {

Bytes make_frame(std::string_view lead, std::string_view reading) {
    if (lead.size() != kLeadSize || reading.size() != kReadingSize) {
        throw std::invalid_argument("frame needs a 3-byte lead and a 13-byte reading");
    }
    Bytes frame;
    frame.reserve(kFrameSize);
    frame.insert(frame.end(), lead.begin(), lead.end());
    frame.insert(frame.end(), reading.begin(), reading.end());

    unsigned sum = 0;
    for (const std::uint8_t byte : frame) sum += byte;
    constexpr std::string_view kHex = "0123456789ABCDEF";
    frame.push_back(static_cast<std::uint8_t>(kHex[(sum >> 4) & 0xF]));
    frame.push_back(static_cast<std::uint8_t>(kHex[sum & 0xF]));
    frame.push_back('\r');
    frame.push_back('\n');
    return frame;
}

}  // namespace zorvalit::counter
