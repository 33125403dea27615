// A pseudo-terminal standing in for the serial line. The counter writes to
// the master and keeps a slave open itself, so the line stays up while no
// receiver has the port open. Destroying the port closes both sides, which
// the receiver sees as a hang-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zorvalit::counter {

class PtyPort {
public:
    // Opens a new pty: slave raw, without echo, at 2400 baud 8N1; master
    // non-blocking. Throws std::system_error.
    PtyPort();
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    const std::string& slave_path() const { return slave_path_; }
    int master_fd() const { return master_; }

    // Writes without waiting and returns how many bytes the pty took; when
    // its buffer is full the rest is dropped, as a line does not wait for a listener.
    std::size_t write_some(std::span<const std::uint8_t> bytes);

    // Reads and ignores whatever the receiver sent.
    void discard_input();

    // Bytes sent that no receiver has read yet.
    std::size_t unread_by_receiver() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slave_path_;
};

}  // namespace zorvalit::counter
