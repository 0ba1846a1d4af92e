// The record the compiled formulas read: the generated code addresses every
// field through EBX, so the layout is part of the code's contract and also
// of components built from the formulas. Pointers are 32-bit on both builds.
#ifndef KESTREL_FORMULA_CONTEXT_H
#define KESTREL_FORMULA_CONTEXT_H

// Values the row loop computes once per row for the code of its pixels.
const int kFormulaRowValues = 32;

struct FormulaContext {
    const unsigned long* source;  // first pixel of the source picture
    int stride;                   // source row distance, in pixels
    const unsigned long* pixel;   // pixel being computed
    int r, g, b;
    int x, y;
    int X, Y;
    int i, u, v;
    int d, m;
    int M;                        // half the picture's diagonal, truncated
    unsigned seed;
    int edge;                     // 8 x is 0, 4 x is X-1, 2 y is 0, 1 y is Y-1
    float angleScale;             // 512/pi: radians to 1024ths of a turn
    int ctl[8];
    int cell[1024];
    int sine[1280];               // the cosine is the same table from entry 256
    int tangent[1024];
    unsigned short products[9][256];
    int rowValue[kFormulaRowValues];  // last, so routines built before it keep their offsets
};

// Which weight each products table holds: i 76 150 29, u 19 37 56, v 78 65 13.
enum FormulaProductTable {
    PROD_I_R, PROD_I_G, PROD_I_B,
    PROD_U_R, PROD_U_G, PROD_U_B,
    PROD_V_R, PROD_V_G, PROD_V_B
};

// Fills the constant part: angle scale, sine, tangent and product tables.
void FillFormulaTables(FormulaContext& ctx);

#endif
