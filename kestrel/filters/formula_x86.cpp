// The fragments behind each operator, function and setup piece. Registers:
// EAX top of the stack, EBX context, ECX and EDX scratch; ESI, EDI and EBP
// are saved around the few fragments that need them, and the x87 stack is
// left empty, so the routines keep the caller's registers.
#include "formula_x86.h"

#include "formula_context.h"

#include <cstddef>

namespace {

enum Reg { EAX, ECX, EDX, EBX, ESP, EBP, ESI, EDI };

const int kSine = offsetof(FormulaContext, sine);
const int kCosine = kSine + 256 * 4;
const int kTangent = offsetof(FormulaContext, tangent);
const int kCtl = offsetof(FormulaContext, ctl);
const int kCell = offsetof(FormulaContext, cell);
const int kSeed = offsetof(FormulaContext, seed);
const int kSource = offsetof(FormulaContext, source);
const int kStride = offsetof(FormulaContext, stride);
const int kPixel = offsetof(FormulaContext, pixel);
const int kWidth = offsetof(FormulaContext, X);
const int kHeight = offsetof(FormulaContext, Y);
const int kAngle = offsetof(FormulaContext, angleScale);
const int kEdge = offsetof(FormulaContext, edge);

int Product(int table) { return offsetof(FormulaContext, products) + table * 512; }

// opcode, then [base + disp32] with the given reg field.
void Mem(X86Fragment& f, const char* opcode, int reg, Reg base, int disp)
{
    f.Text(opcode);
    f.Byte(0x80 | reg << 3 | base);
    f.Dword(static_cast<unsigned>(disp));
}

// opcode, then [base + index*scale + disp32].
void MemIndex(X86Fragment& f, const char* opcode, int reg, Reg base, Reg index, int scale, int disp)
{
    static const int kScaleBits[9] = {0, 0, 1, 0, 2, 0, 0, 0, 3};
    f.Text(opcode);
    f.Byte(0x84 | reg << 3);
    f.Byte(kScaleBits[scale] << 6 | index << 3 | base);
    f.Dword(static_cast<unsigned>(disp));
}

// A forward short jump: returns the place of its displacement.
int Jump8(X86Fragment& f, const char* opcode)
{
    f.Text(opcode);
    f.Byte(0);
    return f.size - 1;
}

void Land(X86Fragment& f, int place) { f.bytes[place] = static_cast<unsigned char>(f.size - place - 1); }

void Compare(X86Fragment& f, const char* setcc)
{
    f.Text("59 39 C1");  // pop ecx; cmp ecx, eax
    f.Text(setcc);
    f.Text("0F B6 C0");  // movzx eax, al
}

// eax = low 32 bits of edx:eax / ecx, truncated toward zero; ecx is not 0.
// Unsigned halves, so no quotient can overflow the divide instruction.
void Divide64(X86Fragment& f)
{
    f.Text("56 57 89 D6 31 CE");  // push esi; push edi; mov esi, edx; xor esi, ecx
    int p = Jump8(f, "85 D2 79");  // test edx, edx; jns
    f.Text("F7 D8 83 D2 00 F7 DA");  // neg eax; adc edx, 0; neg edx
    Land(f, p);
    p = Jump8(f, "85 C9 79");
    f.Text("F7 D9");  // neg ecx
    Land(f, p);
    f.Text("89 C7 89 D0 31 D2 F7 F1 89 F8 F7 F1");  // high half, then low half
    p = Jump8(f, "85 F6 79");
    f.Text("F7 D8");
    Land(f, p);
    f.Text("5F 5E");
}

// eax = eax / ecx with x/0 = 0 and x/-1 = -x (wrapping).
void DivideSafe(X86Fragment& f)
{
    int zero = Jump8(f, "85 C9 74");
    int minus = Jump8(f, "83 F9 FF 74");
    f.Text("99 F7 F9");  // cdq; idiv ecx
    int done1 = Jump8(f, "EB");
    Land(f, minus);
    f.Text("F7 D8");
    int done2 = Jump8(f, "EB");
    Land(f, zero);
    f.Text("31 C0");
    Land(f, done1);
    Land(f, done2);
}

void Modulo(X86Fragment& f)
{
    f.Text("89 C1 58");  // mov ecx, eax; pop eax
    int zero = Jump8(f, "85 C9 74");
    int minus = Jump8(f, "83 F9 FF 74");
    f.Text("99 F7 F9 89 D0");  // cdq; idiv ecx; mov eax, edx
    int done = Jump8(f, "EB");
    Land(f, zero);
    Land(f, minus);
    f.Text("31 C0");
    Land(f, done);
}

// edx:eax += ecx >> 1 (arithmetic, sign-extended to 64 bits); ecx is kept.
void AddHalfDivisor(X86Fragment& f)
{
    f.Text("51 51 D1 3C 24");  // push ecx twice; sar dword [esp], 1
    f.Text("03 04 24 83 D2 00");  // add eax, [esp]; adc edx, 0
    f.Text("83 3C 24 00 79 01 4A");  // a negative half: edx - 1
    f.Text("83 C4 04 59");
}

// mix(a, b, n, d): [esp] n, [esp+4] b, [esp+8] a, eax d.
void Mix(X86Fragment& f)
{
    f.Text("89 C1 8B 44 24 08 2B 44 24 04");  // mov ecx, eax; eax = a - b
    int zero = Jump8(f, "85 C9 74");
    f.Text("F7 6C 24 00");  // imul dword [esp]
    AddHalfDivisor(f);
    Divide64(f);
    f.Text("03 44 24 04");  // add eax, b
    int done = Jump8(f, "EB");
    Land(f, zero);
    f.Text("0F AF 04 24");  // imul eax, [esp]
    Land(f, done);
    f.Text("83 C4 0C");
}

// scl(a, il, ih, ol, oh): [esp] ol, [esp+4] ih, [esp+8] il, [esp+12] a, eax oh.
void Scale(X86Fragment& f)
{
    f.Text("2B 04 24");  // eax = oh - ol
    f.Text("8B 4C 24 04 2B 4C 24 08");  // ecx = ih - il
    int zero = Jump8(f, "85 C9 74");
    f.Text("8B 54 24 0C 2B 54 24 08");  // edx = a - il
    f.Text("F7 EA");  // imul edx
    AddHalfDivisor(f);
    Divide64(f);
    f.Text("03 04 24");  // add eax, ol
    int done = Jump8(f, "EB");
    Land(f, zero);
    Land(f, done);
    f.Text("83 C4 10");
}

// val(i, a, b): [esp] a, [esp+4] i, eax b.
void Value(X86Fragment& f)
{
    f.Text("2B 04 24");  // b - a
    f.Text("8B 4C 24 04 83 E1 07");  // ecx = i & 7
    MemIndex(f, "F7", 5, EBX, ECX, 4, kCtl);  // imul dword ctl[ecx]
    f.Text("83 C0 7F 83 D2 00 B9 FF 00 00 00");  // + 127; ecx = 255
    Divide64(f);
    f.Text("03 04 24 83 C4 08");
}

// map(v, n): [esp] v, eax n.
void Map(X86Fragment& f)
{
    f.Text("8D 0C 00 83 E1 07");  // ecx = 2n & 7
    f.Text("58 52");  // eax = v; push edx (room for hi)
    MemIndex(f, "8B", EDX, EBX, ECX, 4, kCtl);  // edx = hi
    f.Text("89 14 24");  // [esp] = hi
    MemIndex(f, "8B", ECX, EBX, ECX, 4, kCtl + 4);  // ecx = lo
    int low = Jump8(f, "39 C8 7E");  // cmp eax, ecx; jle
    int high = Jump8(f, "3B 04 24 7D");  // cmp eax, [esp]; jge
    f.Text("29 C8 8B 14 24 29 CA 89 D1");  // eax = v - lo; ecx = hi - lo
    f.Text("BA FF 00 00 00 F7 EA");  // imul by 255
    Divide64(f);
    int done1 = Jump8(f, "EB");
    Land(f, low);
    f.Text("31 C0");
    int done2 = Jump8(f, "EB");
    Land(f, high);
    f.Text("B8 FF 00 00 00");
    Land(f, done1);
    Land(f, done2);
    f.Text("59");
}

void Random(X86Fragment& f)
{
    f.Text("59 29 C8 40 51");  // ecx = a; eax = b - a + 1; push a
    Mem(f, "8B", ECX, EBX, kSeed);
    f.Text("69 C9");
    f.Dword(1103515245u);
    f.Text("81 C1");
    f.Dword(12345);
    Mem(f, "89", ECX, EBX, kSeed);
    f.Text("C1 E9 10 81 E1 FF 7F 00 00");  // k = (seed >> 16) & 0x7FFF
    f.Text("F7 E9 0F AC D0 0F 59 01 C8");  // imul ecx; shrd eax, edx, 15; + a
}

void SquareRoot(X86Fragment& f)
{
    int negative = Jump8(f, "85 C0 78");
    f.Text("50 DB 04 24 D9 FA DB 1C 24 58");
    int done = Jump8(f, "EB");
    Land(f, negative);
    f.Text("B8 00 00 00 80");
    Land(f, done);
}

// reg = reg clamped to 0..[ebx + size] - 1, for a reg outside it: a
// negative one becomes 0, any other the last place.
void ClampOutside(X86Fragment& f, Reg reg, Reg spare, int size)
{
    f.Text("C1");
    f.Byte(0xF8 | reg);  // sar reg, 31
    f.Byte(31);
    f.Text("F7");
    f.Byte(0xD0 | reg);  // not reg
    Mem(f, "8B", spare, EBX, size);
    f.Byte(0x48 | spare);  // dec spare
    f.Text("21");
    f.Byte(0xC0 | spare << 3 | reg);  // and reg, spare
}

// eax (the row's offset, y times the stride) plus x, popped from the stack
// and clamped to the picture's columns.
void AddClampedColumn(X86Fragment& f)
{
    f.Text("59");  // ecx = x
    Mem(f, "3B", ECX, EBX, kWidth);
    int inside = Jump8(f, "72");
    f.Text("50");
    ClampOutside(f, ECX, EAX, kWidth);
    f.Text("58");
    Land(f, inside);
    f.Text("01 C8");
}

// The byte at (x, y) of the source: eax y, [esp] x, edx the byte within the
// pixel. Places inside the picture, the usual case, take one unsigned
// compare each.
void SourceAt(X86Fragment& f)
{
    EmitSourceRow(f);
    AddClampedColumn(f);
    Mem(f, "03", EDX, EBX, kSource);
    f.Text("0F B6 04 82");  // movzx eax, byte [edx + eax*4]
}

// src(x, y, z): [esp] y, [esp+4] x, eax z.
void Source(X86Fragment& f)
{
    f.Text("89 C2 F7 DA 83 C2 02 83 E2 03");  // edx = (2 - z) & 3: the byte
    f.Text("58");  // eax = y
    SourceAt(f);
}

// rad(d, m, z): [esp] m, [esp+4] d, eax z; turned into src(x, y, z).
void Radial(X86Fragment& f)
{
    f.Text("50 8B 4C 24 08 81 E1 FF 03 00 00");  // push z; ecx = d & 1023
    MemIndex(f, "8B", EAX, EBX, ECX, 4, kSine);
    f.Text("F7 6C 24 04 0F AC D0 08");  // m * sin d >> 8
    Mem(f, "03", EAX, EBX, kHeight);
    f.Text("D1 F8 50");  // y; push
    MemIndex(f, "8B", EAX, EBX, ECX, 4, kCosine);
    f.Text("F7 6C 24 08 0F AC D0 08");
    Mem(f, "03", EAX, EBX, kWidth);
    f.Text("D1 F8");  // x
    f.Text("89 44 24 0C 8B 04 24 89 44 24 08 8B 44 24 04 83 C4 08");
    Source(f);
}

// cnv(m1..m9, d): m_k at [esp + 4*(9-k)] on entry, eax d.
void Convolve(X86Fragment& f, int channel)
{
    f.Text("50 56 57 55 6A 00");  // push d, esi, edi, ebp; sum = 0
    Mem(f, "8B", ESI, EBX, kPixel);
    f.Text("83 C6");
    f.Byte(2 - channel);
    Mem(f, "8B", EDX, EBX, kEdge);
    Mem(f, "8B", ECX, EBX, kStride);
    f.Text("C1 E1 02 89 F7 89 F5");  // row bytes; edi = ebp = centre
    int p = Jump8(f, "F6 C2 02 75");
    f.Text("29 CF");  // edi: the row above
    Land(f, p);
    p = Jump8(f, "F6 C2 01 75");
    f.Text("01 CD");  // ebp: the row below
    Land(f, p);
    f.Text("31 C9");
    p = Jump8(f, "F6 C2 08 75");
    f.Text("B9 FC FF FF FF");  // ecx: the column left
    Land(f, p);
    f.Text("F6 C2 04 BA 00 00 00 00");
    p = Jump8(f, "75");
    f.Text("BA 04 00 00 00");  // edx: the column right
    Land(f, p);
    // Rows: current (esi), above (edi), below (ebp); columns left, centre, right.
    static const int kRowBase[3] = {ESI, EDI, EBP};
    static const int kColumn[3] = {ECX, -1, EDX};
    for (int k = 0; k < 9; ++k) {
        int base = kRowBase[k / 3], column = kColumn[k % 3];
        f.Text("0F B6");
        if (column < 0) {
            f.Byte(0x40 | base);
            f.Byte(0);
        } else {
            f.Byte(0x44);
            f.Byte(column << 3 | base);
            f.Byte(0);
        }
        f.Text("0F AF 44 24");
        f.Byte(20 + 4 * (8 - k));
        f.Text("01 04 24");
    }
    f.Text("58 5D 5F 5E 59");  // sum; restore; ecx = d
    int undivided = Jump8(f, "85 C9 74");  // a divisor of 0 leaves the sum
    DivideSafe(f);
    Land(f, undivided);
    f.Text("83 C4 24");
}

// c2d and the setup's d: atan2 of [esp] over [esp+4], in 1024ths of a turn.
void Angle(X86Fragment& f)
{
    f.Text("DB 04 24 DB 44 24 04 D9 F3");
    Mem(f, "D8", 1, EBX, kAngle);
}

void Polar(X86Fragment& f, int table)
{
    f.Text("59 81 E1 FF 03 00 00");  // ecx = d & 1023; eax = m
    MemIndex(f, "F7", 5, EBX, ECX, 4, table);
    f.Text("05 00 01 00 00 83 D2 00 0F AC D0 09");
}

void Lookup(X86Fragment& f, int table)
{
    f.Text("25 FF 03 00 00");
    MemIndex(f, "8B", EAX, EBX, EAX, 4, table);
}

}  // namespace

