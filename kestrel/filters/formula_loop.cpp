// The loop keeps the context in EBX, the source pixel in EDI and the
// target's distance in EBP, all registers the routines keep; the row's end,
// start and flag mask sit on the stack below the routines' words. x is
// worked out from EDI, or counted in ESI when the compiler says nothing in
// the pixel saves ESI through memory: a count there would make every pixel
// wait for the one before. It holds two copies of the pixel's code, one
// that tests the selection flag and one for runs that compute every pixel,
// and chooses once per run. With the compiler's hints it runs bodies
// compiled for it, after the code that works out once what stays the same
// along the row.
#include "formula_loop.h"

#include "formula_context.h"
#include "formula_x86.h"

#include <cstddef>
#include <cstring>

namespace {

const int kX = offsetof(FormulaContext, x);

class LoopWriter {
public:
    explicit LoopWriter(unsigned char* out) : out_(out) {}

    void Text(const char* hex)
    {
        X86Fragment f;
        f.Text(hex);
        Copy(f.bytes, f.size);
    }
    void Dword(unsigned v)
    {
        for (int k = 0; k < 4; ++k)
            out_[size_++] = static_cast<unsigned char>(v >> (8 * k));
    }
    void Copy(const unsigned char* bytes, int n)
    {
        std::memcpy(out_ + size_, bytes, static_cast<size_t>(n));
        size_ += n;
    }
    // rel32 from the place after a displacement at `place` to `target`.
    void Patch(int place, int target)
    {
        unsigned rel = static_cast<unsigned>(target - (place + 4));
        for (int k = 0; k < 4; ++k)
            out_[place + k] = static_cast<unsigned char>(rel >> (8 * k));
    }
    // A jump whose displacement is patched later: returns its place.
    int Jump(const char* opcode)
    {
        Text(opcode);
        Dword(0);
        return size_ - 4;
    }
    int Size() const { return size_; }

private:
    unsigned char* out_;
    int size_ = 0;
};

// Results outside 0..255 are rare, so the common case is one taken branch.
void Clamp(LoopWriter& w)
{
    w.Text("3D FF 00 00 00 76 0A");  // cmp eax, 255; jbe done
    w.Text("C1 F8 1F F7 D0 25 FF 00 00 00");  // negative 0, else 255
}

// Where the three channel results meet.
enum Gather {
    GATHER_ESI,    // shifted and or-ed into ESI
    GATHER_STACK,  // into a word on the stack, when ESI counts x
    GATHER_GREY,   // one result for all three, multiplied out
};

struct LoopPlan {
    const unsigned char* body[3];  // the channels' code between prologue and epilogue
    int bodySize[3];
    bool reuse[3];       // the channel takes the one before's result
    bool clamp[3];
    bool spareDropped;   // the bodies' first push and the loop's pop of it are left out
    bool needsX;
    bool xInEsi;
    Gather gather;
    X86Fragment ownSetup;  // the setup the loop makes for the bodies
    const unsigned char* setup;  // without its ret
    int setupSize;
    const unsigned char* rowCode;
    int rowCodeSize;
};

// Same code on the same context gives the same value, unless a channel
// between them changed the cells or the seed.
bool SameAsPrevious(const LoopPlan& plan, const FormulaLoopHints* hints, int c)
{
    return c > 0 && hints && hints->pure[c] && hints->pure[c - 1] && plan.bodySize[c] == plan.bodySize[c - 1] &&
           std::memcmp(plan.body[c], plan.body[c - 1], static_cast<size_t>(plan.bodySize[c])) == 0;
}

LoopPlan PlanOf(const unsigned char* const code[4], const int size[4], const FormulaLoopHints* hints)
{
    LoopPlan plan;
    bool bodies = hints && hints->body[0] && hints->body[1] && hints->body[2];
    for (int c = 0; c < 3; ++c) {
        plan.body[c] = (bodies ? hints->body[c] : code[c]) + kFormulaPrologueSize;
        plan.bodySize[c] = (bodies ? hints->bodySize[c] : size[c]) - kFormulaPrologueSize - kFormulaEpilogueSize;
    }
    // The first operand's push only makes the spare word the epilogue
    // drops. A body that pops down to it, after a comma or a condition,
    // pushes the same value back before anything else, so the word below
    // the body may stand in for it.
    plan.spareDropped = hints != nullptr;
    for (int c = 0; c < 3; ++c)
        plan.spareDropped = plan.spareDropped && plan.bodySize[c] > 0 && plan.body[c][0] == 0x50;
    for (int c = 0; c < 3; ++c) {
        plan.reuse[c] = SameAsPrevious(plan, hints, c);
        plan.clamp[c] = !hints || !hints->byteValued[c];
    }
    plan.needsX = !hints || hints->needsX;
    plan.xInEsi = bodies && hints->xInEsi;
    plan.gather = plan.reuse[1] && plan.reuse[2] ? GATHER_GREY : plan.xInEsi ? GATHER_STACK : GATHER_ESI;
    plan.rowCode = bodies ? hints->rowCode : nullptr;
    plan.rowCodeSize = bodies ? hints->rowCodeSize : 0;
    plan.setup = code[CODE_SETUP];
    plan.setupSize = size[CODE_SETUP] - 1;  // all but its ret
    if (bodies) {
        EmitSetup(plan.ownSetup, hints->setupUsage, false);
        plan.setup = plan.ownSetup.bytes;
        plan.setupSize = hints->setupUsage ? plan.ownSetup.size - 1 : 0;
    }
    return plan;
}

void StoreX(LoopWriter& w, const LoopPlan& plan)
{
    if (!plan.needsX)
        return;
    if (plan.xInEsi) {
        w.Text("89 B3");  // mov [ebx + x], esi
    } else {
        w.Text("89 F8 2B 44 24 04 C1 F8 02 89 83");  // x from the pixel's place
    }
    w.Dword(kX);
}

void GatherChannel(LoopWriter& w, Gather gather, int c)
{
    static const char* const kEsi[3] = {
        "89 C6 C1 E6 10",        // mov esi, eax; shl esi, 16
        "89 C1 C1 E1 08 09 CE",  // mov ecx, eax; shl ecx, 8; or esi, ecx
        "09 C6",                 // or esi, eax
    };
    // A reused result is still in EAX, so the word is built beside it.
    static const char* const kStack[3] = {
        "89 C1 C1 E1 10 51",        // push (eax << 16)
        "89 C1 C1 E1 08 09 0C 24",  // or [esp], eax << 8
        "0B 04 24 59",              // or eax, [esp]; drop the word
    };
    if (gather == GATHER_GREY) {
        if (c == 0)
            w.Text("69 C0 01 01 01 00");  // imul eax, eax, 0x010101
        return;
    }
    w.Text(gather == GATHER_ESI ? kEsi[c] : kStack[c]);
}

// One pixel's code, from the selection test to the store.
void Pixel(LoopWriter& w, const LoopPlan& plan, bool selection)
{
    int top = w.Size();
    int toSkip = -1;
    if (selection)
        toSkip = w.Jump("F7 07 00 00 00 FF 0F 84");  // an unflagged pixel is skipped
    StoreX(w, plan);
    if (plan.setupSize > 0) {
        w.Text("89 F8 89 DA");  // the setup's pixel and context
        w.Copy(plan.setup, plan.setupSize);
    }
    int drop = plan.spareDropped ? 1 : 0;
    for (int c = 0; c < 3; ++c) {
        if (!plan.reuse[c]) {
            w.Copy(plan.body[c] + drop, plan.bodySize[c] - drop);
            if (plan.clamp[c])
                Clamp(w);
            if (!plan.spareDropped)
                w.Text("59");  // the routine's spare word
        }
        GatherChannel(w, plan.gather, c);
    }
    // The source's flag byte stays.
    w.Text(plan.gather == GATHER_ESI ? "8B 07 25 00 00 00 FF 09 F0" : "8B 0F 81 E1 00 00 00 FF 09 C8");
    w.Text("89 04 2F");  // mov [edi + ebp], eax
    if (toSkip >= 0)
        w.Patch(toSkip, w.Size());
    w.Text("83 C7 04");  // next pixel
    if (plan.xInEsi)
        w.Text("46");  // inc esi
    w.Text("3B 3C 24");  // cmp edi, end
    w.Patch(w.Jump("0F 82"), top);
}

}  // namespace

