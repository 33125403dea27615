// Applying faults to a frame slot.
#include "counter/slot.h"

#include "counter/line_timing.h"
#include "counter/rng.h"

namespace zorvalit::counter {

namespace {

constexpr std::uint64_t kBurstStream = 3;

void add_to_kind(std::string& kind, std::string_view name) {
    if (!kind.empty()) kind += '+';
    kind += name;
}

Bytes random_bytes(std::uint32_t count, Rng& rng) {
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(rng.next());
    return bytes;
}

}  // namespace

std::vector<Chunk> compose_slot(std::uint64_t frame, const std::string& reading, const std::vector<Fault>& faults,
                                std::uint64_t seed) {
    std::vector<Chunk> chunks;
    Rng burst_rng = Rng::stream(seed, kBurstStream, frame);
    std::string lead(kLead);
    std::string text = reading;
    std::string kind;
    std::optional<std::uint32_t> cut;

    for (const Fault& fault : faults) {
        switch (fault.kind) {
        case FaultKind::Silence:
            chunks.push_back({"silence", {}, fault.arg * kNsPerMs});
            continue;
        case FaultKind::Burst:
            chunks.push_back({"burst", random_bytes(fault.arg, burst_rng), std::nullopt});
            continue;
        case FaultKind::NoSpace:
            if (fault.arg == kWholeLead) {
                lead.assign(kLeadSize, '*');
            } else {
                lead[fault.arg] = '*';
            }
            break;
        case FaultKind::Nul:
            text[fault.arg] = '\0';
            break;
        case FaultKind::Cp1250:
            text[fault.arg] = '\xB5';
            text[fault.arg + 1] = '\x8A';
            break;
        case FaultKind::Cut:
            cut = cut ? std::min(*cut, fault.arg) : fault.arg;
            continue;
        }
        add_to_kind(kind, fault_name(fault.kind));
    }

    Bytes bytes = make_frame(lead, text);
    std::optional<std::int64_t> quiet_after;
    if (cut) {
        add_to_kind(kind, fault_name(FaultKind::Cut));
        bytes.resize(*cut);
        quiet_after = kCutSilenceNs;
    }
    chunks.push_back({kind.empty() ? "frame" : kind, std::move(bytes), quiet_after});
    return chunks;
}

}  // namespace zorvalit::counter