void X86Fragment::Dword(unsigned v)
{
    for (int k = 0; k < 4; ++k)
        Byte(static_cast<int>(v >> (8 * k) & 0xFF));
}

void X86Fragment::Text(const char* hex)
{
    for (const char* p = hex; p[0] && p[1];) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
        Byte(digit(p[0]) * 16 + digit(p[1]));
        p += 2;
    }
}

void EmitPrologue(X86Fragment& f) { f.Text("53 89 C3"); }
void EmitEpilogue(X86Fragment& f) { f.Text("5B 5B C3"); }

void EmitLoad(X86Fragment& f, int reg, FormulaLoad kind, int value)
{
    switch (kind) {
    case LOAD_CONSTANT:
        f.Byte(0xB8 | reg);
        f.Dword(static_cast<unsigned>(value));
        break;
    case LOAD_FIELD: Mem(f, "8B", reg, EBX, value); break;
    case LOAD_PIXEL_BYTE:
        f.Text("0F B6");  // movzx reg, byte [edi + value]
        f.Byte(0x40 | reg << 3 | EDI);
        f.Byte(value);
        break;
    case LOAD_X_REGISTER:
        f.Text("89");  // mov reg, esi
        f.Byte(0xC0 | ESI << 3 | reg);
        break;
    }
}

