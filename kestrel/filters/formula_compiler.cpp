// Operator-precedence parsing with an explicit operator stack, emitting code
// as operators are reduced. The stack and the open conditionals are bounded
// at 128 each; going beyond is a syntax error, as is a full code buffer.
#include "formula_compiler.h"

#include "formula_context.h"
#include "formula_lexer.h"
#include "formula_x86.h"

#include <cstddef>
#include <cstring>

namespace {

const int kStackLimit = 128;

struct Variable {
    const char* name;
    int field;      // context offset; -1 for a constant
    int constant;
    unsigned usage;
};

const Variable kVariables[] = {
    {"r", offsetof(FormulaContext, r), 0, USE_R},
    {"g", offsetof(FormulaContext, g), 0, USE_G},
    {"b", offsetof(FormulaContext, b), 0, USE_B},
    {"a", -1, 0, 0},
    {"x", offsetof(FormulaContext, x), 0, 0},
    {"y", offsetof(FormulaContext, y), 0, 0},
    {"X", offsetof(FormulaContext, X), 0, 0},
    {"Y", offsetof(FormulaContext, Y), 0, 0},
    {"i", offsetof(FormulaContext, i), 0, USE_I},
    {"u", offsetof(FormulaContext, u), 0, USE_U},
    {"v", offsetof(FormulaContext, v), 0, USE_V},
    {"Z", -1, 3, 0},
    {"d", offsetof(FormulaContext, d), 0, USE_D},
    {"dmin", -1, 0, 0},
    {"D", -1, 1024, 0},
    {"m", offsetof(FormulaContext, m), 0, USE_M},
    {"mmin", -1, 0, 0},
    {"M", offsetof(FormulaContext, M), 0, 0},
};

struct Function {
    const char* name;
    FormulaFunction fn;
    int arguments;
};

const Function kFunctions[] = {
    {"abs", FN_ABS, 1}, {"add", FN_ADD, 3}, {"sub", FN_SUB, 3}, {"dif", FN_DIF, 2},
    {"min", FN_MIN, 2}, {"max", FN_MAX, 2}, {"mix", FN_MIX, 4}, {"scl", FN_SCL, 5},
    {"val", FN_VAL, 3}, {"ctl", FN_CTL, 1}, {"map", FN_MAP, 2}, {"put", FN_PUT, 2},
    {"get", FN_GET, 1}, {"rnd", FN_RND, 2}, {"sqr", FN_SQR, 1}, {"src", FN_SRC, 3},
    {"rad", FN_RAD, 3}, {"cnv", FN_CNV, 10}, {"c2d", FN_C2D, 2}, {"c2m", FN_C2M, 2},
    {"sin", FN_SIN, 1}, {"cos", FN_COS, 1}, {"tan", FN_TAN, 1}, {"r2x", FN_R2X, 2},
    {"r2y", FN_R2Y, 2},
};

int Level(FormulaOp op)
{
    switch (op) {
    case OP_LOR: return 1;
    case OP_LAND: return 2;
    case OP_OR: return 3;
    case OP_XOR: return 4;
    case OP_AND: return 5;
    case OP_EQ: case OP_NE: return 6;
    case OP_LT: case OP_LE: case OP_GT: case OP_GE: return 7;
    case OP_SHL: case OP_SHR: return 8;
    case OP_ADD: case OP_SUB: return 9;
    case OP_MUL: case OP_DIV: case OP_MOD: return 10;
    default: return 11;
    }
}

// Names count by their first four characters.
bool SameName(const char* text, int length, const char* name)
{
    int n = length < 4 ? length : 4;
    return static_cast<int>(std::strlen(name)) == n && std::strncmp(text, name, n) == 0;
}

const int kSetccSize = 6;
const int kSelectLimit = 64;  // bytes of a branch that may run when not chosen

// setcc al / movzx eax, al at the end of the code.
bool EndsInSetcc(const unsigned char* code, int size)
{
    if (size < kSetccSize)
        return false;
    const unsigned char* p = code + size - kSetccSize;
    return p[0] == 0x0F && (p[1] & 0xF0) == 0x90 && p[2] == 0xC0 && p[3] == 0x0F && p[4] == 0xB6 && p[5] == 0xC0;
}

// Functions that change state, divide, or work on the x87 or on nine pixels.
bool Heavy(FormulaFunction fn)
{
    switch (fn) {
    case FN_PUT: case FN_RND: case FN_MIX: case FN_SCL: case FN_VAL: case FN_MAP:
    case FN_SQR: case FN_C2D: case FN_C2M: case FN_CNV:
        return true;
    default:
        return false;
    }
}

// Functions whose value depends on their arguments and the run's constant
// state alone; the others read pixels or cells, or change state.
bool SameAlongARow(FormulaFunction fn)
{
    switch (fn) {
    case FN_PUT: case FN_GET: case FN_RND: case FN_SRC: case FN_RAD: case FN_CNV:
        return false;
    default:
        return true;
    }
}

const int kRowValueField = offsetof(FormulaContext, rowValue);

// Context fields that change only between rows: y, the picture's size,
// its half diagonal and the row values themselves.
bool FieldSameAlongARow(int field)
{
    return field == static_cast<int>(offsetof(FormulaContext, y)) ||
           field == static_cast<int>(offsetof(FormulaContext, X)) ||
           field == static_cast<int>(offsetof(FormulaContext, Y)) ||
           field == static_cast<int>(offsetof(FormulaContext, M)) ||
           (field >= kRowValueField && field < kRowValueField + 4 * kFormulaRowValues);
}

const int kLeafLimit = 7;  // bytes of the longest leaf: push eax; mov eax, [ebx + disp32]

// The code of one value on the machine stack, as the parser knows it.
struct Value {
    int start;
    bool sameAlongARow;
};

// The value's piece in rows, added when no equal one is there yet; -1 when
// the row code is full.
int RowValue(FormulaRowCode& rows, const unsigned char* code, int length)
{
    for (int k = 0; k < rows.count; ++k)
        if (rows.length[k] == length && std::memcmp(&rows.code[rows.start[k]], code, length) == 0)
            return k;
    const int kStore = 7;  // mov [ebx + disp32], eax; pop ecx
    if (rows.count == kFormulaRowValues || rows.code.size() + length + kStore > kFormulaCodeSize)
        return -1;
    int k = rows.count++;
    rows.start[k] = static_cast<int>(rows.code.size());
    rows.length[k] = length;
    rows.code.insert(rows.code.end(), code, code + length);
    X86Fragment store;
    store.Text("89 83");
    store.Dword(kRowValueField + 4 * k);
    store.Text("59");
    rows.code.insert(rows.code.end(), store.bytes, store.bytes + store.size);
    return k;
}

// An operator waiting for its right operand, and its left operand when
// that is a single leaf.
struct Pending {
    FormulaOp op;
    int leftStart;  // -1: not a leaf
    FormulaLoad leftKind;
    int leftValue;
};

class Parser {
public:
    Parser(const char* text, int length, int channel, unsigned char* buffer, int capacity,
           const FormulaLoopPlan* plan, FormulaRowCode* rows)
        : text_(text), lexer_(text, length), channel_(channel), buffer_(buffer), capacity_(capacity), plan_(plan),
          rows_(rows) {}

