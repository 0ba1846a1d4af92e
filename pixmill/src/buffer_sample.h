// The rounded mean of four pixels, shared by smoothed scaling and transforms.
//
// The three colour channels travel packed in one 32-bit accumulator, ten bits
// each (blue 0-9, green 10-19, red 20-29): four bytes plus the rounding 2 sum
// to at most 1022, so no channel spills into the next. The flag byte is left
// out, which gives the result a flag byte of 0.
#ifndef PIXMILL_BUFFER_SAMPLE_H
#define PIXMILL_BUFFER_SAMPLE_H

#include <stdint.h>

// The rounding 2 preloaded into each channel.
const uint32_t SampleRound = 2u | 2u << 10 | 2u << 20;

inline uint32_t PackSample(unsigned long p)
{
    uint32_t v = uint32_t(p);
    return (v & 0xFF) | (v & 0xFF00) << 2 | (v & 0xFF0000) << 4;
}

// acc holds SampleRound plus four packed samples.
inline unsigned long UnpackMean(uint32_t acc)
{
    return (acc >> 2 & 0xFF) | (acc >> 4 & 0xFF00) | (acc >> 6 & 0xFF0000);
}

inline unsigned long MeanOf4(unsigned long a, unsigned long b, unsigned long c, unsigned long d)
{
    return UnpackMean(SampleRound + PackSample(a) + PackSample(b) + PackSample(c) + PackSample(d));
}

#endif
