// The --log file (or nothing without --log): every line is flushed at
// once, so whoever follows the file sees each write as it happens.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace zorvalit::counter {

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
