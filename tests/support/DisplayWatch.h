// The CPU share and the message pumps a second of a display over a stretch of it: a display that
// waits for its line uses a few percent of a core and pumps about six times a second; one that
// spins uses a whole core and pumps thousands of times.
#pragma once

#include <chrono>

#include "Clocks.h"

// A display turn waits 170 ms for a byte, so a second holds about six pumps: fewer than three and
// the display has stopped pumping; more than seven and a half and its reads do not wait.
constexpr double FewestPumpsASecond = 3;
constexpr double MostPumpsASecond = 7.5;

// Start and Stop take the display's pump count at that moment, when the pumps are to be judged.
class DisplayWatch {
public:
    void Start(long pumps = 0)
    {
        cpu_ = CpuSeconds();
        wall_ = std::chrono::steady_clock::now();
        pumps_ = pumps;
    }
    void Stop(long pumps = 0)
    {
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wall_;
        share = (CpuSeconds() - cpu_) / wall.count();
        pumpsASecond = static_cast<double>(pumps - pumps_) / wall.count();
    }
    double share = 1;
    double pumpsASecond = 0;

private:
    double cpu_ = 0;
    std::chrono::steady_clock::time_point wall_;
    long pumps_ = 0;
};
