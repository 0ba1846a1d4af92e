// Mapping colours and pictures to their nearest palette entries, the latter
// optionally with error diffusion (half of each error to the pixel below,
// the rest to the right neighbour).
#include <stddef.h>
#include <stdint.h>

#include "quantize.h"
#include "quantize_cells.h"
#include "palette_argument.h"
#include "quantize_exclude.h"
#include "scratch_block.h"

namespace {

const int MaxEntries = 256;

inline int Clamp(int v)
{
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

// Where the result of each pixel goes: an index byte in out, or, with out
// null, the entry's colour in the pixel itself (flags kept).
class Target {
public:
    Target(Buffer& src_, const unsigned char* pal_, unsigned char* out_, int rowBytes_)
        : src(src_), pal(pal_), out(out_), rowBytes(rowBytes_)
    {
    }
    unsigned long* Pixels(int64_t y) const { return src.pixels + ptrdiff_t(y) * src.stride; }
    unsigned char* Indices(int64_t y) const { return out ? out + ptrdiff_t(y) * rowBytes : nullptr; }
    void Put(unsigned long* px, unsigned char* indices, int64_t x, int entry) const
    {
        if (indices) {
            indices[x] = (unsigned char)entry;
            return;
        }
        const unsigned char* e = pal + 3 * entry;
        px[x] = (px[x] & 0xFF000000) | (unsigned long)e[0] << 16 | (unsigned long)e[1] << 8 | e[2];
    }
    // Excluded pixels get index 0 and keep their colour.
    void Skip(unsigned char* indices, int64_t x) const
    {
        if (indices) indices[x] = 0;
    }

private:
    Buffer& src;
    const unsigned char* pal;
    unsigned char* out;
    int rowBytes;
};

// No entry to search: everything gets entry 0, when there is one.
void MapToFirst(int64_t w, int64_t h, const Target& target, int n, unsigned long t)
{
    for (int64_t y = 0; y < h; y++) {
        unsigned long* px = target.Pixels(y);
        unsigned char* indices = target.Indices(y);
        for (int64_t x = 0; x < w; x++)
            if (n < 1 || Excluded(px[x], t))
                target.Skip(indices, x);
            else
                target.Put(px, indices, x, 0);
    }
}

void MapPlain(int64_t w, int64_t h, const Target& target, const CellLists& cells, unsigned long t)
{
    for (int64_t y = 0; y < h; y++) {
        unsigned long* px = target.Pixels(y);
        unsigned char* indices = target.Indices(y);
        for (int64_t x = 0; x < w; x++) {
            const unsigned long p = px[x];
            if (Excluded(p, t))
                target.Skip(indices, x);
            else
                target.Put(px, indices, x, cells.Nearest(int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)));
        }
    }
}

// errors holds, per column, the R, G, B errors the row above passes down.
// Negative errors are halved by an arithmetic shift (as g++ and clang do), so
// the halves round towards minus infinity and the right neighbour gets the rest.
void MapDithered(int64_t w, int64_t h, const Target& target, const CellLists& cells, unsigned long t,
                 const unsigned char* pal, int* errors)
{
    for (int64_t x = 0; x < 3 * w; x++) errors[x] = 0;
    for (int64_t y = 0; y < h; y++) {
        unsigned long* px = target.Pixels(y);
        unsigned char* indices = target.Indices(y);
        int carry[3] = {0, 0, 0};
        for (int64_t x = 0; x < w; x++) {
            int* below = errors + 3 * x;
            const unsigned long p = px[x];
            if (Excluded(p, t)) {
                target.Skip(indices, x);
                carry[0] = carry[1] = carry[2] = 0;
                below[0] = below[1] = below[2] = 0;
                continue;
            }
            const int v[3] = {Clamp(int(p >> 16 & 0xFF) + carry[0] + below[0]),
                              Clamp(int(p >> 8 & 0xFF) + carry[1] + below[1]),
                              Clamp(int(p & 0xFF) + carry[2] + below[2])};
            const int entry = cells.Nearest(v[0], v[1], v[2]);
            for (int c = 0; c < 3; c++) {
                const int e = v[c] - pal[3 * entry + c];
                below[c] = e >> 1;
                carry[c] = e - (e >> 1);
            }
            target.Put(px, indices, x, entry);
        }
    }
}

}  // namespace

int Quantize(unsigned long c, unsigned char* pal, int n)
{
    if (n > MaxEntries) n = MaxEntries;
    if (n > 0) RequirePalette(pal);
    const int r = int(c >> 16 & 0xFF), g = int(c >> 8 & 0xFF), b = int(c & 0xFF);
    int best = 0;
    long bestDistance = 195076;  // beyond the largest possible distance
    for (int i = 0; i < n; i++) {
        const unsigned char* e = pal + 3 * i;
        const long d = long(r - e[0]) * (r - e[0]) + long(g - e[1]) * (g - e[1]) + long(b - e[2]) * (b - e[2]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// n above 256 is taken as 256: an index byte cannot name more entries.
void Quantize(Buffer& src, unsigned char* pal, int n, unsigned long t, bool dither, unsigned char* out, int rowBytes)
{
    if (n > MaxEntries) n = MaxEntries;
    const int64_t w = int64_t(src.right) - src.left + 1, h = int64_t(src.bottom) - src.top + 1;
    if (!src.pixels || w < 1 || h < 1) return;
    if (n > 0) RequirePalette(pal);
    const Target target(src, pal, out, rowBytes);
    // A transparent colour owns entry 0; the search skips it.
    const int first = IsTransparentColour(t) ? 1 : 0;
    if (n - first < 1) return MapToFirst(w, h, target, n, t);
    const CellLists cells(pal, first, n);
    if (!dither) return MapPlain(w, h, target, cells, t);
    ScratchBlock<int> errors(uint64_t(w) * 3);
    MapDithered(w, h, target, cells, t, pal, errors.Get());
}