void EmitConstant(X86Fragment& f, int value)
{
    f.Text("50");
    EmitLoad(f, EAX, LOAD_CONSTANT, value);
}

void EmitField(X86Fragment& f, int offset)
{
    f.Text("50");
    EmitLoad(f, EAX, LOAD_FIELD, offset);
}

void EmitDiscard(X86Fragment& f) { f.Text("58"); }

void EmitConditionJump(X86Fragment& f)
{
    f.Text("85 C0 58 0F 84");
    f.Dword(0);
}

void EmitJump(X86Fragment& f)
{
    f.Text("E9");
    f.Dword(0);
}

void EmitOperator(X86Fragment& f, FormulaOp op)
{
    switch (op) {
    case OP_LOR: f.Text("59 09 C8 0F 95 C0 0F B6 C0"); break;
    case OP_LAND: f.Text("59 21 C8 0F 95 C0 0F B6 C0"); break;
    case OP_OR: f.Text("59 09 C8"); break;
    case OP_XOR: f.Text("59 31 C8"); break;
    case OP_AND: f.Text("59 21 C8"); break;
    case OP_EQ: Compare(f, "0F 94 C0"); break;
    case OP_NE: Compare(f, "0F 95 C0"); break;
    case OP_LT: Compare(f, "0F 9C C0"); break;
    case OP_LE: Compare(f, "0F 9E C0"); break;
    case OP_GT: Compare(f, "0F 9F C0"); break;
    case OP_GE: Compare(f, "0F 9D C0"); break;
    case OP_SHL: f.Text("89 C1 58 D3 E0"); break;
    case OP_SHR: f.Text("89 C1 58 D3 E8"); break;
    case OP_ADD: f.Text("59 01 C8"); break;
    case OP_SUB: f.Text("59 29 C1 89 C8"); break;
    case OP_MUL: f.Text("59 0F AF C1"); break;
    case OP_DIV: f.Text("89 C1 58"); DivideSafe(f); break;
    case OP_MOD: Modulo(f); break;
    case OP_NOT: f.Text("85 C0 0F 94 C0 0F B6 C0"); break;
    case OP_COMPL: f.Text("F7 D0"); break;
    case OP_NEG: f.Text("F7 D8"); break;
    }
}

