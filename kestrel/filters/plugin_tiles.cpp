#include "plugin_tiles.h"

#include <stddef.h>

#include <new>

namespace {

bool Empty(const PSRect& r) { return r.top >= r.bottom || r.left >= r.right; }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

int Count(int from, int to, int step) { return to > from ? (to - from + step - 1) / step : 0; }

int Channel(unsigned long pixel, int plane) { return plane < 0 || plane > 2 ? 0 : int(pixel >> (16 - 8 * plane)) & 0xFF; }

int PlanesPerPixel(const TileKey& k) { return k.hi - k.lo + 1 + k.pre + k.post; }

}  // namespace

bool TileKey::operator==(const TileKey& o) const
{
    return rect.top == o.rect.top && rect.left == o.rect.left && rect.bottom == o.rect.bottom &&
           rect.right == o.rect.right && lo == o.lo && hi == o.hi && pre == o.pre && post == o.post &&
           padding == o.padding && step == o.step;
}

PlugInTiles::PlugInTiles(Buffer& input, Buffer& output, PSRect filterRect, unsigned long maskBit)
    : input_(input), output_(output), filter_(filterRect), maskBit_(maskBit)
{
}

bool PlugInTiles::Build(TileBuffer& t, Buffer& src, int dummyValue)
{
    t.valid = true;
    t.bytes.clear();
    const TileKey& k = t.key;
    if (Empty(k.rect)) return true;
    const int cols = Count(k.rect.left, k.rect.right, k.step), rows = Count(k.rect.top, k.rect.bottom, k.step);
    const int planes = PlanesPerPixel(k);
    t.bytes.resize(size_t(cols) * rows * planes);
    unsigned char* p = t.bytes.data();
    const int w = src.Width(), h = src.Height();
    for (int row = 0; row < rows; row++) {
        const int y = k.rect.top + row * k.step;
        const bool outside = y < 0 || y >= h;
        const int sy = Clamp(y, 0, h - 1);
        for (int col = 0; col < cols; col++) {
            const unsigned long pixel = *src.At(src.left + Clamp(k.rect.left + col * k.step, 0, w - 1), src.top + sy);
            for (int i = 0; i < k.pre; i++) *p++ = (unsigned char)dummyValue;
            for (int plane = k.lo; plane <= k.hi; plane++)
                *p++ = (unsigned char)(outside && k.padding != -1 ? k.padding : Channel(pixel, plane));
            for (int i = 0; i < k.post; i++) *p++ = (unsigned char)dummyValue;
        }
    }
    return true;
}

void PlugInTiles::WriteBack()
{
    if (!out_.valid || out_.bytes.empty()) return;
    const TileKey& k = out_.key;
    const int cols = Count(k.rect.left, k.rect.right, k.step), planes = PlanesPerPixel(k);
    const int w = output_.Width(), h = output_.Height();
    for (int y = k.rect.top; y < k.rect.bottom; y++) {
        if (y < 0 || y >= h || y < filter_.top || y >= filter_.bottom) continue;
        for (int x = k.rect.left; x < k.rect.right; x++) {
            if (x < 0 || x >= w || x < filter_.left || x >= filter_.right) continue;
            unsigned long* dst = output_.At(output_.left + x, output_.top + y);
            if (maskBit_ && !(*dst & maskBit_)) continue;
            const unsigned char* src = &out_.bytes[(size_t(y - k.rect.top) * cols + (x - k.rect.left)) * planes + k.pre];
            unsigned long v = *dst;
            for (int plane = k.lo; plane <= k.hi; plane++, src++) {
                if (plane < 0 || plane > 2) continue;
                const int shift = 16 - 8 * plane;
                v = (v & ~(0xFFUL << shift)) | (unsigned long)*src << shift;
            }
            *dst = v;
        }
    }
}

bool PlugInTiles::BuildMask(int step)
{
    mask_.valid = true;
    mask_.bytes.clear();
    const PSRect& r = mask_.key.rect;
    if (Empty(r)) return true;
    const int cols = Count(r.left, r.right, step), rows = Count(r.top, r.bottom, step);
    mask_.bytes.resize(size_t(cols) * rows);
    unsigned char* p = mask_.bytes.data();
    const int w = input_.Width(), h = input_.Height();
    for (int row = 0; row < rows; row++)
        for (int col = 0; col < cols; col++) {
            const int x = r.left + col * step, y = r.top + row * step;
            const bool inside = x >= filter_.left && x < filter_.right && y >= filter_.top && y < filter_.bottom &&
                                x >= 0 && y >= 0 && x < w && y < h;
            const bool marked = !maskBit_ || (inside && (*input_.At(input_.left + x, input_.top + y) & maskBit_));
            *p++ = inside && marked ? 255 : 0;
        }
    return true;
}

OSErr PlugInTiles::Advance(FilterRecord& r)
{
    TileKey in{r.inRect, r.inLoPlane, r.inHiPlane, r.inPreDummyPlanes, r.inPostDummyPlanes, r.inputPadding,
               Step(r.inputRate)};
    TileKey out{r.outRect, r.outLoPlane, r.outHiPlane, r.outPreDummyPlanes, r.outPostDummyPlanes, r.outputPadding, 1};
    TileKey mask{r.maskRect, 0, 0, 0, 0, 0, Step(r.maskRate)};
    // A plane range the picture does not have, or dummy planes counted
    // backwards, would size the buffer from nonsense.
    for (const TileKey* k : {&in, &out})
        if (!Empty(k->rect) && (k->lo < 0 || k->hi > 2 || k->lo > k->hi || k->pre < 0 || k->post < 0)) {
            Discard();
            r.inData = r.outData = r.maskData = nullptr;
            return errPlugInHostInsufficient;
        }
    try {
        if (!in_.valid || !(in == in_.key)) {
            in_.key = in;
            Build(in_, input_, r.dummyPlaneValue);
        }
        if (!out_.valid || !(out == out_.key)) {
            WriteBack();
            out_.key = out;
            Build(out_, output_, r.dummyPlaneValue);
        }
        if (!mask_.valid || !(mask == mask_.key)) {
            mask_.key = mask;
            BuildMask(mask.step);
        }
    } catch (std::bad_alloc&) {
        Discard();
        r.inData = r.outData = r.maskData = nullptr;
        return memFullErr;
    }
    r.inData = in_.bytes.empty() ? nullptr : in_.bytes.data();
    r.inRowBytes = Count(in.rect.left, in.rect.right, in.step) * PlanesPerPixel(in);
    r.outData = out_.bytes.empty() ? nullptr : out_.bytes.data();
    r.outRowBytes = Count(out.rect.left, out.rect.right, 1) * PlanesPerPixel(out);
    r.maskData = mask_.bytes.empty() ? nullptr : mask_.bytes.data();
    r.maskRowBytes = Count(mask.rect.left, mask.rect.right, mask.step);
    return noErr;
}

void PlugInTiles::Discard()
{
    in_ = TileBuffer();
    out_ = TileBuffer();
    mask_ = TileBuffer();
}
