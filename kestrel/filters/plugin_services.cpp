#include "plugin_services.h"

#include <stdlib.h>
#include <string.h>

PlugInRun* CurrentPlugInRun = nullptr;

PlugInRun::~PlugInRun()
{
    for (PSHandleSlot& s : handles) free(s.block);
}

namespace {

// --- Buffers: the ID is the block itself ---

OSErr AllocateBuffer(int32_t size, BufferID* id)
{
    if (!id) return -1;
    *id = size >= 0 ? malloc(size_t(size) + 1) : nullptr;
    return *id ? noErr : -1;
}
void* LockBuffer(BufferID id, Boolean) { return id; }
void UnlockBuffer(BufferID) {}
void FreeBuffer(BufferID id) { free(id); }
int32_t BufferSpace() { return 0xA00000; }

// --- Handles: slots of the run's table ---

PSHandleSlot* SlotOf(Handle h)
{
    if (!CurrentPlugInRun || !h) return nullptr;
    std::vector<PSHandleSlot>& t = CurrentPlugInRun->handles;
    // Only an address the table handed out is a handle; anything else the
    // filter passes is ignored rather than freed.
    for (PSHandleSlot& s : t)
        if (reinterpret_cast<Handle>(&s.block) == h) return s.used ? &s : nullptr;
    return nullptr;
}

Handle NewHandle(int32_t size)
{
    if (!CurrentPlugInRun || size < 0) return nullptr;
    for (PSHandleSlot& s : CurrentPlugInRun->handles) {
        if (s.used) continue;
        s.block = static_cast<char*>(malloc(size_t(size) + 1));
        if (!s.block) return nullptr;
        memset(s.block, 0, size_t(size) + 1);
        s.size = size;
        s.used = true;
        return reinterpret_cast<Handle>(&s.block);
    }
    return nullptr;
}
void DisposeHandle(Handle h)
{
    if (PSHandleSlot* s = SlotOf(h)) {
        free(s->block);
        *s = PSHandleSlot();
    }
}
int32_t GetHandleSize(Handle h)
{
    PSHandleSlot* s = SlotOf(h);
    return s ? s->size : 0;
}
OSErr SetHandleSize(Handle h, int32_t size)
{
    PSHandleSlot* s = SlotOf(h);
    if (!s || size < 0) return -1;
    char* grown = static_cast<char*>(realloc(s->block, size_t(size) + 1));
    if (!grown) return -1;
    s->block = grown;
    s->size = size;
    return noErr;
}
void* LockHandle(Handle h, Boolean)
{
    PSHandleSlot* s = SlotOf(h);
    return s ? s->block : nullptr;
}
void UnlockHandle(Handle) {}
void RecoverSpace(int32_t) {}

// --- Image services ---

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

unsigned char SourceAt(const PSImagePlane* p, int row, int col)
{
    const unsigned char* base = static_cast<const unsigned char*>(p->data);
    return base[(row - p->bounds.top) * p->rowBytes + (col - p->bounds.left) * p->colBytes];
}

int Mix(int a, int b, int f) { return (a * (65536 - f) + b * f + 32768) >> 16; }

// One axis: the sample at 16.16 position c between first and last.
struct AxisSample {
    int i0, i1, f;
};
AxisSample Sample(Fixed c, int first, int last, bool linear)
{
    if (!linear) {
        const int i = Clamp(int((int64_t(c) + 0x8000) >> 16), first, last);
        return {i, i, 0};
    }
    const int i = Clamp(int(c >> 16), first, last);
    // No weighting at the last row or column: there is no neighbour.
    return i >= last ? AxisSample{i, i, 0} : AxisSample{i, i + 1, int(c & 0xFFFF)};
}

bool PlaneUsable(const PSImagePlane* p)
{
    return p && p->data && p->bounds.bottom > p->bounds.top && p->bounds.right > p->bounds.left;
}

OSErr Resample(PSImagePlane* src, PSImagePlane* dst, PSRect* area, Fixed* coords, int16_t method, bool twoD)
{
    if (!PlaneUsable(src) || !PlaneUsable(dst) || !area || !coords) return -1;
    const int lastRow = src->bounds.bottom - 1, lastCol = src->bounds.right - 1;
    unsigned char* out = static_cast<unsigned char*>(dst->data);
    size_t i = 0;
    for (int row = area->top; row < area->bottom; row++)
        for (int col = area->left; col < area->right; col++, i++) {
            const Fixed y = twoD ? coords[2 * i] : Fixed(row) << 16;
            const Fixed x = twoD ? coords[2 * i + 1] : coords[i];
            const AxisSample sy = Sample(y, src->bounds.top, lastRow, method != 0);
            const AxisSample sx = Sample(x, src->bounds.left, lastCol, method != 0);
            const int top = Mix(SourceAt(src, sy.i0, sx.i0), SourceAt(src, sy.i0, sx.i1), sx.f);
            const int bottom = Mix(SourceAt(src, sy.i1, sx.i0), SourceAt(src, sy.i1, sx.i1), sx.f);
            out[(row - dst->bounds.top) * dst->rowBytes + (col - dst->bounds.left) * dst->colBytes] =
                (unsigned char)Mix(top, bottom, sy.f);
        }
    return noErr;
}
OSErr Interpolate1D(PSImagePlane* s, PSImagePlane* d, PSRect* a, Fixed* c, int16_t m) { return Resample(s, d, a, c, m, false); }
OSErr Interpolate2D(PSImagePlane* s, PSImagePlane* d, PSRect* a, Fixed* c, int16_t m) { return Resample(s, d, a, c, m, true); }

// --- Properties ---

const OSType Sig8BIM = PS_FOURCC('8', 'B', 'I', 'M');

OSErr GetProperty(OSType signature, OSType key, int32_t index, intptr_t* simple, Handle* complex)
{
    if (signature != Sig8BIM) return -1;
    if (key == PS_FOURCC('i', 'n', 't', 'p')) {
        if (simple) *simple = CurrentPlugInRun && CurrentPlugInRun->interpolation ? 2 : 1;
        return noErr;
    }
    if (key == PS_FOURCC('m', 'o', 'd', 'e')) {
        if (simple) *simple = 3;
        return noErr;
    }
    if (key == PS_FOURCC('n', 'u', 'c', 'h')) {
        if (simple) *simple = 3;
        return noErr;
    }
    if (key == PS_FOURCC('n', 'm', 'c', 'h') && index >= 0 && index <= 2 && complex) {
        Handle h = NewHandle(2);
        if (!h) return memFullErr;
        (*h)[0] = "RGB"[index];
        (*h)[1] = 0;
        *complex = h;
        return noErr;
    }
    return -1;
}
OSErr SetProperty(OSType, OSType, int32_t, intptr_t, Handle) { return noErr; }

Boolean HostAbort() { return CurrentPlugInRun && CurrentPlugInRun->abort && CurrentPlugInRun->abort(); }
void HostProgress(int32_t done, int32_t total)
{
    if (CurrentPlugInRun && CurrentPlugInRun->progress) CurrentPlugInRun->progress(done, total);
}

// --- Colour services ---

void ToComponents(unsigned long rgb, ColorServicesInfo* info)
{
    info->colorComponents[0] = int16_t(rgb >> 16 & 0xFF);
    info->colorComponents[1] = int16_t(rgb >> 8 & 0xFF);
    info->colorComponents[2] = int16_t(rgb & 0xFF);
    info->colorComponents[3] = 0;
}

// The record's colours hold R, G, B, 0 in memory, the channel order of RGB mode.
unsigned long FilterColorValue(const FilterColor c) { return (unsigned long)c[0] << 16 | (unsigned long)c[1] << 8 | c[2]; }

OSErr ConvertColour(ColorServicesInfo* info)
{
    int16_t* c = info->colorComponents;
    int r, g, b;
    // Components arrive from the filter: anything outside 0..255 is clamped
    // rather than carried into the other space.
    if (info->sourceSpace <= plugIncolorServicesRGBSpace) {
        r = Clamp(c[0], 0, 255), g = Clamp(c[1], 0, 255), b = Clamp(c[2], 0, 255);
    } else if (info->sourceSpace == plugIncolorServicesCMYKSpace) {
        const int k = Clamp(c[3], 0, 255);
        r = 255 - Clamp(Clamp(c[0], 0, 255) + k, 0, 255);
        g = 255 - Clamp(Clamp(c[1], 0, 255) + k, 0, 255);
        b = 255 - Clamp(Clamp(c[2], 0, 255) + k, 0, 255);
    } else if (info->sourceSpace == plugIncolorServicesGraySpace) {
        r = g = b = Clamp(c[0], 0, 255);
    } else {
        return -1;
    }
    if (info->resultSpace <= plugIncolorServicesRGBSpace) {
        c[0] = int16_t(r), c[1] = int16_t(g), c[2] = int16_t(b);
    } else if (info->resultSpace == plugIncolorServicesCMYKSpace) {
        c[0] = int16_t(255 - r), c[1] = int16_t(255 - g), c[2] = int16_t(255 - b), c[3] = 0;
    } else if (info->resultSpace == plugIncolorServicesGraySpace) {
        c[0] = int16_t((3 * r + 4 * g + b) >> 3);
    } else {
        return -1;
    }
    return noErr;
}

}  // namespace

