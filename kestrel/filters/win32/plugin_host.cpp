#include "plugin_host.h"

#include <string.h>

#include "plugin_api.h"
#include "plugin_display.h"
#include "plugin_services.h"
#include "plugin_tiles.h"
#include "seh_guard.h"

namespace {

// One program-wide record with room for the fields newer filters may read.
union RecordSpace {
    FilterRecord record;
    unsigned char bytes[FilterRecordSize];
};
static_assert(sizeof(FilterRecord) <= FilterRecordSize, "the record outgrew its space");
RecordSpace recordSpace;
// First word: the filter's data value; second: the main window handle.
unsigned char dataArea[256];

// The entry and its four arguments as the words pushed, last one first.
struct EntryCall {
    PlugInEntry entry;
    intptr_t selector;
    FilterRecord* record;
    intptr_t* data;
    int16_t* result;
};

// The entry is cdecl, but a filter built stdcall by mistake pops its own
// arguments and a plain call would leave the stack off by 16 bytes. The
// stack pointer is kept in esi, which either convention must preserve, and
// put back after the call.
void CallEntry(void* arg)
{
    EntryCall* c = static_cast<EntryCall*>(arg);
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "pushl 16(%0)\n\t"
        "pushl 12(%0)\n\t"
        "pushl 8(%0)\n\t"
        "pushl 4(%0)\n\t"
        "call *(%0)\n\t"
        "movl %%esi, %%esp"
        :
        : "D"(c)
        : "eax", "ecx", "edx", "esi", "memory", "cc");
}

// The selector's result; a fault in the filter counts as an error.
int16_t Send(PlugInEntry entry, int16_t selector, bool& faulted)
{
    int16_t result = 0;
    EntryCall c{entry, selector, &recordSpace.record, reinterpret_cast<intptr_t*>(dataArea), &result};
    if (GuardedCall(CallEntry, &c) != 0) {
        faulted = true;
        return -1;
    }
    return result;
}

PSRect Exclusive(const Rect& r) { return PSRect{int16_t(r.top), int16_t(r.left), int16_t(r.bottom + 1), int16_t(r.right + 1)}; }

bool Empty(const PSRect& r) { return r.top >= r.bottom || r.left >= r.right; }

PSRGBColor Wide(unsigned long c)
{
    return PSRGBColor{uint16_t((c >> 16 & 0xFF) * 257), uint16_t((c >> 8 & 0xFF) * 257), uint16_t((c & 0xFF) * 257)};
}

// Bytes R, G, B, 0: filters read the colour in the image mode's channel
// order, so B, G, R would fill with red where blue was asked for.
void PutColour(FilterColor out, unsigned long c)
{
    out[0] = (unsigned char)(c >> 16);
    out[1] = (unsigned char)(c >> 8);
    out[2] = (unsigned char)c;
    out[3] = 0;
}

void FillRecord(FilterRecord& r, Buffer& input, const PlugInRunOptions& o, HWND* window)
{
    const int w = input.Width(), h = input.Height();
    r.imageSize = PSPoint{int16_t(h), int16_t(w)};
    r.wholeSize = r.imageSize;
    r.planes = 3;
    r.filterRect = o.hasRect ? Exclusive(o.rect) : PSRect{0, 0, int16_t(h), int16_t(w)};
    r.background = Wide(o.background);
    r.foreground = Wide(o.foreground);
    // A picture of more than about 260 megapixels would wrap the 32-bit field.
    const long long space = (long long)w * h * 8 + 0x200000;
    r.maxSpace = space > 0x7FFFFFFF ? 0x7FFFFFFF : int32_t(space);
    r.haveMask = o.maskBit != 0;
    r.autoMask = 1;
    PutColour(r.backColor, o.background);
    PutColour(r.foreColor, o.foreground);
    r.hostSig = PS_FOURCC('K', 'S', '2', '0');
    r.imageMode = 3;
    r.imageHRes = r.imageVRes = 0x012C0000;
    *window = o.window;
    r.platformData = window;
    r.supportsDummyChannels = r.supportsAbsolute = r.supportsPadding = 1;
    r.samplingSupport = 1;
    const bool whole = r.filterRect.top == 0 && r.filterRect.left == 0 && r.filterRect.bottom == h &&
                       r.filterRect.right == w;
    r.filterCase = o.maskBit || !whole ? 2 : 1;
    InstallHostProcs(r);
}

}  // namespace

