#pragma once
// The best of several runs: the least disturbed measurement on a shared machine.

#include <algorithm>
#include <chrono>

template<typename Work>
double bestOfMs(int runs, Work &&work)
{
    using Clock = std::chrono::steady_clock;
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}
