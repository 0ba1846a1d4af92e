// The custom convolution filter's arithmetic: a 5x5 grid of integer weights
// with a divisor and a bias, run as a 3x3 kernel when the outer ring cannot
// change a channel by a visible step.
//
// Every output channel is sum(c * neighbour) + bias with c = weight / div as
// a 32-bit float, accumulated in 32-bit floats row by row, left to right,
// then clamped to 0..255. Inner pixels (whose whole kernel lies inside the
// picture) round the sum to nearest, ties to even; border pixels take their
// neighbours from the picture with coordinates clamped and truncate toward
// zero. Stored results and tests depend on these two rules, so a faster path
// must give the same bits.
#ifndef KESTREL_CONVOLVE_H
#define KESTREL_CONVOLVE_H

#include <vector>

#include "buffer.h"

const int ConvolveMinDiv = 1, ConvolveMaxDiv = 9999;
const int ConvolveMinBias = -9999, ConvolveMaxBias = 9999;
const int ConvolveMinWeight = -999, ConvolveMaxWeight = 999;

// Weights row by row, top row first.
struct ConvolveKernel {
    short weights[25];
    int div;
    int bias;
};

// The start values: 1 in the inner 3x3, 0 in the ring, div 1, bias 0.
ConvolveKernel DefaultConvolveKernel();

// A weight w is insignificant when |w / div| <= 0.0039062 (just under 1/256).
bool InsignificantWeight(int weight, int div);
// True when all 16 ring weights are insignificant: the 3x3 kernel is used.
bool UsesInnerKernel(const ConvolveKernel& k);

// Runs a kernel over rows of a picture, reading the untouched copy.
class Convolver {
public:
    // div is clamped to 1..9999 first: the divisor comes from an edit the
    // user may be typing in, and must never be 0.
    Convolver(Buffer& saved, const ConvolveKernel& k);
    int Size() const { return size_; }
    // Computes row y for x0..x1 (clipped to the picture) into out, which
    // has the same rect as the saved picture. selectedOnly: only pixels
    // whose saved flag byte is non-zero change. The flag byte of every
    // written pixel is the saved pixel's, so the selection survives.
    void Row(Buffer& out, int y, int x0, int x1, bool selectedOnly);
    // All rows of r.
    void Run(Buffer& out, Rect r, bool selectedOnly);

private:
    // One source row as 4 floats a pixel (R, G, B, 0), padded by the
    // kernel radius on both sides with the edge pixel repeated.
    const float* SourceRow(int y);

    Buffer& saved_;
    int size_;
    int radius_;
    float coeffs_[25];
    float bias_;
    int width_;
    std::vector<float> rows_;     // size_ slots of (width_ + 2 * radius_) * 4
    std::vector<int> rowOfSlot_;  // source row held by each slot; -1 none
};

#endif