namespace {

struct DivisionMagic {
    int multiplier;
    int shift;
};

// The multiplier and shift whose product's high half, corrected, is the
// quotient truncated toward zero; |divisor| is 2 .. 2^31 - 1.
DivisionMagic SignedDivisionMagic(int divisor)
{
    const unsigned two31 = 0x80000000u;
    unsigned ad = divisor < 0 ? 0u - static_cast<unsigned>(divisor) : static_cast<unsigned>(divisor);
    unsigned t = two31 + (static_cast<unsigned>(divisor) >> 31);
    unsigned anc = t - 1 - t % ad;
    int p = 31;
    unsigned q1 = two31 / anc, r1 = two31 - q1 * anc, q2 = two31 / ad, r2 = two31 - q2 * ad, delta;
    do {
        ++p;
        q1 *= 2;
        r1 *= 2;
        if (r1 >= anc) {
            ++q1;
            r1 -= anc;
        }
        q2 *= 2;
        r2 *= 2;
        if (r2 >= ad) {
            ++q2;
            r2 -= ad;
        }
        delta = ad - r2;
    } while (q1 < delta || (q1 == delta && r1 == 0));
    unsigned m = q2 + 1;
    return {static_cast<int>(divisor < 0 ? 0u - m : m), p - 32};
}

}  // namespace

