// Fault names, their command-line form and random drawing.
#include "counter/fault.h"

#include <array>
#include <charconv>
#include <optional>

#include "counter/usage_error.h"

namespace zorvalit::counter {

namespace {

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

const KindInfo& info(FaultKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

template <typename T>
std::optional<T> to_number(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string_view fault_name(FaultKind kind) { return info(kind).name; }

Fault parse_fault(std::string_view text) {
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
                             std::to_string(kind.max) + ", not '" + std::string(text.substr(colon + 1)) + "'");
        }
        return {kind.kind, *arg};
    }
    throw UsageError("unknown fault '" + std::string(name) +
                     "' (kinds: cut, nospace, nul, cp1250, burst, silence)");
}

ScheduledFault parse_scheduled_fault(std::string_view text) {
    const auto at = text.rfind('@');
    if (at == std::string_view::npos) throw UsageError("fault '" + std::string(text) + "' needs @FRAME");
    const auto frame = to_number<std::uint64_t>(text.substr(at + 1));
    if (!frame || *frame == 0) {
        throw UsageError("fault frame must be a number from 1, not '" + std::string(text.substr(at + 1)) + "'");
    }
    return {parse_fault(text.substr(0, at)), *frame};
}

Fault random_fault(Rng& rng) {
    const auto kind = static_cast<FaultKind>(rng.between(0, kKinds.size() - 1));
    // Random bursts and silences stay short so a high fault rate still
    // leaves most of the line to real frames.
    switch (kind) {
    case FaultKind::NoSpace:
        return {kind, static_cast<std::uint32_t>(rng.between(0, kWholeLead))};
    case FaultKind::Burst:
        return {kind, static_cast<std::uint32_t>(rng.between(1, 40))};
    case FaultKind::Silence:
        return {kind, static_cast<std::uint32_t>(rng.between(50, 500))};
    default:
        return {kind, static_cast<std::uint32_t>(rng.between(info(kind).min, info(kind).max))};
    }
}

}  // namespace zorvalit::counter
