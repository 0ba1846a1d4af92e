// The formula compiler: three formula texts to native x86-32 routines, plus
// the setup routine that loads the per-pixel values they use.
#ifndef KESTREL_FORMULA_COMPILER_H
#define KESTREL_FORMULA_COMPILER_H

#include "formula_context.h"

#include <vector>

const int kFormulaCodeSize = 4096;   // bytes per routine buffer
const int kFormulaTextLimit = 1024;  // characters of a formula that count

enum FormulaBuffer { CODE_RED, CODE_GREEN, CODE_BLUE, CODE_SETUP };

struct FormulaChannelResult {
    bool ok;
    bool codeFull;     // the error was the routine outgrowing its buffer
    int errorOffset;   // where reading stopped
    int errorLength;   // the last token read, ending at errorOffset
    bool pure;         // writes no cell and draws no random number
    bool readsX;       // uses the variable x
    bool byteValued;   // always 0..255, so needs no clamping
};

// Where the row loop keeps what a routine reads from the context: a body
// compiled for the loop reads the pixel's channels through EDI, which
// points at the source pixel, and with xInEsi its x from ESI. Such a body
// is not a routine: only the loop can run it.
struct FormulaLoopPlan {
    bool xInEsi;
};

// Parts of the channels' loop bodies that stay the same along a row: the
// loop runs this code once before a row's pixels, and the bodies read the
// values from the context's rowValue. Each piece is an expression's code,
// then the store of its value and the drop of the word it pushed.
struct FormulaRowCode {
    std::vector<unsigned char> code;
    int count = 0;
    int start[kFormulaRowValues];   // each value's expression within code, so
    int length[kFormulaRowValues];  // that channels share equal ones
};

struct FormulaCompilation {
    FormulaChannelResult channel[3];
    unsigned usage;    // union over the channels that compiled
    int size[4];       // bytes of each routine, in FormulaBuffer order
    // The channels again, compiled for the row loop with loopPlan, each
    // kFormulaCodeSize bytes apart; empty when they could not be.
    std::vector<unsigned char> loopBody;
    int loopBodySize[3];
    bool loopBodyByteValued[3];
    FormulaLoopPlan loopPlan;
    FormulaRowCode rowCode;
};

// A channel with an error is compiled as the constant 0. Each buffer holds
// `capacity` bytes and nothing is written beyond it. With a plan the code
// is a body for the row loop instead of a routine, and with rows it leaves
// what stays the same along a row to the row code.
FormulaChannelResult CompileFormula(const char* text, int channel, unsigned char* buffer, int capacity,
                                    unsigned& usage, int& size, const FormulaLoopPlan* plan = nullptr,
                                    FormulaRowCode* rows = nullptr);

// buffers: red, green, blue, setup, each kFormulaCodeSize bytes.
void CompileFormulas(const char* const texts[3], unsigned char* const buffers[4], FormulaCompilation& out);

#endif