namespace {

// The operators that take their right operand in the instruction itself:
// the opcode with an immediate, the opcode with a register or memory
// operand, and what turns the flags into the 0 or 1 a comparison gives.
struct DirectOperator {
    FormulaOp op;
    const char* withImmediate;
    const char* withOperand;
    const char* after;
};

const DirectOperator kDirect[] = {
    {OP_ADD, "05", "03", ""}, {OP_SUB, "2D", "2B", ""}, {OP_AND, "25", "23", ""}, {OP_OR, "0D", "0B", ""},
    {OP_XOR, "35", "33", ""}, {OP_MUL, "69 C0", "0F AF", ""},
    {OP_LOR, "0D", "0B", "0F 95 C0 0F B6 C0"}, {OP_LAND, "25", "23", "0F 95 C0 0F B6 C0"},
    {OP_EQ, "3D", "3B", "0F 94 C0 0F B6 C0"}, {OP_NE, "3D", "3B", "0F 95 C0 0F B6 C0"},
    {OP_LT, "3D", "3B", "0F 9C C0 0F B6 C0"}, {OP_LE, "3D", "3B", "0F 9E C0 0F B6 C0"},
    {OP_GT, "3D", "3B", "0F 9F C0 0F B6 C0"}, {OP_GE, "3D", "3B", "0F 9D C0 0F B6 C0"},
};

const DirectOperator* DirectFor(FormulaOp op)
{
    for (const DirectOperator& k : kDirect)
        if (k.op == op) return &k;
    return nullptr;
}

}  // namespace