    bool Run();

    unsigned usage = 0;
    int size = 0;
    bool codeFull = false;
    bool pure = true;
    bool readsX = false;
    bool byteValued = false;
    int errorOffset = 0, errorLength = 0;

private:
    const char* text_;
    FormulaLexer lexer_;
    FormulaToken token_{}, previous_{};
    int channel_;
    unsigned char* buffer_;
    int capacity_;
    const FormulaLoopPlan* plan_;
    FormulaRowCode* rows_;
    Pending ops_[kStackLimit];
    // One entry per value on the machine stack; every value takes a token,
    // so the text's length bounds them.
    Value values_[kFormulaTextLimit + 1];
    int valueCount_ = 0;
    int opCount_ = 0;
    int openConditionals_ = 0;
    // Where the last fragment, a pushed operand nothing jumps past, starts;
    // -1 when the last fragment is anything else.
    int leafStart_ = -1;
    FormulaLoad leafKind_ = LOAD_CONSTANT;
    int leafValue_ = 0;
    // The last fragment ends in setcc al / movzx eax, al, nothing jumping
    // past it: a conditional can test the flags instead.
    bool endsInSetcc_ = false;
    int byteEnd_ = -1;  // where the last fragment whose value is 0..255 ended
    int heavy_ = 0;  // fragments that change state or divide by a variable, so far

