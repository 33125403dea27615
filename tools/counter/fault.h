// The faults the counter can inject into a frame slot, how they are written
// on the command line ("KIND[:ARG]@FRAME") and how a random one is drawn.
//
//   cut:N       send only the first N bytes of the frame (1-19), then 250 ms of silence
//   nospace[:I] the lead byte at offset I (0-2) becomes '*'; all three without I
//   nul[:P]     a NUL at reading position P (0-12, default 6)
//   cp1250[:P]  the Windows-1250 bytes 0xB5 'µ' and 0x8A 'Š' at reading positions P and P+1 (0-11, default 0)
//   burst:N     N random bytes (1-4096) before the frame, followed by the normal pause
//   silence:MS  MS milliseconds (1-3600000) of extra quiet before the frame
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "counter/rng.h"

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

// Parses "KIND[:ARG]"; throws UsageError naming what is wrong.
Fault parse_fault(std::string_view text);

// Parses "KIND[:ARG]@FRAME"; throws UsageError.
ScheduledFault parse_scheduled_fault(std::string_view text);

// Draws one fault of any kind with an argument in its allowed range.
Fault random_fault(Rng& rng);

}  // namespace zorvalit::counter
