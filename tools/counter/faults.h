// The faults the counter can inject: their kinds, how they are written on
// the command line ("KIND[:ARG]@FRAME"), which faults each frame slot gets,
// and how a slot with its faults becomes the chunks put on the line.
//
//   cut:N       send only the first N bytes of the frame (1-19), then 250 ms of silence
//   nospace[:I] the lead byte at offset I (0-2) becomes '*'; all three without I
//   nul[:P]     a NUL at reading position P (0-12, default 6)
//   cp1250[:P]  the Windows-1250 bytes 0xB5 'µ' and 0x8A 'Š' at reading positions P and P+1 (0-11, default 0)
//   burst:N     N random bytes (1-4096) before the frame, followed by the normal pause
//   silence:MS  MS milliseconds (1-3600000) of extra quiet before the frame
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "counter/frames.h"
#include "counter/random_source.h"

namespace zorvalit::counter {

enum class FaultKind { Cut, NoSpace, Nul, Cp1250, Burst, Silence };

// nospace's argument when all three lead bytes are replaced.
inline constexpr std::uint32_t kWholeLead = 3;

struct Fault {
    FaultKind kind;
    std::uint32_t arg;
    bool operator==(const Fault&) const = default;
};

// A fault asked for at one frame slot (numbered from 1).
struct ScheduledFault {
    Fault fault;
    std::uint64_t frame;
    bool operator==(const ScheduledFault&) const = default;
};

std::string_view fault_name(FaultKind kind);

// Parses "KIND[:ARG]"; throws UsageError (command_line.h) naming what is wrong.
Fault parse_fault(std::string_view text);

// Parses "KIND[:ARG]@FRAME"; throws UsageError.
ScheduledFault parse_scheduled_fault(std::string_view text);

// Draws one fault of any kind with an argument in its allowed range.
Fault random_fault(Rng& rng);

// Decides which faults each frame slot gets: those asked for at that frame
// number, then, with a fault rate P, one random fault with probability P.
// The answer for a frame depends only on the seed and the frame number.
class FaultPlan {
public:
    FaultPlan(std::vector<ScheduledFault> scheduled, double rate, std::uint64_t seed);

    std::vector<Fault> faults_for(std::uint64_t frame) const;

private:
    std::vector<ScheduledFault> scheduled_;
    double rate_;
    std::uint64_t seed_;
};

// ---- Turning one frame slot (its number, its reading, its faults) into the
// chunks to put on the line, in order. Silences and bursts come first, in the
// order given; then the frame with its content faults applied, cut last.

struct Chunk {
    // "frame"; "burst"; "silence"; or the faults applied to the frame joined
    // by '+', e.g. "nul", "nospace+cut".
    std::string kind;
    Bytes bytes;  // empty for a silence
    // Quiet after the chunk; unset for the normal pause between frames.
    std::optional<std::int64_t> quiet_after_ns;
};

std::vector<Chunk> compose_slot(std::uint64_t frame, const std::string& reading,
                                const std::vector<Fault>& faults, std::uint64_t seed);

}  // namespace zorvalit::counter