    void Advance()
    {
        previous_ = token_;
        token_ = lexer_.Next();
    }
    bool Is(char punct) const { return token_.kind == TOK_PUNCT && token_.punct == punct; }
    bool IsOp(FormulaOp op) const { return token_.kind == TOK_OPERATOR && token_.op == op; }
    bool Fail();
    bool Emit(const X86Fragment& f);
    bool EmitLeaf(FormulaLoad kind, int value, bool isByte = false);
    bool ReplaceLeaf(const X86Fragment& f);
    bool LeafIsConstant() const { return leafStart_ >= 0 && leafKind_ == LOAD_CONSTANT; }
    bool EmitWithConstant(FormulaOp op);
    bool EmitBinary(const Pending& pending);
    bool EmitAfterRight(const Pending& pending, const X86Fragment& op);
    void Patch(int place, int target);
    bool Push(FormulaOp op, bool binary);
    bool Reduce(int base, int level);
    bool List();
    bool Conditional();
    struct Branches {
        int setcc = 0;  // the condition's setcc opcode, when its flags decide
        int test, first, jump, second;  // where the pieces start
        bool bytes;  // both values are 0..255
    };
    void Select(const Branches& b);
    bool Binary();
    bool Prefixes();
    bool Operand();
    bool Name();
    bool Call(const Function& function);
    void PushValue(int start, bool sameAlongARow);
    Value PopValue();
    int Hoist(int start, int end);
    void HoistOperands(Pending& pending);
    void HoistArguments(int count, bool sameAlongARow, Value arguments[]);
    bool SourceOfChannel(const Value& y);
};

void Parser::PushValue(int start, bool sameAlongARow)
{
    if (valueCount_ == kFormulaTextLimit + 1) {
        rows_ = nullptr;  // cannot happen; without the bookkeeping nothing is hoisted
        return;
    }
    values_[valueCount_++] = {start, sameAlongARow};
}

Value Parser::PopValue() { return valueCount_ > 0 ? values_[--valueCount_] : Value{0, false}; }

// Moves the code of a value that stays the same along a row, at start..end,
// into the row code and reads it from the context instead. Only values
// longer than a leaf move: the read is a leaf. Returns the field read, or
// -1 when the code stays.
int Parser::Hoist(int start, int end)
{
    int length = end - start;
    if (!rows_ || length <= kLeafLimit)
        return -1;
    int k = RowValue(*rows_, buffer_ + start, length);
    if (k < 0)
        return -1;
    X86Fragment leaf;
    leaf.Text("50");
    EmitLoad(leaf, 0, LOAD_FIELD, kRowValueField + 4 * k);
    bool last = end == size;
    std::memmove(buffer_ + start + leaf.size, buffer_ + end, static_cast<size_t>(size - end));
    std::memcpy(buffer_ + start, leaf.bytes, static_cast<size_t>(leaf.size));
    int shrink = length - leaf.size;
    size -= shrink;
    byteEnd_ = -1;
    if (leafStart_ >= end)
        leafStart_ -= shrink;
    else if (leafStart_ >= start)
        leafStart_ = -1;
    if (last) {
        leafStart_ = start;
        leafKind_ = LOAD_FIELD;
        leafValue_ = kRowValueField + 4 * k;
        endsInSetcc_ = false;
    }
    return kRowValueField + 4 * k;
}

// A binary operator whose result changes along the row hoists an operand
// that does not, the right one first so the left one's place holds.
void Parser::HoistOperands(Pending& pending)
{
    if (pending.op == OP_NEG || pending.op == OP_NOT || pending.op == OP_COMPL)
        return;  // the operand's value is the result's
    Value right = PopValue(), left = PopValue();
    bool same = left.sameAlongARow && right.sameAlongARow;
    PushValue(left.start, same);
    if (same)
        return;
    if (right.sameAlongARow)
        Hoist(right.start, size);
    int field = left.sameAlongARow ? Hoist(left.start, right.start) : -1;
    if (field >= 0) {
        pending.leftStart = left.start;
        pending.leftKind = LOAD_FIELD;
        pending.leftValue = field;
    }
}

// A call whose result changes along the row hoists the arguments that do
// not, the last first so the earlier ones' places hold. arguments gets
// where each argument's code starts afterwards.
void Parser::HoistArguments(int count, bool sameAlongARow, Value arguments[])
{
    for (int k = count - 1; k >= 0; --k)
        arguments[k] = PopValue();
    bool same = sameAlongARow;
    for (int k = 0; k < count; ++k)
        same = same && arguments[k].sameAlongARow;
    PushValue(arguments[0].start, same);
    if (same)
        return;
    for (int k = count - 1; k >= 0; --k) {
        if (!arguments[k].sameAlongARow)
            continue;
        int before = size;
        Hoist(arguments[k].start, k + 1 < count ? arguments[k + 1].start : size);
        for (int later = k + 1; later < count; ++later)
            arguments[later].start -= before - size;
    }
}

bool Parser::Fail()
{
    errorOffset = token_.start + token_.length;
    errorLength = token_.kind == TOK_END ? previous_.length : token_.length;
    return false;
}

bool Parser::Emit(const X86Fragment& f)
{
    if (size + f.size + kFormulaEpilogueSize > capacity_) {
        codeFull = true;
        return Fail();
    }
    std::memcpy(buffer_ + size, f.bytes, f.size);
    size += f.size;
    leafStart_ = -1;
    endsInSetcc_ = EndsInSetcc(buffer_, size);
    return true;
}

bool Parser::EmitLeaf(FormulaLoad kind, int value, bool isByte)
{
    X86Fragment f;
    f.Text("50");  // push eax: the operand below becomes a stack slot
    EmitLoad(f, 0, kind, value);
    int start = size;
    if (!Emit(f))
        return false;
    PushValue(start, kind == LOAD_CONSTANT || (kind == LOAD_FIELD && FieldSameAlongARow(value)));
    if (isByte || (kind == LOAD_CONSTANT && value >= 0 && value <= 255))
        byteEnd_ = size;
    leafStart_ = start;
    leafKind_ = kind;
    leafValue_ = value;
    return true;
}

// Code for the last leaf and the operator above it, with the operand below
// the leaf back in EAX.
bool Parser::ReplaceLeaf(const X86Fragment& f)
{
    size = leafStart_;
    byteEnd_ = -1;
    return Emit(f);
}

// A constant right operand folds into the operator: a unary operator on it
// gives another constant, a divisor multiplies, the others take it as an
// immediate. Where the result would be longer than the plain sequence and
// only the plain one fits, the plain one is taken, so that no formula
// outgrows its buffer for it.
bool Parser::EmitWithConstant(FormulaOp op)
{
    int value = leafValue_;
    if (op == OP_NEG || op == OP_COMPL || op == OP_NOT) {
        unsigned v = static_cast<unsigned>(value);
        int folded = static_cast<int>(op == OP_NEG ? 0u - v : op == OP_COMPL ? ~v : v == 0);
        size = leafStart_;
        byteEnd_ = -1;
        PopValue();  // the constant's, which the folded one replaces
        return EmitLeaf(LOAD_CONSTANT, folded);
    }
    X86Fragment f;
    if (op == OP_DIV)
        EmitDivideByConstant(f, value);
    else if (op == OP_MOD)
        EmitModuloByConstant(f, value);
    else if (!EmitOperatorWithConstant(f, op, value))
        return false;
    X86Fragment plain;
    EmitOperator(plain, op);
    bool fits = leafStart_ + f.size + kFormulaEpilogueSize <= capacity_;
    bool plainFits = size + plain.size + kFormulaEpilogueSize <= capacity_;
    if (!fits && plainFits)
        return Emit(plain);
    return ReplaceLeaf(f);
}

// A left operand that is a single leaf, under a right one that is not,
// is loaded after the right one instead of held on the stack across it:
// a leaf reads nothing the right operand can change, and code that pushes
// EAX first works the same whatever EAX holds.
bool Parser::EmitAfterRight(const Pending& pending, const X86Fragment& op)
{
    X86Fragment leaf;
    leaf.Text("50");
    EmitLoad(leaf, 0, pending.leftKind, pending.leftValue);
    int right = pending.leftStart + leaf.size;
    int rightSize = size - right;
    X86Fragment tail;
    EmitLoad(tail, 1, pending.leftKind, pending.leftValue);
    for (int k = 1; k < op.size; ++k)  // all but its pop ecx
        tail.Byte(op.bytes[k]);
    std::memmove(buffer_ + pending.leftStart, buffer_ + right, static_cast<size_t>(rightSize));
    size = pending.leftStart + rightSize;
    return Emit(tail);  // shorter than the leaf and the operator, so it fits
}

// An operator whose right operand was just pushed as a leaf takes it
// straight into a register or as its operand instead of through the stack;
// the code is no longer than the plain sequence, so no formula outgrows its
// buffer for it.
bool Parser::EmitBinary(const Pending& pending)
{
    FormulaOp op = pending.op;
    if (LeafIsConstant()) {
        X86Fragment unused;
        bool foldable = op == OP_NEG || op == OP_COMPL || op == OP_NOT || op == OP_DIV || op == OP_MOD ||
                        EmitOperatorWithConstant(unused, op, 0);
        if (foldable)
            return EmitWithConstant(op);
    }
    X86Fragment f;
    EmitOperator(f, op);
    if (op == OP_DIV || op == OP_MOD)
        ++heavy_;
    if (leafStart_ < 0 && pending.leftStart >= 0 && f.bytes[0] == 0x59)
        return EmitAfterRight(pending, f);
    if (leafStart_ < 0)
        return Emit(f);
    X86Fragment fused;
    if (EmitOperatorWithOperand(fused, op, leafKind_, leafValue_))
        return ReplaceLeaf(fused);
    if (f.bytes[0] == 0x59) {  // pop ecx: the left operand
        fused.Text("89 C1");  // mov ecx, eax
        EmitLoad(fused, 0, leafKind_, leafValue_);
        for (int k = 1; k < f.size; ++k)
            fused.Byte(f.bytes[k]);
    } else if (f.size >= 3 && f.bytes[0] == 0x89 && f.bytes[1] == 0xC1 && f.bytes[2] == 0x58) {
        // mov ecx, eax; pop eax: the leaf goes to ECX, the left operand stays
        EmitLoad(fused, 1, leafKind_, leafValue_);
        for (int k = 3; k < f.size; ++k)
            fused.Byte(f.bytes[k]);
    } else {
        return Emit(f);
    }
    return ReplaceLeaf(fused);
}

void Parser::Patch(int place, int target)
{
    leafStart_ = -1;  // a jump may land after the last fragment
    byteEnd_ = -1;
    endsInSetcc_ = false;
    unsigned rel = static_cast<unsigned>(target - (place + 4));
    for (int k = 0; k < 4; ++k)
        buffer_[place + k] = static_cast<unsigned char>(rel >> (8 * k));
}

bool Parser::Push(FormulaOp op, bool binary)
{
    if (opCount_ == kStackLimit)
        return Fail();
    Pending& p = ops_[opCount_++];
    p.op = op;
    p.leftStart = binary ? leafStart_ : -1;
    p.leftKind = leafKind_;
    p.leftValue = leafValue_;
    return true;
}

// Emits the operators above base whose level is not below `level`.
bool Parser::Reduce(int base, int level)
{
    while (opCount_ > base && Level(ops_[opCount_ - 1].op) >= level) {
        Pending pending = ops_[--opCount_];
        HoistOperands(pending);
        if (!EmitBinary(pending))
            return false;
    }
    return true;
}

bool Parser::Run()
{
    X86Fragment prologue;
    EmitPrologue(prologue);
    if (!Emit(prologue))
        return false;
    Advance();
    if (!List())
        return false;
    if (token_.kind != TOK_END)
        return Fail();
    Value whole = PopValue();
    if (whole.sameAlongARow)
        Hoist(whole.start, size);
    byteValued = byteEnd_ == size;
    X86Fragment epilogue;
    EmitEpilogue(epilogue);
    std::memcpy(buffer_ + size, epilogue.bytes, epilogue.size);
    size += epilogue.size;
    return true;
}

bool Parser::List()
{
    if (!Conditional())
        return false;
    while (Is(',')) {
        X86Fragment f;
        EmitDiscard(f);
        if (!Emit(f))
            return false;
        Advance();
        if (!Conditional())
            return false;
        Value second = PopValue(), first = PopValue();
        PushValue(first.start, first.sameAlongARow && second.sameAlongARow);
    }
    return true;
}

bool Parser::Conditional()
{
    if (!Binary())
        return false;
    if (!Is('?'))
        return true;
    if (openConditionals_ == kStackLimit)
        return Fail();
    ++openConditionals_;
    Branches b;
    X86Fragment test;
    if (endsInSetcc_) {
        // pop eax / jncc: the flags the setcc read decide, pop keeps them
        b.setcc = buffer_[size - 5];
        size -= kSetccSize;
        byteEnd_ = -1;
        test.Text("58 0F");
        test.Byte((b.setcc ^ 1) - 0x10);
        test.Dword(0);
    } else {
        EmitConditionJump(test);
    }
    b.test = size;
    int heavy = heavy_;
    if (!Emit(test))
        return false;
    int toSecond = size - 4;
    b.first = size;
    Advance();
    if (!List())
        return false;
    if (!Is(':'))
        return Fail();
    b.bytes = byteEnd_ == size;
    b.jump = size;
    X86Fragment jump;
    EmitJump(jump);
    if (!Emit(jump))
        return false;
    int toEnd = size - 4;
    Patch(toSecond, size);
    b.second = size;
    Advance();
    if (!Conditional())
        return false;
    b.bytes = b.bytes && byteEnd_ == size;
    Patch(toEnd, size);
    --openConditionals_;
    if (heavy_ == heavy)
        Select(b);
    Value second = PopValue(), first = PopValue(), condition = PopValue();
    PushValue(condition.start, condition.sameAlongARow && first.sameAlongARow && second.sameAlongARow);
    return true;
}

// A condition whose branches are short and cheap, which is to say they
// change no state and divide by no variable, runs both and picks one of
// the results without a jump: an unpredictable condition costs more than
// the branch not taken. The branches' code moves as a whole, so jumps
// within it stay right. The code left is no longer than before but for
// the setcc a flag test dropped, and where that does not fit, the jumps
// stay.
void Parser::Select(const Branches& b)
{
    int firstSize = b.jump - b.first, secondSize = size - b.second;
    if (firstSize > kSelectLimit || secondSize > kSelectLimit)
        return;
    X86Fragment f;
    if (b.setcc)
        f.Text("0F"), f.Byte(b.setcc), f.Text("C0 0F B6 C0");  // the condition as 0 or 1 again
    for (int k = b.first; k < b.jump; ++k)
        f.Byte(buffer_[k]);  // pushes the condition, leaves the first value in EAX
    for (int k = b.second; k < size; ++k)
        f.Byte(buffer_[k]);  // pushes the first value, leaves the second in EAX
    f.Text("59 5A 85 D2 0F 45 C1");  // pop ecx; pop edx; test edx, edx; cmovne eax, ecx
    if (b.test + f.size + kFormulaEpilogueSize > capacity_)
        return;
    std::memcpy(buffer_ + b.test, f.bytes, static_cast<size_t>(f.size));
    size = b.test + f.size;
    leafStart_ = -1;
    endsInSetcc_ = false;
    byteEnd_ = b.bytes ? size : -1;
}

bool Parser::Binary()
{
    int base = opCount_;
    for (;;) {
        if (!Prefixes() || !Operand())
            return false;
        if (token_.kind != TOK_OPERATOR || token_.op == OP_NOT)
            return Reduce(base, 0);
        FormulaOp op = token_.op;
        if (!Reduce(base, Level(op)) || !Push(op, true))
            return false;
        Advance();
    }
}

// Unary operators wait on the stack; a unary '+' is skipped.
bool Parser::Prefixes()
{
    for (;;) {
        if (IsOp(OP_SUB)) {
            if (!Push(OP_NEG, false))
                return false;
        } else if (IsOp(OP_NOT)) {
            if (!Push(OP_NOT, false))
                return false;
        } else if (Is('~')) {
            if (!Push(OP_COMPL, false))
                return false;
        } else if (!IsOp(OP_ADD)) {
            return true;
        }
        Advance();
    }
}

bool Parser::Operand()
{
    if (token_.kind == TOK_NUMBER) {
        if (!EmitLeaf(LOAD_CONSTANT, static_cast<int>(token_.value)))
            return false;
        Advance();
        return true;
    }
    if (token_.kind == TOK_NAME)
        return Name();
    if (!Is('('))
        return Fail();
    Advance();
    if (!List())
        return false;
    if (!Is(')'))
        return Fail();
    Advance();
    return true;
}

bool Parser::Name()
{
    const char* name = text_ + token_.start;
    int length = token_.length;
    static const char* const kChannelNames[3] = {"r", "g", "b"};
    if (SameName(name, length, "c")) {
        name = kChannelNames[channel_];
        length = 1;
    }
    if (SameName(name, length, "z")) {
        Advance();
        return EmitLeaf(LOAD_CONSTANT, channel_);
    }
    for (const Variable& v : kVariables) {
        if (!SameName(name, length, v.name))
            continue;
        usage |= v.usage;
        bool isX = v.field == static_cast<int>(offsetof(FormulaContext, x));
        readsX = readsX || isX;
        bool isColour = (v.usage & (USE_R | USE_G | USE_B)) != 0;
        FormulaLoad kind = v.field < 0 ? LOAD_CONSTANT : LOAD_FIELD;
        int value = v.field < 0 ? v.constant : v.field;
        if (plan_ && isColour) {
            kind = LOAD_PIXEL_BYTE;  // bytes B, G, R in memory
            value = v.usage == USE_R ? 2 : v.usage == USE_G ? 1 : 0;
        }
        if (plan_ && plan_->xInEsi && isX)
            kind = LOAD_X_REGISTER;
        if (!EmitLeaf(kind, value, isColour))
            return false;
        Advance();
        return true;
    }
    for (const Function& fn : kFunctions)
        if (SameName(name, length, fn.name))
            return Call(fn);
    return Fail();
}

// src with a constant channel: y is back in EAX, x on the stack. A y that
// stays the same along the row takes its row's offset along to the row
// code.
bool Parser::SourceOfChannel(const Value& y)
{
    int z = leafValue_;
    X86Fragment row;
    EmitSourceRow(row);
    if (!ReplaceLeaf(row))
        return false;
    if (y.sameAlongARow)
        Hoist(y.start, size);
    X86Fragment column;
    EmitSourceColumn(column, z);
    if (leafStart_ < 0)
        return Emit(column);
    X86Fragment fused;  // the offset's leaf without its push, x straight into ECX
    fused.Text("89 C1");
    EmitLoad(fused, 0, leafKind_, leafValue_);
    for (int k = 1; k < column.size; ++k)  // all but its pop ecx
        fused.Byte(column.bytes[k]);
    return ReplaceLeaf(fused);
}

bool Parser::Call(const Function& function)
{
    Advance();
    if (!Is('('))
        return Fail();
    for (int k = 0; k < function.arguments; ++k) {
        Advance();
        if (!Conditional())
            return false;
        if (!Is(k + 1 < function.arguments ? ',' : ')'))
            return Fail();
    }
    if (function.fn == FN_CNV)
        usage |= USE_CNV;
    if (function.fn == FN_PUT || function.fn == FN_RND)
        pure = false;
    heavy_ += Heavy(function.fn);
    Value arguments[10];
    HoistArguments(function.arguments, SameAlongARow(function.fn), arguments);
    X86Fragment f;
    bool ok;
    if (function.fn == FN_SRC && LeafIsConstant()) {
        ok = SourceOfChannel(arguments[1]);
    } else {
        EmitFunction(f, function.fn, channel_);
        ok = Emit(f);
    }
    if (!ok)
        return false;
    if (function.fn == FN_SRC || function.fn == FN_RAD)
        byteEnd_ = size;  // a byte of the picture
    Advance();
    return true;
}

int TextLength(const char* text)
{
    int n = 0;
    while (n < kFormulaTextLimit && text[n])
        ++n;
    return n;
}

// The setup's weighted sums and edge flags borrow ESI, saving it through
// the stack: an x counted there would make every pixel wait for that.
bool XFitsInEsi(const FormulaCompilation& out)
{
    bool readsX = out.channel[0].readsX || out.channel[1].readsX || out.channel[2].readsX;
    return readsX && (out.usage & (USE_I | USE_U | USE_V | USE_CNV)) == 0;
}

// A body compiles as its routine did, with smaller loads, so it can only
// fail where the routine nearly filled its buffer; then the loop runs the
// routines' own bodies.
void CompileLoopBodies(const char* const texts[3], FormulaCompilation& out)
{
    out.loopPlan.xInEsi = XFitsInEsi(out);
    out.loopBody.assign(3 * static_cast<size_t>(kFormulaCodeSize), 0);
    out.rowCode = FormulaRowCode();
    for (int c = 0; c < 3; ++c) {
        unsigned usage = 0;
        FormulaRowCode before = out.rowCode;
        FormulaChannelResult r = CompileFormula(texts[c], c, &out.loopBody[static_cast<size_t>(c) * kFormulaCodeSize],
                                                kFormulaCodeSize, usage, out.loopBodySize[c], &out.loopPlan,
                                                &out.rowCode);
        if (r.ok != out.channel[c].ok) {
            out.loopBody.clear();
            out.rowCode = FormulaRowCode();
            return;
        }
        if (!r.ok)
            out.rowCode = before;  // the constant 0 reads no row value
        out.loopBodyByteValued[c] = r.byteValued;
    }
}

}  // namespace

