#include "ProcessProbe.h"

#include <time.h>

#include <filesystem>
#include <fstream>
#include <string>

double CpuSeconds()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "VmRSS:") {
            long kilobytes = -1;
            status >> kilobytes;
            return kilobytes;
        }
    }
    return -1;
}

int OpenDescriptors()
{
    int count = 0;
    // The directory's own descriptor, open while it is listed, is counted too: the same each time.
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}
