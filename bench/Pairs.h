// Timing shared by the transfer benchmarks: the plug-in's path and the raw client's run back to back, pair after
// pair and each first in every other pair, so that both see the same load on a shared machine.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Pairs {
    double pluginBest = 1e30;
    double rawBest = 1e30;
    double medianRatio = 0;  // over the pairs, plug-in time / raw client time
};

// Each path times its own platform call and returns the seconds.
inline Pairs RunPairs(int runs, const std::function<double()>& plugin, const std::function<double()>& raw) {
    Pairs result;
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        double times[2];
        for (int turn = 0; turn < 2; ++turn) {
            const int path = (run + turn) % 2;
            times[path] = path == 0 ? plugin() : raw();
        }
        result.pluginBest = std::min(result.pluginBest, times[0]);
        result.rawBest = std::min(result.rawBest, times[1]);
        ratios.push_back(times[0] / times[1]);
    }
    std::sort(ratios.begin(), ratios.end());
    result.medianRatio = ratios.empty() ? 0 : ratios[ratios.size() / 2];
    return result;
}

// One line: both best times, the ratio of the best times against the 1.05 goal, and the pairs' median.
inline void PrintPairs(const char* what, const Pairs& pairs) {
    std::printf("%-8s plug-in %7.1f ms  raw client %7.1f ms  ratio %.3f (goal <= 1.05; pairs' median %.3f)", what,
                pairs.pluginBest * 1e3, pairs.rawBest * 1e3, pairs.pluginBest / pairs.rawBest, pairs.medianRatio);
}

}  // namespace bench
