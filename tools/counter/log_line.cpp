// Formatting of --log lines.
#include "counter/log_line.h"

namespace zorvalit::counter {

std::string log_write_line(std::int64_t ns, std::uint64_t frame, std::string_view kind,
                           std::span<const std::uint8_t> written, std::size_t dropped) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string data;
    for (const std::uint8_t byte : written) {
        data += kHex[byte >> 4];
        data += kHex[byte & 0xF];
    }
    if (data.empty()) data = "-";
    return std::to_string(ns) + ' ' + std::to_string(frame) + ' ' + std::string(kind) + ' ' + data + ' ' +
           std::to_string(dropped) + '\n';
}

std::string log_event_line(std::int64_t ns, std::uint64_t frame, std::string_view event, std::string_view data) {
    return std::to_string(ns) + ' ' + std::to_string(frame) + ' ' + std::string(event) + ' ' + std::string(data) +
           " 0\n";
}

}  // namespace zorvalit::counter
