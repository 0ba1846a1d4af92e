// From decoded JPEG blocks to pixels: inverse transform, colour conversion
// and the copy of the MCU's visible part into the target. Blocks that show
// no pixel of the target skip the transform. What a load leaves unwritten
// is cleared at its end.
#include <string.h>

#include "exceptions.h"
#include "jpg_decode.h"
#include "jpg_decode_colour.h"
#include "jpg_decode_idct.h"
#include "jpg_decode_tables.h"

namespace Jpg {

namespace {

// True when the w x h area at (x, y) has a pixel in r.
bool Shows(const Rect& r, int x, int y, int w, int h)
{
    return x <= r.right && y <= r.bottom && x + w - 1 >= r.left && y + h - 1 >= r.top;
}

}  // namespace

void PutMcu(Decoder& dec, int mx, int my, const int16_t* const* blocks)
{
    const Frame& f = dec.frame;
    const Rect& v = dec.visible;
    const int x0 = mx * f.mcuWidth, y0 = my * f.mcuHeight;
    dec.restTop = y0;
    dec.restLeft = x0 + f.mcuWidth;
    if (!Shows(v, x0, y0, f.mcuWidth, f.mcuHeight)) return;

    McuSamples s;
    const Transform transform = dec.transform;
    const int x1 = x0 + f.mcuWidth - 1, y1 = y0 + f.mcuHeight - 1;
    const bool whole = x0 >= v.left && x1 <= v.right && y0 >= v.top && y1 <= v.bottom;
    for (int j = 0; j < f.lumaBlocks; ++j) {
        // Shifts, not / and %: the compiler cannot know the width a power of two.
        const int col = j & ((1 << f.hShift) - 1), row = j >> f.hShift;
        if (whole || Shows(v, x0 + 8 * col, y0 + 8 * row, 8, 8))
            transform(blocks[j], s.y + 8 * row * LumaStride + 8 * col, LumaStride);
    }
    if (f.count == 3) {
        transform(blocks[f.lumaBlocks], s.cb, 8);
        transform(blocks[f.lumaBlocks + 1], s.cr, 8);
    }

    if (whole) {
        if (!dec.convertMcu) dec.convertMcu = McuConverterFor(f.count, f.hShift, f.vShift);
        dec.convertMcu(s, dec.b.At(x0, y0), dec.b.stride);
        return;
    }
    const RowConverter convert = ConverterFor(f.count, f.hShift, f.vShift);
    const int left = x0 > v.left ? x0 : v.left;
    const int right = x1 < v.right ? x1 : v.right;
    const int top = y0 > v.top ? y0 : v.top;
    const int bottom = y1 < v.bottom ? y1 : v.bottom;
    for (int y = top; y <= bottom; ++y) convert(s, left - x0, y - y0, right - left + 1, dec.b.At(left, y));
}

void MarkComplete(Decoder& dec)
{
    dec.restTop = dec.frame.height;
    dec.restLeft = 0;
}

Decoder::~Decoder()
{
    const Rect& v = visible;
    const int rowEnd = restTop + frame.mcuHeight;
    for (int y = restTop > v.top ? restTop : v.top; y <= v.bottom; ++y) {
        const int from = y < rowEnd && restLeft > v.left ? restLeft : v.left;
        if (from <= v.right) memset(b.At(from, y), 0, size_t(v.right - from + 1) * sizeof(unsigned long));
    }
}

namespace {

// A quantisation table in natural order, so that dequantising is one plain
// loop over the block.
void NaturalOrder(const int16_t* zigzagOrder, int16_t* natural)
{
    for (int k = 0; k < 64; ++k) natural[ZigZag[k]] = zigzagOrder[k];
}

}  // namespace

void OutputStore(Decoder& dec)
{
    const Frame& f = dec.frame;
    int16_t q[3][64];
    for (int i = 0; i < f.count; ++i) {
        const int16_t* table = dec.quant[f.comp[i].quant].q;
        if (!table[0]) throw EInvalidImage("JPEG: component without a quantisation table");
        NaturalOrder(table, q[i]);
    }
    const int64_t mcus = int64_t(f.mcusX) * f.mcusY;
    const int blockCount = f.lumaBlocks + f.count - 1;
    int16_t blocks[MaxBlocksPerMcu][64];
    const int16_t* order[MaxBlocksPerMcu];
    for (int my = 0; my < f.mcusY; ++my) {
        if (my * f.mcuHeight > dec.visible.bottom) break;
        for (int mx = 0; mx < f.mcusX; ++mx) {
            if (mx * f.mcuWidth > dec.visible.right) break;
            const int64_t m = int64_t(my) * f.mcusX + mx;
            for (int i = 0; i < blockCount; ++i) {
                const bool luma = i < f.lumaBlocks;
                const int comp = luma ? 0 : i - f.lumaBlocks + 1;
                const int64_t index = luma ? m * f.lumaBlocks + i : mcus * f.lumaBlocks + (comp - 1) * mcus + m;
                const int16_t* stored = dec.store.Get() + index * 64;
                for (int k = 0; k < 64; ++k) blocks[i][k] = int16_t(uint16_t(uint32_t(stored[k]) * uint32_t(q[comp][k])));
                order[i] = blocks[i];
            }
            PutMcu(dec, mx, my, order);
        }
    }
    MarkComplete(dec);
}

}  // namespace Jpg
