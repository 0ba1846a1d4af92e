// Timing for the benchmarks: the best of several rounds, since the slower
// rounds measure the machine (Wine's start-up, other processes), not the code.
#ifndef BENCH_TIMER_H
#define BENCH_TIMER_H

#include <windows.h>

#include <functional>

inline double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// Seconds per call of work: the best of rounds rounds of calls calls each.
inline double BestTime(const std::function<void()>& work, int rounds, int calls = 1)
{
    double best = 1e9;
    for (int round = 0; round < rounds; round++) {
        double start = Now();
        for (int i = 0; i < calls; i++) work();
        double t = (Now() - start) / calls;
        if (t < best) best = t;
    }
    return best;
}

#endif
