// Fault names, their command-line form, random drawing, the per-slot fault
// plan, and applying faults to a frame slot.
#include "counter/faults.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "counter/command_line.h"

namespace zorvalit::counter {

namespace {

constexpr std::uint64_t kFaultStream = 2;
constexpr std::uint64_t kBurstStream = 3;

struct KindInfo {
    FaultKind kind;
    std::string_view name;
    std::uint32_t min;
    std::uint32_t max;
    std::optional<std::uint32_t> default_arg;  // unset: the argument is required
};

constexpr std::array<KindInfo, 6> kKinds{{
    {FaultKind::Cut, "cut", 1, 19, std::nullopt},
    {FaultKind::NoSpace, "nospace", 0, 2, kWholeLead},
    {FaultKind::Nul, "nul", 0, 12, 6},
    {FaultKind::Cp1250, "cp1250", 0, 11, 0},
    {FaultKind::Burst, "burst", 1, 4096, std::nullopt},
    {FaultKind::Silence, "silence", 1, 3'600'000, std::nullopt},
}};

const KindInfo& info(FaultKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

template <typename T>
std::optional<T> to_number(std::string_view text)
{
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

void add_to_kind(std::string& kind, std::string_view name)
{
    if (!kind.empty()) kind += '+';
    kind += name;
}

Bytes random_bytes(std::uint32_t count, Rng& rng)
{
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(rng.next());
    return bytes;
}

}  // namespace

std::string_view fault_name(FaultKind kind) { return info(kind).name; }

Fault parse_fault(std::string_view text)
{
    const auto colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const KindInfo& kind : kKinds) {
        if (kind.name != name) continue;
        if (colon == std::string_view::npos) {
            if (!kind.default_arg) throw UsageError("fault '" + std::string(name) + "' needs an argument");
            return {kind.kind, *kind.default_arg};
        }
        const auto arg = to_number<std::uint32_t>(text.substr(colon + 1));
        if (!arg || *arg < kind.min || *arg > kind.max) {
            throw UsageError("fault '" + std::string(name) + "' takes " + std::to_string(kind.min) + "-" +
                             std::to_string(kind.max) + ", not '" + std::string(text.substr(colon + 1)) +
                             "'");
        }
        return {kind.kind, *arg};
    }
    throw UsageError("unknown fault '" + std::string(name) +
                     "' (kinds: cut, nospace, nul, cp1250, burst, silence)");
}

ScheduledFault parse_scheduled_fault(std::string_view text)
{
    const auto at = text.rfind('@');
    if (at == std::string_view::npos) throw UsageError("fault '" + std::string(text) + "' needs @FRAME");
    const auto frame = to_number<std::uint64_t>(text.substr(at + 1));
    if (!frame || *frame == 0) {
        throw UsageError("fault frame must be a number from 1, not '" + std::string(text.substr(at + 1)) +
                         "'");
    }
    return {parse_fault(text.substr(0, at)), *frame};
}

Fault random_fault(Rng& rng)
{
    const auto kind = static_cast<FaultKind>(rng.between(0, kKinds.size() - 1));
    // Random bursts and silences stay short so a high fault rate still
    // leaves most of the line to real frames.
    switch (kind) {
    case FaultKind::NoSpace: return {kind, static_cast<std::uint32_t>(rng.between(0, kWholeLead))};
    case FaultKind::Burst: return {kind, static_cast<std::uint32_t>(rng.between(1, 40))};
    case FaultKind::Silence: return {kind, static_cast<std::uint32_t>(rng.between(50, 500))};
    default: return {kind, static_cast<std::uint32_t>(rng.between(info(kind).min, info(kind).max))};
    }
}

FaultPlan::FaultPlan(std::vector<ScheduledFault> scheduled, double rate, std::uint64_t seed)
    : scheduled_(std::move(scheduled)), rate_(rate), seed_(seed)
{
}

std::vector<Fault> FaultPlan::faults_for(std::uint64_t frame) const
{
    std::vector<Fault> faults;
    for (const ScheduledFault& s : scheduled_) {
        if (s.frame == frame) faults.push_back(s.fault);
    }
    if (rate_ > 0) {
        Rng rng = Rng::stream(seed_, kFaultStream, frame);
        if (rng.chance(rate_)) faults.push_back(random_fault(rng));
    }
    return faults;
}

std::vector<Chunk> compose_slot(std::uint64_t frame, const std::string& reading,
                                const std::vector<Fault>& faults, std::uint64_t seed)
{
    std::vector<Chunk> chunks;
    Rng burst_rng = Rng::stream(seed, kBurstStream, frame);
    std::string lead(kLead);
    std::string text = reading;
    std::string kind;
    std::optional<std::uint32_t> cut;

    for (const Fault& fault : faults) {
        switch (fault.kind) {
        case FaultKind::Silence: chunks.push_back({"silence", {}, fault.arg * kNsPerMs}); continue;
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
        case FaultKind::Nul: text[fault.arg] = '\0'; break;
        case FaultKind::Cp1250:
            text[fault.arg] = '\xB5';
            text[fault.arg + 1] = '\x8A';
            break;
        case FaultKind::Cut: cut = cut ? std::min(*cut, fault.arg) : fault.arg; continue;
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
