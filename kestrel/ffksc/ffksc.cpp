// The filter factory's component template. Make copies this library and
// fills its data area with compiled formula code and a descriptor; the
// component then runs that code with the program's own runner and tables.
// Unfilled, the area holds no valid version, so the template is ignored if
// it ever lands among the components.
#include "formula_context.h"
#include "formula_loop.h"
#include "formula_run.h"
#include "formula_x86.h"

#include <windows.h>

#include <cstring>

#include "component_abi.h"

namespace {

const int kAreaSize = 32768;
const int kLoopOffset = 4 * 4096;  // the loop follows the four routines
const int kCodeBytes = kLoopOffset + kFormulaLoopSize;

// The fields of the host's process block that the runner needs.
struct ProcessBlock {
    HWND window;
    unsigned long* source;
    unsigned long* destination;
    int width, height;
    int left, top, right, bottom;
    int hasSelection;
};

unsigned char* code = nullptr;
FormulaContext* context = nullptr;
int ctl[8];

}  // namespace

// The marker, then the area's size; Make writes "ffcd", the four code sizes
// (setup, red, green, blue), the code and the descriptor over it.
extern "C" {
__attribute__((aligned(4))) unsigned char ffdata[kAreaSize] = {
    'F', 'F', 'C', 'D', kAreaSize & 0xFF, (kAreaSize >> 8) & 0xFF, 0, 0};
}

namespace {

int CodeSize(int k)
{
    int v;
    std::memcpy(&v, ffdata + 4 + 4 * k, 4);
    return v;
}

// The sizes come from the file: a damaged one must not send the copy past
// a routine's room or the descriptor past the area.
bool SizesFit()
{
    int total = 20;
    for (int k = 0; k < 4; ++k) {
        int least = k == 0 ? 1 : kFormulaPrologueSize + kFormulaEpilogueSize;
        if (CodeSize(k) < least || CodeSize(k) > 4096)
            return false;
        total += CodeSize(k);
    }
    return total < kAreaSize;
}

// Unfilled, or filled and damaged: either way no component.
bool Built() { return std::memcmp(ffdata, "ffcd", 4) == 0 && SizesFit(); }

const char* Descriptor()
{
    ffdata[kAreaSize - 1] = 0;  // the text ends inside the area, whatever the file holds
    int offset = 20;
    for (int k = 0; k < 4; ++k)
        offset += CodeSize(k);
    return reinterpret_cast<const char*>(ffdata + offset);
}

void Init()
{
    if (!code)
        code = static_cast<unsigned char*>(
            VirtualAlloc(nullptr, kCodeBytes, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    if (!context) {
        context = static_cast<FormulaContext*>(
            VirtualAlloc(nullptr, sizeof(FormulaContext), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (context)
            FillFormulaTables(*context);
    }
    if (!code)
        return;
    const unsigned char* from = ffdata + 20;
    for (int k = 0; k < 4; ++k) {
        std::memcpy(code + 4096 * k, from, static_cast<size_t>(CodeSize(k)));
        from += CodeSize(k);
    }
    // Stored as setup, red, green, blue; the loop takes red, green, blue, setup.
    const unsigned char* const routines[4] = {code + 4096, code + 2 * 4096, code + 3 * 4096, code};
    const int sizes[4] = {CodeSize(1), CodeSize(2), CodeSize(3), CodeSize(0)};
    BuildFormulaLoop(routines, sizes, nullptr, code + kLoopOffset);  // the code alone cannot tell
    FlushInstructionCache(GetCurrentProcess(), code, kCodeBytes);
}

// Value slot k belongs to the k-th "Par<d>=" line: slider d - 1. Only line
// starts count, so a title or name holding "Par1=" maps nothing.
void Values(const int* block)
{
    const char* d = Descriptor();
    int slot = 0;
    for (const char* p = d; (p = std::strstr(p, "Par")) != nullptr; p += 3)
        if ((p == d || p[-1] == '\r') && p[3] >= '1' && p[3] <= '8' && p[4] == '=')
            ctl[p[3] - '1'] = block[slot++];
}

void Process(const ProcessBlock& b)
{
    if (!code || !context)
        return;
    // The stored order is setup, red, green, blue; the runner's is red,
    // green, blue, setup.
    FormulaRoutines routines;
    routines.code[3] = code;
    for (int c = 0; c < 3; ++c)
        routines.code[c] = code + 4096 * (c + 1);
    routines.loop = code + kLoopOffset;
    FormulaPixels p;
    p.source = b.source;
    p.sourceStride = b.width;
    p.target = b.destination;
    p.targetStride = b.width;
    p.width = b.width;
    p.height = b.height;
    p.hasSelection = b.hasSelection != 0;
    p.left = b.left;
    p.top = b.top;
    p.right = b.right;
    p.bottom = b.bottom;
    RunFormulaPixels(routines, *context, ctl, p, nullptr);
}

void Done()
{
    if (code)
        VirtualFree(code, 0, MEM_RELEASE);
    if (context)
        VirtualFree(context, 0, MEM_RELEASE);
    code = nullptr;
    context = nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) const char* KSCGETDESC()
{
    return Built() ? Descriptor() : "Name=Filter Factory template\r";
}

extern "C" __declspec(dllexport) int __stdcall KSCPROCESS(void* data, int message)
{
    if (!Built())
        return 0;
    switch (message) {
    case KSCM_INIT: Init(); break;
    case KSCM_VALUES: Values(static_cast<const int*>(data)); break;
    case KSCM_PROCESS: Process(*static_cast<const ProcessBlock*>(data)); break;
    case KSCM_DONE: Done(); break;
    default: break;
    }
    return 0;
}
