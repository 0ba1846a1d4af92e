// The constant tables of the formula context. Components built from the
// formulas compile this same file, so both compute identical values.
#include "formula_context.h"

#include <cmath>

namespace {

const double kTurn = 6.283185307179586476925;
const int kWeights[9] = {76, 150, 29, 19, 37, 56, 78, 65, 13};

int SineEntry(int k)
{
    return static_cast<int>(512.0 * std::sin(kTurn * k / 1024.0));
}

// Rounded rather than truncated, so that a quarter of a half turn gives 1024
// exactly; the two poles hold a fixed large negative value.
int TangentEntry(int k)
{
    if (k == 256 || k == 768)
        return -167772;
    return static_cast<int>(std::lround(1024.0 * std::tan(kTurn * k / 1024.0)));
}

}  // namespace

void FillFormulaTables(FormulaContext& ctx)
{
    ctx.angleScale = static_cast<float>(512.0 / 3.141592653589793238463);
    for (int k = 0; k < 1280; ++k)
        ctx.sine[k] = SineEntry(k);
    for (int k = 0; k < 1024; ++k)
        ctx.tangent[k] = TangentEntry(k);
    for (int t = 0; t < 9; ++t)
        for (int n = 0; n < 256; ++n)
            ctx.products[t][n] = static_cast<unsigned short>(n * kWeights[t]);
}
