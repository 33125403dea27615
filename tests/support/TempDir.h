// A scratch folder for tests, removed with everything in it at the end of its scope.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Makes <dir>/<name> a symbolic link to target.
    void Link(const std::string& name, const std::string& target) const;

private:
    std::string path_;
};