bool EmitOperatorWithConstant(X86Fragment& f, FormulaOp op, int value)
{
    if (const DirectOperator* k = DirectFor(op)) {
        f.Text(k->withImmediate);
        f.Dword(static_cast<unsigned>(value));
        f.Text(k->after);
        return true;
    }
    if (op == OP_SHL || op == OP_SHR) {
        f.Text(op == OP_SHL ? "C1 E0" : "C1 E8");
        f.Byte(value & 31);  // the count is taken mod 32, as the processor does
        return true;
    }
    return false;
}

bool EmitOperatorWithOperand(X86Fragment& f, FormulaOp op, FormulaLoad kind, int value)
{
    const DirectOperator* k = DirectFor(op);
    if (!k || (kind != LOAD_FIELD && kind != LOAD_X_REGISTER))
        return false;
    if (kind == LOAD_FIELD)
        Mem(f, k->withOperand, EAX, EBX, value);  // op eax, [ebx + value]
    else
        f.Text(k->withOperand), f.Byte(0xC0 | EAX << 3 | ESI);  // op eax, esi
    f.Text(k->after);
    return true;
}

namespace {

// eax = eax / divisor for |divisor| in 2 .. 2^31 - 1 and not a power of
// two; ecx keeps the dividend.
void DivideByMagic(X86Fragment& f, int divisor)
{
    DivisionMagic magic = SignedDivisionMagic(divisor);
    f.Text("89 C1 B8");  // mov ecx, eax; mov eax, multiplier
    f.Dword(static_cast<unsigned>(magic.multiplier));
    f.Text("F7 E9");  // imul ecx
    if (divisor > 0 && magic.multiplier < 0)
        f.Text("01 CA");
    if (divisor < 0 && magic.multiplier > 0)
        f.Text("29 CA");
    if (magic.shift > 0) {
        f.Text("C1 FA");
        f.Byte(magic.shift);
    }
    f.Text("89 D0 C1 E8 1F 01 D0");  // a negative quotient rounds up toward zero
}

int PowerOfTwo(unsigned magnitude)
{
    int k = 0;
    while ((1u << k) != magnitude)
        ++k;
    return k;
}

}  // namespace

void EmitDivideByConstant(X86Fragment& f, int divisor)
{
    if (divisor == 0) {
        f.Text("31 C0");
        return;
    }
    if (divisor == -1) {
        f.Text("F7 D8");
        return;
    }
    if (divisor == 1)
        return;
    if (divisor == static_cast<int>(0x80000000u)) {
        f.Text("B9");  // mov ecx, divisor; cdq; idiv ecx: no quotient overflows
        f.Dword(0x80000000u);
        f.Text("99 F7 F9");
        return;
    }
    unsigned magnitude = divisor < 0 ? 0u - static_cast<unsigned>(divisor) : static_cast<unsigned>(divisor);
    if ((magnitude & (magnitude - 1)) == 0) {
        int k = PowerOfTwo(magnitude);
        f.Text("99 81 E2");  // cdq; and edx, 2^k - 1: a negative dividend rounds up
        f.Dword(magnitude - 1);
        f.Text("01 D0 C1 F8");  // add eax, edx; sar eax, k
        f.Byte(k);
        if (divisor < 0)
            f.Text("F7 D8");
        return;
    }
    DivideByMagic(f, divisor);
}