FormulaLoopHints FormulaLoopHintsOf(const FormulaCompilation& compiled)
{
    FormulaLoopHints hints;
    bool bodies = !compiled.loopBody.empty();
    bool channelsReadX = false;
    for (int c = 0; c < 3; ++c) {
        hints.pure[c] = compiled.channel[c].pure;
        hints.byteValued[c] = bodies ? compiled.loopBodyByteValued[c] : compiled.channel[c].byteValued;
        channelsReadX = channelsReadX || compiled.channel[c].readsX;
        hints.body[c] = bodies ? &compiled.loopBody[static_cast<size_t>(c) * kFormulaCodeSize] : nullptr;
        hints.bodySize[c] = bodies ? compiled.loopBodySize[c] : 0;
    }
    hints.xInEsi = bodies && compiled.loopPlan.xInEsi;
    hints.rowCode = bodies ? compiled.rowCode.code.data() : nullptr;
    hints.rowCodeSize = bodies ? static_cast<int>(compiled.rowCode.code.size()) : 0;
    hints.needsX = (compiled.usage & (USE_D | USE_M | USE_CNV)) != 0 ||  // the setup's centre and edges
                   (channelsReadX && !hints.xInEsi);
    // The bodies read the colours from the pixel themselves.
    hints.setupUsage = compiled.usage & ~(bodies ? unsigned(USE_R | USE_G | USE_B) : 0u);
    return hints;
}

int BuildFormulaLoop(const unsigned char* const code[4], const int size[4], const FormulaLoopHints* hints,
                     unsigned char* loop)
{
    LoopPlan plan = PlanOf(code, size, hints);
    LoopWriter w(loop);
    w.Text("53 56 57 55 89 C3");  // save; ebx = context
    w.Text("FF 72 0C 8B 83");  // [esp + 8] keep; eax = first x
    w.Dword(kX);
    w.Text("C1 E0 02 8B 0A 29 C1 51");  // [esp + 4] the row's start: first - 4 x
    w.Text("FF 72 04 8B 3A 8B 6A 08");  // [esp] end; edi = first; ebp = delta
    if (plan.xInEsi) {
        w.Text("8B B3");  // mov esi, [ebx + x]
        w.Dword(kX);
    }
    if (plan.rowCodeSize > 0)
        w.Copy(plan.rowCode, plan.rowCodeSize);  // keeps ESI, EDI and EBP, as routines do
    // A keep with its top byte set passes every pixel.
    int toEvery = w.Jump("F7 44 24 08 00 00 00 FF 0F 85");
    Pixel(w, plan, true);
    int toEnd = w.Jump("E9");
    w.Patch(toEvery, w.Size());
    Pixel(w, plan, false);
    w.Patch(toEnd, w.Size());
    w.Text("83 C4 0C 5D 5F 5E 5B C3");
    return w.Size();
}
