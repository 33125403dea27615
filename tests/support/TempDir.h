// A fresh directory under the system's temporary directory, removed with everything in it at
// the end of its scope: the device directory of port links, logs and port-choice files.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string path(const std::string& name) const { return path_ + "/" + name; }
    std::string operator/(const std::string& name) const { return path(name); }
    // Makes <dir>/<name> a symbolic link to target.
    void Link(const std::string& name, const std::string& target) const;

private:
    std::string path_;
};