FormulaChannelResult CompileFormula(const char* text, int channel, unsigned char* buffer, int capacity,
                                    unsigned& usage, int& size, const FormulaLoopPlan* plan, FormulaRowCode* rows)
{
    Parser parser(text, TextLength(text), channel, buffer, capacity, plan, rows);
    FormulaChannelResult result{};
    result.ok = parser.Run();
    result.pure = !result.ok || parser.pure;  // a failed channel is the constant 0
    result.readsX = result.ok && parser.readsX;
    result.byteValued = !result.ok || parser.byteValued;
    if (result.ok) {
        usage = parser.usage;
        size = parser.size;
        return result;
    }
    result.codeFull = parser.codeFull;
    result.errorOffset = parser.errorOffset;
    result.errorLength = parser.errorLength;
    X86Fragment zero;
    EmitPrologue(zero);
    EmitConstant(zero, 0);
    EmitEpilogue(zero);
    std::memcpy(buffer, zero.bytes, zero.size);
    usage = 0;
    size = zero.size;
    return result;
}

void CompileFormulas(const char* const texts[3], unsigned char* const buffers[4], FormulaCompilation& out)
{
    out.usage = 0;
    for (int c = 0; c < 3; ++c) {
        unsigned usage = 0;
        out.channel[c] = CompileFormula(texts[c], c, buffers[c], kFormulaCodeSize, usage, out.size[c]);
        out.usage |= usage;
    }
    X86Fragment setup;
    EmitSetup(setup, out.usage);
    std::memcpy(buffers[CODE_SETUP], setup.bytes, setup.size);
    out.size[CODE_SETUP] = setup.size;
    CompileLoopBodies(texts, out);
}
