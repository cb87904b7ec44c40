// Timing for the benchmarks: the best of several runs, in seconds.
#ifndef QUEN_BENCH_MEASURE_H
#define QUEN_BENCH_MEASURE_H

#include <chrono>
#include <cstdio>

namespace bench {

template <typename Work>
double bestSeconds(int runs, Work&& work) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed.count() < best) {
            best = elapsed.count();
        }
    }
    return best;
}

// One result line: what, quen's time, the baseline's time, the ratio
// (quen / baseline: below 1 is faster than the baseline) and its goal. A ratio
// above its goal is marked MISS, so a run shows at a glance what falls short.
inline void report(const char* what, double quenSeconds, const char* baseline, double baselineSeconds,
                   double goal) {
    const double ratio = quenSeconds / baselineSeconds;
    std::printf("%-44s quen %9.3f ms   %-12s %9.3f ms   ratio %5.2f  goal %4.2f  %s\n", what, quenSeconds * 1e3,
                baseline, baselineSeconds * 1e3, ratio, goal, ratio <= goal ? "ok" : "MISS");
}

}  // namespace bench

#endif
