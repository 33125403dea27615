// Pseudo-terminals standing in for serial ports; a TempDir links them under the names the
// program looks for (COM1, ...). Never touches a real port.
#pragma once

#include <string>

// One pseudo-terminal; the test plays the device on its master side.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    int master() const { return master_; }
    const std::string& path() const { return path_; }
    void Send(const std::string& bytes) const;
    // Closes the master side: the device hangs up.
    void HangUp();

private:
    int master_ = -1;
    std::string path_;
};
