// Writing --log lines.
#include "counter/log_file.h"

#include <cerrno>
#include <system_error>

namespace zorvalit::counter {

LogFile::LogFile(const std::optional<std::string>& path) {
    if (!path) return;
    file_ = std::fopen(path->c_str(), "we");
    if (file_ == nullptr) throw std::system_error(errno, std::generic_category(), "--log " + *path);
}

LogFile::~LogFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void LogFile::write(const std::string& line) {
    if (file_ == nullptr) return;
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

}  // namespace zorvalit::counter
