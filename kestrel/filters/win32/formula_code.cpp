// Code pages are read, write and execute, because they are rewritten on
// every change of a formula text; the page after them traps any overrun.
#include "formula_code.h"

#include "buffer.h"
#include "exceptions.h"
#include "formula_loop.h"
#include "winapi.h"


namespace {

const int kCodePages = 4;
const int kLoopOffset = kCodePages * kFormulaCodeSize;  // the loop follows the routines
const int kCodeBytes = kLoopOffset + kFormulaLoopSize;

}  // namespace

FormulaCode::FormulaCode()
{
    SIZE_T size = kCodeBytes + kFormulaCodeSize;
    void* block = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE);
    if (!block)
        throw EOutOfMemory();
    DWORD old;
    VirtualProtect(static_cast<unsigned char*>(block) + kCodeBytes, kFormulaCodeSize,
                   PAGE_NOACCESS, &old);
    block_ = static_cast<unsigned char*>(block);
    const char* const texts[3] = {"r", "g", "b"};
    FormulaCompilation unused;
    CompileFormulas(*this, texts, unused);
}

FormulaCode::~FormulaCode() { VirtualFree(block_, 0, MEM_RELEASE); }

FormulaRoutines FormulaCode::Routines() const
{
    FormulaRoutines r;
    for (int k = 0; k < 4; ++k)
        r.code[k] = Code(k);
    r.loop = block_ + kLoopOffset;
    return r;
}

FormulaContext& ProgramFormulaContext()
{
    static FormulaContext* ctx = [] {
        FormulaContext* c = new FormulaContext();
        FillFormulaTables(*c);
        return c;
    }();
    return *ctx;
}

void CompileFormulas(FormulaCode& code, const char* const texts[3], FormulaCompilation& out)
{
    unsigned char* const buffers[4] = {code.Code(0), code.Code(1), code.Code(2), code.Code(3)};
    CompileFormulas(texts, buffers, out);
    const unsigned char* const routines[4] = {buffers[0], buffers[1], buffers[2], buffers[3]};
    FormulaLoopHints hints = FormulaLoopHintsOf(out);
    BuildFormulaLoop(routines, out.size, &hints, code.Code(0) + kLoopOffset);
    FlushInstructionCache(GetCurrentProcess(), code.Code(0), kCodeBytes);
}

bool RunCompiledFormulas(FormulaCode& code, const int ctl[8], Buffer& source, Buffer& target,
                         bool hasSelection, FormulaRunHooks* hooks)
{
    FormulaPixels p;
    p.source = source.pixels;
    p.sourceStride = source.stride;
    p.target = target.pixels;
    p.targetStride = target.stride;
    p.width = source.pixels ? source.Width() : 0;
    p.height = source.pixels ? source.Height() : 0;
    p.hasSelection = hasSelection;
    return RunFormulaPixels(code.Routines(), ProgramFormulaContext(), ctl, p, hooks);
}
