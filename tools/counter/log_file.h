// The --log file: its lines and the file they go to.
//
// Each line has five fields separated by one space:
//   NS FRAME KIND DATA DROPPED
// NS      CLOCK_MONOTONIC time in nanoseconds, taken just before the write
// FRAME   number of the frame slot (from 1); for open/hangup the last slot begun (0 before any)
// KIND    frame, burst, or the faults applied to the frame joined by '+'
//         (nospace, nul, cp1250, cut); or the events open and hangup
// DATA    for writes: the bytes the pty took, in lowercase hex ('-' if none);
//         for open: the new slave path; for hangup: '-'
// DROPPED bytes of this write the pty refused (buffer full), never delivered; 0 for events
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zorvalit::counter {

// A write of `written` bytes of which `dropped` more could not be sent.
std::string log_write_line(std::int64_t ns, std::uint64_t frame, std::string_view kind,
                           std::span<const std::uint8_t> written, std::size_t dropped);

// An open or hangup event; data is the slave path or "-".
std::string log_event_line(std::int64_t ns, std::uint64_t frame, std::string_view event,
                           std::string_view data);

// The --log file (or nothing without --log): every line is flushed at
// once, so whoever follows the file sees each write as it happens.
class LogFile {
public:
    // Creates or truncates path; throws std::system_error if it cannot.
    explicit LogFile(const std::optional<std::string>& path);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    void write(const std::string& line);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace zorvalit::counter
