// One routine that computes a run of pixels of a row: the setup routine and
// the three channel routines copied into a loop, so a pixel costs no calls.
// Built from the four routines' bytes alone, so a component rebuilds it from
// the code it carries.
#ifndef KESTREL_FORMULA_LOOP_H
#define KESTREL_FORMULA_LOOP_H

#include "formula_compiler.h"

// Room for the four routines' bodies twice (the loop over every pixel and
// the one over selected pixels), the code run once per row, and the code
// around them.
const int kFormulaLoopSize = 9 * kFormulaCodeSize;

// What the loop reads, through EDX; the context comes in EAX and its x is
// the first pixel's, counted up by the loop.
struct FormulaRow {
    const unsigned long* first;  // source pixel at x
    const unsigned long* end;    // one past the run's last source pixel
    unsigned long delta;         // target address minus source address
    unsigned long keep;          // 0xFF000000 computes every pixel; 0 only flagged ones
};

// What the compiler knows beyond the code, which lets the loop do less.
struct FormulaLoopHints {
    // Channels that change no state: a pure channel whose code equals the
    // pure channel before it takes that one's result.
    bool pure[3];
    bool needsX;  // something reads the context's x
    bool byteValued[3];  // channels that need no clamping
    // The channels compiled for the loop (FormulaCompilation::loopBody),
    // which read r, g and b from the pixel and maybe x from ESI; null to
    // run the routines' own bodies.
    const unsigned char* body[3];
    int bodySize[3];
    bool xInEsi;
    unsigned setupUsage;  // what the loop's own setup must load for them
    const unsigned char* rowCode;  // run before the pixels, for the bodies
    int rowCodeSize;
};

// code and size in FormulaBuffer order; without hints the loop assumes the
// least. Returns the loop's size in bytes.
int BuildFormulaLoop(const unsigned char* const code[4], const int size[4], const FormulaLoopHints* hints,
                     unsigned char* loop);

// The hints point into compiled, which must outlive their use.
FormulaLoopHints FormulaLoopHintsOf(const FormulaCompilation& compiled);

#endif
