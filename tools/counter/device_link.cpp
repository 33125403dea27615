// Creating, re-pointing and removing the --link symbolic link.
#include "counter/device_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace zorvalit::counter {

namespace {

std::optional<std::string> link_target(const std::string& path)
{
    struct stat info = {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return std::nullopt;
    std::string target(4096, '\0');
    const ssize_t size = readlink(path.c_str(), target.data(), target.size());
    if (size < 0) return std::nullopt;
    target.resize(static_cast<std::size_t>(size));
    return target;
}

std::system_error link_error(const std::string& path)
{
    return std::system_error(errno, std::generic_category(), "--link " + path);
}

}  // namespace

DeviceLink::DeviceLink(std::string path, const std::string& target) : path_(std::move(path))
{
    if (symlink(target.c_str(), path_.c_str()) != 0) {
        if (errno != EEXIST) throw link_error(path_);
        const auto existing = link_target(path_);
        if (!existing || !existing->starts_with("/dev/pts/")) {
            throw std::runtime_error("--link " + path_ +
                                     ": exists and is not a link left by an earlier run; not replacing it");
        }
        replace_with(target);
    }
    target_ = target;
}

DeviceLink::~DeviceLink()
{
    if (still_ours()) ::unlink(path_.c_str());
}

void DeviceLink::repoint(const std::string& target)
{
    if (!still_ours())
        throw std::runtime_error("--link " + path_ + ": was changed by someone else; not replacing it");
    replace_with(target);
    target_ = target;
}

bool DeviceLink::still_ours() const { return link_target(path_) == target_; }

void DeviceLink::replace_with(const std::string& target)
{
    const std::string temporary = path_ + ".new-" + std::to_string(getpid());
    if (symlink(target.c_str(), temporary.c_str()) != 0) throw link_error(temporary);
    if (rename(temporary.c_str(), path_.c_str()) != 0) {
        const auto error = link_error(path_);
        ::unlink(temporary.c_str());
        throw error;
    }
}

}  // namespace zorvalit::counter
