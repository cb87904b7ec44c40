// Timing for the benchmarks: the best of several runs, in seconds.
#ifndef QUEN_BENCH_MEASURE_H
#define QUEN_BENCH_MEASURE_H

#include <time.h>

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

// The processor time of the calling thread, user and system, in seconds.
inline double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The best processor time of the calling thread over several runs: for work
// that runs on this thread alone (no other process, no waiting), where the
// wall clock on a busy machine would also count the time that other
// processes held the processor. Page faults and the like count, as system
// time.
template <typename Work>
double bestThreadSeconds(int runs, Work&& work) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const double start = threadSeconds();
        work();
        const double elapsed = threadSeconds() - start;
        if (elapsed < best) {
            best = elapsed;
        }
    }
    return best;
}

// The best thread times of two pieces of work run in turn, so that both see
// the same conditions of a shared machine.
template <typename WorkA, typename WorkB>
void bestThreadSecondsAlternating(int runs, WorkA&& workA, double& bestA, WorkB&& workB, double& bestB) {
    bestA = 1e300;
    bestB = 1e300;
    for (int run = 0; run < runs; ++run) {
        const double a = bestThreadSeconds(1, workA);
        const double b = bestThreadSeconds(1, workB);
        bestA = a < bestA ? a : bestA;
        bestB = b < bestB ? b : bestB;
    }
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

// A result whose goal is a time rather than a ratio: quen's time against a
// limit, marked MISS above it.
inline void reportLimit(const char* what, double quenSeconds, double limitSeconds) {
    std::printf("%-44s quen %9.3f ms   %-12s %9.3f ms                goal      %s\n", what, quenSeconds * 1e3, "limit",
                limitSeconds * 1e3, quenSeconds <= limitSeconds ? "ok" : "MISS");
}

}  // namespace bench

#endif
