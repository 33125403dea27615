// Scheduled and random faults per frame slot.
#include "counter/fault_plan.h"

namespace zorvalit::counter {

namespace {
constexpr std::uint64_t kFaultStream = 2;
}

FaultPlan::FaultPlan(std::vector<ScheduledFault> scheduled, double rate, std::uint64_t seed)
    : scheduled_(std::move(scheduled)), rate_(rate), seed_(seed) {}

std::vector<Fault> FaultPlan::faults_for(std::uint64_t frame) const {
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

}  // namespace zorvalit::counter
