// Applies compiled formula routines to pixels. No Win32 here: components
// built from the formulas run this same loop.
#ifndef KESTREL_FORMULA_RUN_H
#define KESTREL_FORMULA_RUN_H

#include "formula_context.h"

// Entry points of executable copies of the four routines, in FormulaBuffer
// order (red, green, blue, setup), and of the loop built from them, when
// there is one; without it each pixel calls the four routines.
struct FormulaRoutines {
    const unsigned char* code[4];
    const unsigned char* loop = nullptr;
};

// Progress of a run: Begin with the row count, Step after each row (false
// stops the run), End once at the end.
class FormulaRunHooks {
public:
    virtual ~FormulaRunHooks() {}
    virtual void Begin(int rows) = 0;
    virtual bool Step() = 0;
    virtual void End() = 0;
};

struct FormulaPixels {
    const unsigned long* source;
    int sourceStride;     // pixels
    unsigned long* target;
    int targetStride;     // pixels
    int width, height;
    bool hasSelection;    // only pixels whose top byte is set are computed
    // The part computed, inclusive; right < 0 means the whole picture.
    int left = 0, top = 0, right = -1, bottom = -1;
};

// Resets the run state of ctx (its tables stay) and computes every chosen
// pixel. Returns false when the hooks stopped the run.
bool RunFormulaPixels(const FormulaRoutines& routines, FormulaContext& ctx, const int ctl[8],
                      const FormulaPixels& pixels, FormulaRunHooks* hooks);

#endif
