// Waits for a condition that something else brings about (another process, a thread, the
// kernel): looks at it every few milliseconds until it holds or the time is up, and once more at
// the end, so that a late look still counts on a busy machine. True once it held.
#pragma once

#include <chrono>
#include <thread>

template <class Condition>
bool PollUntil(Condition&& holds, int timeoutMs, int everyMs = 10)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (holds()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
    }
    return holds();
}
