// The --link symbolic link (such as /dev/COM1) to the current pty slave:
// made at start, re-pointed after a reopen, removed at the end if it still
// points where we put it. It replaces only a link into /dev/pts (one left by
// an earlier run), never a file, a device or any other link.
#pragma once

#include <string>

namespace zorvalit::counter {

class DeviceLink {
public:
    // Throws std::runtime_error if path exists and may not be replaced.
    DeviceLink(std::string path, const std::string& target);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Points the link at a new slave in one step, so it is never missing.
    void repoint(const std::string& target);

private:
    bool still_ours() const;
    void replace_with(const std::string& target);

    std::string path_;
    std::string target_;
};

}  // namespace zorvalit::counter