const FilterRecord& LastFilterRecord() { return recordSpace.record; }

int RunPlugInFilter(Buffer& input, Buffer& output, const AnsiString& path, const PlugInRunOptions& o)
{
    const std::string full = path.c_str();
    const size_t hash = full.rfind('#');
    if (hash == std::string::npos || !input.pixels || !output.pixels) return PlugInFailed;
    // The record's rectangles are 16-bit: a larger picture cannot be described.
    if (input.Width() > 32767 || input.Height() > 32767) return PlugInFailed;
    HMODULE lib = LoadLibraryExA(full.substr(0, hash).c_str(), nullptr, 0);
    if (!lib) return PlugInFailed;
    // Through void*: the export's real type is the entry's, not FARPROC's.
    PlugInEntry entry = reinterpret_cast<PlugInEntry>(
        reinterpret_cast<void*>(GetProcAddress(lib, full.substr(hash + 1).c_str())));
    if (!entry) {
        FreeLibrary(lib);
        return PlugInFailed;
    }

    memset(&recordSpace, 0, sizeof recordSpace);
    memset(dataArea, 0, sizeof dataArea);
    FilterRecord& r = recordSpace.record;
    PlugInRun run;
    PlugInTiles tiles(input, output, o.hasRect ? Exclusive(o.rect)
                                               : PSRect{0, 0, int16_t(input.Height()), int16_t(input.Width())},
                      o.maskBit);
    run.input = &input;
    run.tiles = &tiles;
    run.record = &r;
    run.interpolation = o.interpolation;
    run.pickColour = o.pickColour;
    run.abort = o.abort;
    run.progress = o.progress;
    run.displayPixels = PlugInDisplayPixels;
    SetDisplayICM(o.icm);
    PlugInRun* outer = CurrentPlugInRun;
    CurrentPlugInRun = &run;
    HWND* window = reinterpret_cast<HWND*>(dataArea + 4);
    FillRecord(r, input, o, window);

    bool faulted = false;
    int16_t result = Send(entry, filterSelectorParameters, faulted);
    if (result == noErr) result = Send(entry, filterSelectorPrepare, faulted);
    bool started = false;
    if (result == noErr) {
        result = Send(entry, filterSelectorStart, faulted);
        started = result == noErr;
    }
    bool cancelled = false;
    while (started && result == noErr && !faulted) {
        if (Empty(r.inRect) && Empty(r.outRect) && Empty(r.maskRect)) break;
        result = tiles.Advance(r);
        if (result != noErr) break;
        result = Send(entry, filterSelectorContinue, faulted);
        cancelled = result == userCanceledErr;
    }
    // Finish is owed to a filter that started, unless it faulted: its state
    // is then unknown and nothing more is called in it.
    if (started && !faulted) {
        const int16_t finish = Send(entry, filterSelectorFinish, faulted);
        if (result == noErr) result = finish;
    }
    int outcome = PlugInFailed;
    if (!faulted && result == noErr) {
        r.inRect = r.outRect = r.maskRect = PSRect{0, 0, 0, 0};
        outcome = tiles.Advance(r) == noErr ? PlugInDone : PlugInFailed;  // writes the last tile back
    } else if (!faulted && cancelled) {
        outcome = PlugInCancelled;
    }
    if (outcome != PlugInDone) tiles.Discard();
    CurrentPlugInRun = outer;
    r.inData = r.outData = r.maskData = nullptr;
    FreeLibrary(lib);
    return outcome;
}
