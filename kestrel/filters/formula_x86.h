// Machine-code fragments of the formula compiler: a stack machine whose top
// is cached in EAX, with EBX holding the context. Every fragment is
// self-contained and position-independent (relative jumps only, data through
// EBX), so the code runs wherever it is copied.
#ifndef KESTREL_FORMULA_X86_H
#define KESTREL_FORMULA_X86_H

enum FormulaOp {
    OP_LOR, OP_LAND, OP_OR, OP_XOR, OP_AND, OP_EQ, OP_NE,
    OP_LT, OP_LE, OP_GT, OP_GE, OP_SHL, OP_SHR, OP_ADD, OP_SUB,
    OP_MUL, OP_DIV, OP_MOD, OP_NOT, OP_COMPL, OP_NEG
};

enum FormulaFunction {
    FN_ABS, FN_ADD, FN_SUB, FN_DIF, FN_MIN, FN_MAX, FN_MIX, FN_SCL, FN_VAL,
    FN_CTL, FN_MAP, FN_PUT, FN_GET, FN_RND, FN_SQR, FN_SRC, FN_RAD, FN_CNV,
    FN_C2D, FN_C2M, FN_SIN, FN_COS, FN_TAN, FN_R2X, FN_R2Y
};

// Usage bits: which per-pixel values the setup routine must load.
enum FormulaUsage {
    USE_R = 1, USE_G = 2, USE_B = 4, USE_I = 8, USE_U = 16, USE_V = 32,
    USE_D = 64, USE_M = 128, USE_CNV = 256
};

struct X86Fragment {
    unsigned char bytes[512];
    int size = 0;

    void Byte(int b) { bytes[size++] = static_cast<unsigned char>(b); }
    void Dword(unsigned v);
    void Text(const char* hex);  // bytes written as hex pairs, spaces ignored
};

const int kFormulaPrologueSize = 3;
const int kFormulaEpilogueSize = 3;

void EmitPrologue(X86Fragment& f);
void EmitEpilogue(X86Fragment& f);
// What an operand loads: a number, a context field at [EBX + value], byte
// `value` of the source pixel at EDI, or x kept in ESI. The last two exist
// only inside the row loop.
enum FormulaLoad { LOAD_CONSTANT, LOAD_FIELD, LOAD_PIXEL_BYTE, LOAD_X_REGISTER };

// reg (EAX 0, ECX 1) = the operand, without the push of a stack slot.
void EmitLoad(X86Fragment& f, int reg, FormulaLoad kind, int value);
void EmitConstant(X86Fragment& f, int value);
void EmitField(X86Fragment& f, int offset);
void EmitOperator(X86Fragment& f, FormulaOp op);
// eax = eax op value for the operators that take an immediate right
// operand; false, writing nothing, for the others.
bool EmitOperatorWithConstant(X86Fragment& f, FormulaOp op, int value);
// The same with a context field or x in ESI as the right operand.
bool EmitOperatorWithOperand(X86Fragment& f, FormulaOp op, FormulaLoad kind, int value);
// eax = eax / divisor and eax % divisor, the same results as OP_DIV and
// OP_MOD give with the divisor on top of the stack, multiplying where they can.
void EmitDivideByConstant(X86Fragment& f, int divisor);
void EmitModuloByConstant(X86Fragment& f, int divisor);
void EmitFunction(X86Fragment& f, FormulaFunction fn, int channel);
// src(x, y, z) with z known: eax y, [esp] x. It is the row part, which
// turns y into the offset of its row, then the column part, which takes
// that offset in EAX and x from the stack.
void EmitSourceOfChannel(X86Fragment& f, int z);
void EmitSourceRow(X86Fragment& f);
void EmitSourceColumn(X86Fragment& f, int z);
void EmitDiscard(X86Fragment& f);
// test eax, eax / pop eax / je rel32; the displacement is the last 4 bytes.
void EmitConditionJump(X86Fragment& f);
// jmp rel32; the displacement is the last 4 bytes.
void EmitJump(X86Fragment& f);
// The setup routine for the usage bits. A routine stores the pixel's place
// first whatever the bits; the row loop's own setup (storePixel false)
// stores it only for cnv, its one reader.
void EmitSetup(X86Fragment& f, unsigned usage, bool storePixel = true);

#endif
