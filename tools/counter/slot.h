// Turns one frame slot (its number, its reading, its faults) into the chunks
// to put on the line, in order. Silences and bursts come first, in the order
// given; then the frame with its content faults applied, cut last.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "counter/fault.h"
#include "counter/frame.h"

namespace zorvalit::counter {

struct Chunk {
    // "frame"; "burst"; "silence"; or the faults applied to the frame joined
    // by '+', e.g. "nul", "nospace+cut".
    std::string kind;
    Bytes bytes;  // empty for a silence
    // Quiet after the chunk; unset for the normal pause between frames.
    std::optional<std::int64_t> quiet_after_ns;
};

std::vector<Chunk> compose_slot(std::uint64_t frame, const std::string& reading, const std::vector<Fault>& faults,
                                std::uint64_t seed);

}  // namespace zorvalit::counter