void EmitModuloByConstant(X86Fragment& f, int divisor)
{
    // The remainder has the dividend's sign, so the divisor's does not count.
    unsigned magnitude = divisor < 0 ? 0u - static_cast<unsigned>(divisor) : static_cast<unsigned>(divisor);
    if (magnitude <= 1) {
        f.Text("31 C0");  // x % 0, x % 1 and x % -1 are 0
        return;
    }
    if (magnitude == 0x80000000u) {
        f.Text("B9");  // mov ecx, divisor; cdq; idiv ecx; mov eax, edx
        f.Dword(magnitude);
        f.Text("99 F7 F9 89 D0");
        return;
    }
    if ((magnitude & (magnitude - 1)) == 0) {
        f.Text("89 C1 99 81 E2");  // mov ecx, eax; cdq; and edx, m - 1
        f.Dword(magnitude - 1);
        f.Text("01 D0 25");  // add eax, edx; and eax, -m: the quotient times m
        f.Dword(0u - magnitude);
        f.Text("29 C1 89 C8");  // sub ecx, eax; mov eax, ecx
        return;
    }
    DivideByMagic(f, static_cast<int>(magnitude));
    f.Text("69 C0");  // imul eax, eax, m; sub ecx, eax; mov eax, ecx
    f.Dword(magnitude);
    f.Text("29 C1 89 C8");
}

void EmitSourceRow(X86Fragment& f)
{
    Mem(f, "3B", EAX, EBX, kHeight);
    int inside = Jump8(f, "72");
    ClampOutside(f, EAX, ECX, kHeight);
    Land(f, inside);
    Mem(f, "0F AF", EAX, EBX, kStride);
}

void EmitSourceColumn(X86Fragment& f, int z)
{
    AddClampedColumn(f);
    Mem(f, "8B", EDX, EBX, kSource);
    f.Text("0F B6 44 82");  // movzx eax, byte [edx + eax*4 + the byte]
    f.Byte(static_cast<int>((2u - static_cast<unsigned>(z)) & 3));  // z wraps freely
}

void EmitSourceOfChannel(X86Fragment& f, int z)
{
    EmitSourceRow(f);
    EmitSourceColumn(f, z);
}

void EmitFunction(X86Fragment& f, FormulaFunction fn, int channel)
{
    switch (fn) {
    case FN_ABS: f.Text("99 31 D0 29 D0"); break;
    case FN_ADD: f.Text("5A 59 01 D1 39 C1 0F 4C C1"); break;
    case FN_SUB: f.Text("5A 59 29 D1 39 C1 0F 4F C1"); break;
    case FN_DIF: f.Text("59 29 C1 89 C8 99 31 D0 29 D0"); break;
    case FN_MIN: f.Text("59 39 C1 0F 4C C1"); break;
    case FN_MAX: f.Text("59 39 C1 0F 4F C1"); break;
    case FN_MIX: Mix(f); break;
    case FN_SCL: Scale(f); break;
    case FN_VAL: Value(f); break;
    case FN_CTL: f.Text("83 E0 07"); MemIndex(f, "8B", EAX, EBX, EAX, 4, kCtl); break;
    case FN_MAP: Map(f); break;
    case FN_PUT:
        f.Text("89 C1 81 E1 FF 03 00 00 58");
        MemIndex(f, "89", EAX, EBX, ECX, 4, kCell);
        break;
    case FN_GET: Lookup(f, kCell); break;
    case FN_RND: Random(f); break;
    case FN_SQR: SquareRoot(f); break;
    case FN_SRC: Source(f); break;
    case FN_RAD: Radial(f); break;
    case FN_CNV: Convolve(f, channel); break;
    case FN_C2D: f.Text("50"); Angle(f); f.Text("DB 5C 24 04 58 58"); break;
    case FN_C2M: f.Text("50 DB 04 24 D8 C8 DB 44 24 04 D8 C8 DE C1 D9 FA DB 5C 24 04 58 58"); break;
    case FN_SIN: Lookup(f, kSine); break;
    case FN_COS: Lookup(f, kCosine); break;
    case FN_TAN: Lookup(f, kTangent); break;
    case FN_R2X: Polar(f, kCosine); break;
    case FN_R2Y: Polar(f, kSine); break;
    }
}