BufferProcs HostBufferProcs = {2, 5, AllocateBuffer, LockBuffer, UnlockBuffer, FreeBuffer, BufferSpace};
HandleProcs HostHandleProcs = {1, 7, NewHandle, DisposeHandle, GetHandleSize, SetHandleSize,
                               LockHandle, UnlockHandle, RecoverSpace};
// Count 1 although both procs are there: the count filters have always seen.
ImageServicesProcs HostImageServicesProcs = {1, 1, Interpolate1D, Interpolate2D};
PropertyProcs HostPropertyProcs = {1, 2, GetProperty, SetProperty};

OSErr HostColorServices(ColorServicesInfo* info)
{
    if (!info || info->infoSize < int32_t(sizeof(ColorServicesInfo))) return -1;
    PlugInRun* run = CurrentPlugInRun;
    switch (info->selector) {
    case plugIncolorServicesChooseColor: {
        if (!run || !run->pickColour) return -1;
        const int16_t* c = info->colorComponents;
        const unsigned long colour = (unsigned long)(c[0] & 0xFF) << 16 | (unsigned long)(c[1] & 0xFF) << 8 | (c[2] & 0xFF);
        std::string prompt;
        if (const unsigned char* p = info->selectorParameter.pickerPrompt) prompt.assign((const char*)p + 1, p[0]);
        ToComponents(run->pickColour(colour, prompt), info);
        return noErr;
    }
    case plugIncolorServicesConvertColor:
        return ConvertColour(info);
    case plugIncolorServicesSamplePoint: {
        const PSPoint* pt = info->selectorParameter.globalSamplePoint;
        if (!run || !run->input || !pt) return -1;
        Buffer& in = *run->input;
        if (pt->h < 0 || pt->v < 0 || pt->h >= in.Width() || pt->v >= in.Height()) return -1;
        ToComponents(*in.At(in.left + pt->h, in.top + pt->v), info);
        return noErr;
    }
    case plugIncolorServicesGetSpecialColor:
        if (!run || !run->record) return -1;
        ToComponents(FilterColorValue(info->selectorParameter.specialColorID == 0 ? run->record->foreColor
                                                                                   : run->record->backColor),
                     info);
        return noErr;
    default:
        return -1;
    }
}

OSErr HostAdvanceState()
{
    PlugInRun* run = CurrentPlugInRun;
    if (!run || !run->tiles || !run->record) return -1;
    return run->tiles->Advance(*run->record);
}

void InstallHostProcs(FilterRecord& r)
{
    r.abortProc = HostAbort;
    r.progressProc = HostProgress;
    r.bufferProcs = &HostBufferProcs;
    r.handleProcs = &HostHandleProcs;
    r.imageServicesProcs = &HostImageServicesProcs;
    r.propertyProcs = &HostPropertyProcs;
    r.getPropertyObsolete = HostPropertyProcs.getPropertyProc;
    r.advanceState = HostAdvanceState;
    r.colorServices = HostColorServices;
    r.displayPixels = CurrentPlugInRun ? CurrentPlugInRun->displayPixels : nullptr;
}
