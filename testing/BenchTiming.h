#pragma once
// Timing for the benchmark programs: the median of several runs, which a single slow run on a
// busy machine does not move.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace benchtiming {

inline double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace benchtiming