namespace {

// ecx = products[table][byte k of the pixel at eax]; the context is in edx.
void LoadProduct(X86Fragment& f, int byte, int table)
{
    f.Text("0F B6 48");
    f.Byte(byte);
    MemIndex(f, "0F B7", ECX, EDX, ECX, 2, Product(table));
}

// esi = first - second - third, or their sum; then shifted right by 8.
void Weighted(X86Fragment& f, const int bytes[3], int firstTable, bool sum, int field)
{
    for (int k = 0; k < 3; ++k) {
        LoadProduct(f, bytes[k], firstTable + k);
        f.Text(k == 0 ? "89 CE" : sum ? "01 CE" : "29 CE");
    }
    f.Text(sum ? "C1 EE 08" : "C1 FE 08");
    Mem(f, "89", ESI, EDX, field);
}

void LoadChannel(X86Fragment& f, int byte, int field)
{
    f.Text("0F B6 48");
    f.Byte(byte);
    Mem(f, "89", ECX, EDX, field);
}

// Pushes 2x - X, then 2y - Y.
void PushCentreOffsets(X86Fragment& f)
{
    Mem(f, "8B", ECX, EDX, offsetof(FormulaContext, x));
    f.Text("01 C9");
    Mem(f, "2B", ECX, EDX, kWidth);
    f.Text("51");
    Mem(f, "8B", ECX, EDX, offsetof(FormulaContext, y));
    f.Text("01 C9");
    Mem(f, "2B", ECX, EDX, kHeight);
    f.Text("51");
}

void EdgeTest(X86Fragment& f, int position, int size, int low, int high)
{
    Mem(f, "8B", ECX, EDX, position);
    f.Text("85 C9 75 03 83 CE");
    f.Byte(low);
    f.Text("41");
    Mem(f, "3B", ECX, EDX, size);
    f.Text("75 03 83 CE");
    f.Byte(high);
}

}  // namespace

void EmitSetup(X86Fragment& f, unsigned usage, bool storePixel)
{
    static const int kRgb[3] = {2, 1, 0};
    // ESI holds the weighted sums and the edge flags; without them it is
    // left alone, which spares the row loop a trip through memory.
    bool usesEsi = (usage & (USE_I | USE_U | USE_V | USE_CNV)) != 0;
    if (usesEsi)
        f.Text("56");
    if (storePixel || (usage & USE_CNV))
        Mem(f, "89", EAX, EDX, kPixel);
    if (usage & USE_R)
        LoadChannel(f, 2, offsetof(FormulaContext, r));
    if (usage & USE_G)
        LoadChannel(f, 1, offsetof(FormulaContext, g));
    if (usage & USE_B)
        LoadChannel(f, 0, offsetof(FormulaContext, b));
    if (usage & USE_I)
        Weighted(f, kRgb, PROD_I_R, true, offsetof(FormulaContext, i));
    if (usage & USE_U) {
        // 56 b - 37 g - 19 r: the tables run r, g, b, so walk them backwards.
        LoadProduct(f, 0, PROD_U_B);
        f.Text("89 CE");
        LoadProduct(f, 1, PROD_U_G);
        f.Text("29 CE");
        LoadProduct(f, 2, PROD_U_R);
        f.Text("29 CE C1 FE 08");
        Mem(f, "89", ESI, EDX, offsetof(FormulaContext, u));
    }
    if (usage & USE_V)
        Weighted(f, kRgb, PROD_V_R, false, offsetof(FormulaContext, v));
    if (usage & (USE_D | USE_M)) {
        PushCentreOffsets(f);
        if (usage & USE_D) {
            f.Text("DB 04 24 DB 44 24 04 D9 F3");
            Mem(f, "D8", 1, EDX, kAngle);
            Mem(f, "DB", 3, EDX, offsetof(FormulaContext, d));
        }
        if (usage & USE_M) {
            f.Text("DB 04 24 D8 C8 DB 44 24 04 D8 C8 DE C1 D9 FA");
            Mem(f, "DB", 3, EDX, offsetof(FormulaContext, m));
            Mem(f, "D1", 7, EDX, offsetof(FormulaContext, m));
        }
        f.Text("83 C4 08");
    }
    if (usage & USE_CNV) {
        f.Text("31 F6");
        EdgeTest(f, offsetof(FormulaContext, x), kWidth, 8, 4);
        EdgeTest(f, offsetof(FormulaContext, y), kHeight, 2, 1);
        Mem(f, "89", ESI, EDX, kEdge);
    }
    if (usesEsi)
        f.Text("5E");
    f.Text("C3");
}
