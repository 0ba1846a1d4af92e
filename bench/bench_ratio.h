// The one way every benchmark states a comparison: our throughput divided by
// the baseline's (above 1 = ours faster), with the baseline named. `make
// bench` gathers these lines into its closing summary.
#ifndef BENCH_RATIO_H
#define BENCH_RATIO_H

#include <stdio.h>
#include <stdlib.h>

// ourSeconds and baseSeconds: the time each took for the same work.
inline void Ratio(const char* operation, const char* baseline, double ourSeconds, double baseSeconds)
{
    printf("ratio| %-44s| %-34s| %6.2f\n", operation, baseline, baseSeconds / ourSeconds);
}

// A check of the output that failed: the figures would compare nothing.
inline void Mismatch(const char* what)
{
    printf("MISMATCH: %s\n", what);
    fflush(stdout);
    exit(2);
}

#endif
