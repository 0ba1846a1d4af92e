// The loop keeps the context in EBX, the source pixel in EDI and the
// target's distance in EBP, all registers the routines keep; the row's end,
// start and flag mask sit on the stack below the routines' words. x is
// worked out from EDI rather than counted in ESI, which the setup routine
// saves and restores through memory: a count there would make every pixel
// wait for the one before. A channel routine's body leaves one word on the
// stack, the one its first push put there, which the loop drops.
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

}  // namespace

namespace {

// Same code on the same context gives the same value, unless a channel
// between them changed the cells or the seed.
bool SameAsPrevious(const unsigned char* const code[4], const int size[4], const FormulaLoopHints* hints, int c)
{
    return c > 0 && hints && hints->pure[c] && hints->pure[c - 1] && size[c] == size[c - 1] &&
           std::memcmp(code[c], code[c - 1], static_cast<size_t>(size[c])) == 0;
}

}  // namespace

FormulaLoopHints FormulaLoopHintsOf(const FormulaCompilation& compiled)
{
    FormulaLoopHints hints;
    hints.needsX = (compiled.usage & (USE_D | USE_M | USE_CNV)) != 0;  // the setup's centre and edges
    for (int c = 0; c < 3; ++c) {
        hints.pure[c] = compiled.channel[c].pure;
        hints.byteValued[c] = compiled.channel[c].byteValued;
        hints.needsX = hints.needsX || compiled.channel[c].readsX;
    }
    return hints;
}

int BuildFormulaLoop(const unsigned char* const code[4], const int size[4], const FormulaLoopHints* hints,
                     unsigned char* loop)
{
    LoopWriter w(loop);
    w.Text("53 56 57 55 89 C3");  // save; ebx = context
    w.Text("FF 72 0C 8B 83");  // [esp + 8] keep; eax = first x
    w.Dword(kX);
    w.Text("C1 E0 02 8B 0A 29 C1 51");  // [esp + 4] the row's start: first - 4 x
    w.Text("FF 72 04 8B 3A 8B 6A 08");  // [esp] end; edi = first; ebp = delta
    int top = w.Size();
    w.Text("8B 44 24 08 0B 07 A9 00 00 00 FF 0F 84");  // unflagged under a selection: skip
    int toSkip = w.Size();
    w.Dword(0);
    if (!hints || hints->needsX) {
        w.Text("89 F8 2B 44 24 04 C1 F8 02 89 83");  // x from the pixel's place
        w.Dword(kX);
    }
    w.Text("89 F8 89 DA");  // the setup's pixel and context
    w.Copy(code[CODE_SETUP], size[CODE_SETUP] - 1);  // all but its ret
    // ESI gathers the channels, since every routine keeps it.
    static const char* const kGather[3] = {
        "89 C6 C1 E6 10",        // mov esi, eax; shl esi, 16
        "89 C1 C1 E1 08 09 CE",  // mov ecx, eax; shl ecx, 8; or esi, ecx
        "09 C6",                 // or esi, eax
    };
    for (int c = 0; c < 3; ++c) {
        // A reused result is still in EAX.
        if (!SameAsPrevious(code, size, hints, c)) {
            w.Copy(code[c] + kFormulaPrologueSize, size[c] - kFormulaPrologueSize - kFormulaEpilogueSize);
            if (!hints || !hints->byteValued[c])
                Clamp(w);
            w.Text("59");  // the routine's spare word
        }
        w.Text(kGather[c]);
    }
    w.Text("8B 07 25 00 00 00 FF 09 F0");  // the source's flag byte stays
    w.Text("89 04 2F");  // mov [edi + ebp], eax
    w.Patch(toSkip, w.Size());
    w.Text("83 C7 04 3B 3C 24 0F 82");  // next pixel; cmp edi, end; jb top
    w.Dword(0);
    w.Patch(w.Size() - 4, top);
    w.Text("83 C4 0C 5D 5F 5E 5B C3");
    return w.Size();
}
