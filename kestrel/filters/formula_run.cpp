// The runner: fills the context, then for each chosen pixel runs the setup
// routine and the three channel routines, through the loop built from them
// when there is one; a written pixel keeps its source pixel's flag byte.
#include "formula_run.h"

#include "formula_loop.h"

#include <cmath>
#include <cstring>

namespace {

// The generated code takes the context in EAX; setup the pixel in EAX and
// the context in EDX.
typedef int (__attribute__((regparm(1))) * ChannelRoutine)(FormulaContext*);
typedef void (__attribute__((regparm(2))) * SetupRoutine)(const unsigned long*, FormulaContext*);
typedef void (__attribute__((regparm(2))) * LoopRoutine)(FormulaContext*, const FormulaRow*);

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

void ResetContext(FormulaContext& ctx, const int ctl[8], const FormulaPixels& p)
{
    ctx.source = p.source;
    ctx.stride = p.sourceStride;
    ctx.X = p.width;
    ctx.Y = p.height;
    double w = p.width, h = p.height;
    ctx.M = static_cast<int>(std::sqrt(w * w + h * h) * 0.5);
    std::memcpy(ctx.ctl, ctl, sizeof ctx.ctl);
    std::memset(ctx.cell, 0, sizeof ctx.cell);
    ctx.r = ctx.g = ctx.b = ctx.i = ctx.u = ctx.v = ctx.d = ctx.m = 0;
    ctx.seed = 0;
    ctx.pixel = p.source;
    ctx.x = ctx.y = ctx.edge = 0;
}

// Pixels x0..x1 of row y through the loop routine.
void RunRow(LoopRoutine loop, FormulaContext& ctx, const FormulaPixels& p, int y, int x0, int x1)
{
    if (x0 > x1)
        return;
    const unsigned long* in = p.source + y * p.sourceStride;
    unsigned long* out = p.target + y * p.targetStride;
    FormulaRow row;
    row.first = in + x0;
    row.end = in + x1 + 1;
    row.delta = reinterpret_cast<unsigned long>(out) - reinterpret_cast<unsigned long>(in);
    row.keep = p.hasSelection ? 0 : 0xFF000000;
    ctx.x = x0;
    ctx.y = y;
    loop(&ctx, &row);
}

// Pixels x0..x1 of row y, calling the four routines for each.
void CallRow(const FormulaRoutines& routines, FormulaContext& ctx, const FormulaPixels& p, int y, int x0, int x1)
{
    ChannelRoutine channel[3];
    for (int c = 0; c < 3; ++c)
        channel[c] = reinterpret_cast<ChannelRoutine>(const_cast<unsigned char*>(routines.code[c]));
    SetupRoutine setup = reinterpret_cast<SetupRoutine>(const_cast<unsigned char*>(routines.code[3]));
    const unsigned long* in = p.source + y * p.sourceStride;
    unsigned long* out = p.target + y * p.targetStride;
    for (int x = x0; x <= x1; ++x) {
        if (p.hasSelection && (in[x] & 0xFF000000) == 0)
            continue;
        ctx.x = x;
        ctx.y = y;
        setup(in + x, &ctx);
        int r = Clamp(channel[0](&ctx));
        int g = Clamp(channel[1](&ctx));
        int b = Clamp(channel[2](&ctx));
        // The flag byte stays: a selected pixel written without its bit
        // would drop out of the selection for the next filter.
        out[x] = (in[x] & 0xFF000000) | static_cast<unsigned long>(r << 16 | g << 8 | b);
    }
}

}  // namespace

bool RunFormulaPixels(const FormulaRoutines& routines, FormulaContext& ctx, const int ctl[8],
                      const FormulaPixels& p, FormulaRunHooks* hooks)
{
    ResetContext(ctx, ctl, p);
    LoopRoutine loop = reinterpret_cast<LoopRoutine>(const_cast<unsigned char*>(routines.loop));
    bool finished = true;
    bool whole = p.right < 0;
    int x0 = whole ? 0 : p.left, y0 = whole ? 0 : p.top;
    int x1 = whole ? p.width - 1 : p.right, y1 = whole ? p.height - 1 : p.bottom;
    if (hooks)
        hooks->Begin(y1 - y0 + 1);  // one step per row
    for (int y = y0; y <= y1; ++y) {
        if (loop)
            RunRow(loop, ctx, p, y, x0, x1);
        else
            CallRow(routines, ctx, p, y, x0, x1);
        if (hooks && !hooks->Step()) {
            finished = false;
            break;
        }
    }
    if (hooks)
        hooks->End();
    return finished;
}
