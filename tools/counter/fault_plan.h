// Decides which faults each frame slot gets: those asked for at that frame
// number, then, with a fault rate P, one random fault with probability P.
// The answer for a frame depends only on the seed and the frame number.
#pragma once

#include <cstdint>
#include <vector>

#include "counter/fault.h"

namespace zorvalit::counter {

class FaultPlan {
public:
    FaultPlan(std::vector<ScheduledFault> scheduled, double rate, std::uint64_t seed);

    std::vector<Fault> faults_for(std::uint64_t frame) const;

private:
    std::vector<ScheduledFault> scheduled_;
    double rate_;
    std::uint64_t seed_;
};

}  // namespace zorvalit::counter
