// The stand-in counter's --log file read back: every write it made to its pseudo-terminal (when,
// for which frame slot, which fault, the bytes the line took, how many it refused) and the
// moments it opened or hung up a line. Tests and benchmarks judge the program against this record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CounterLogLine {
    std::int64_t ns = 0;      // CLOCK_MONOTONIC just before the write
    std::int64_t lastNs = 0;  // the same; in a chunk, that of its last write
    std::int64_t frame = 0;
    // "frame", "burst", the faults joined by '+' ("nul+cut"), or the events "open" and "hangup".
    std::string kind;
    std::vector<std::uint8_t> bytes;  // what the line took; empty for events
    long dropped = 0;
};

struct CounterLog {
    // One line per write: a paced counter writes a byte at a time, a fast one a chunk at once.
    std::vector<CounterLogLine> lines;

    // Reads the file; a line cut short at its end (still being written) is left out.
    static CounterLog Read(const std::string& path);

    // The writes joined into the chunks the counter meant to send: each frame, burst or event
    // once, with the time of its first byte.
    std::vector<CounterLogLine> Chunks() const;

    bool HungUp() const { return Count("hangup") > 0; }
    int LinesOpened() const { return Count("open"); }
    // How many chunks have exactly that kind.
    int Count(const std::string& kind) const;
    // How many chunks had that fault ("cut", "burst", ...), alone or with others.
    int WithFault(const std::string& fault) const;
    // How many frame slots it has begun to write, bursts aside.
    int FramesBegun() const;
    long Dropped() const;
    std::int64_t LastSlot() const;
};
