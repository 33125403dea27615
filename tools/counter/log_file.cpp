// Formatting and writing --log lines.
#include "counter/log_file.h"

#include <cerrno>
#include <system_error>

namespace zorvalit::counter {

std::string log_write_line(std::int64_t ns, std::uint64_t frame, std::string_view kind,
                           std::span<const std::uint8_t> written, std::size_t dropped)
{
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

std::string log_event_line(std::int64_t ns, std::uint64_t frame, std::string_view event,
                           std::string_view data)
{
    return std::to_string(ns) + ' ' + std::to_string(frame) + ' ' + std::string(event) + ' ' +
           std::string(data) + " 0\n";
}

LogFile::LogFile(const std::optional<std::string>& path)
{
    if (!path) return;
    file_ = std::fopen(path->c_str(), "we");
    if (file_ == nullptr) throw std::system_error(errno, std::generic_category(), "--log " + *path);
}

LogFile::~LogFile()
{
    if (file_ != nullptr) std::fclose(file_);
}

void LogFile::write(const std::string& line)
{
    if (file_ == nullptr) return;
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

}  // namespace zorvalit::counter
