// Fuzzes Scale, XFormLin and Render: any sizes, positions, matrices (special
// values included), keys and modes. Nothing may be written outside the
// destination view, nothing read outside the source (an exact-size heap block,
// so AddressSanitizer sees the first byte beyond it), and Render's spans must
// lie inside the rect.
#include <float.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "buffer.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;

    uint8_t Byte()
    {
        if (!size) return 0;
        size--;
        return *data++;
    }
    uint32_t Word()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; i++) v = v << 8 | Byte();
        return v;
    }
    // Mostly near the buffers, sometimes anything at all.
    int32_t Coord()
    {
        uint8_t kind = Byte();
        if (kind < 200) return int32_t(kind % 120) - 40;
        if (kind < 240) return int32_t(Word() % 200001) - 100000;
        return int32_t(Word());
    }
    double Number()
    {
        static const double special[] = {0,      1,     -1,       0.5,     2,        1e-12,  1e12,   NAN,
                                         INFINITY, -INFINITY, 1e300, 1e-300, DBL_MIN, 16384, 1.0 / 16384, 0.7071};
        uint8_t kind = Byte();
        if (kind < 64) return special[kind % 16];
        if (kind < 224) return double(int32_t(Word())) / double(1 + (Word() & 0xFFFF));
        uint64_t bits = uint64_t(Word()) << 32 | Word();
        double v;
        memcpy(&v, &bits, sizeof v);
        return v;
    }
    Pair<int> Point() { return {Coord(), Coord()}; }
};

const int BlockW = 96, BlockH = 96, Margin = 16;
const unsigned long Guard = 0xDEADBEEF;

bool OutsideUntouched(const std::vector<unsigned long>& block, const Rect& view)
{
    for (int y = 0; y < BlockH; y++)
        for (int x = 0; x < BlockW; x++) {
            bool inside = x >= view.left && x <= view.right && y >= view.top && y <= view.bottom;
            if (!inside && block[y * BlockW + x] != Guard) return false;
        }
    return true;
}

// A buffer over caller memory whose coordinates start at origin.
void Place(Buffer& b, Pair<int> size, unsigned long* mem, int stride, Pair<int> origin)
{
    b.Alloc(size, mem, stride);
    b.left = origin.x;
    b.top = origin.y;
    b.right = int(int64_t(origin.x) + size.x - 1);
    b.bottom = int(int64_t(origin.y) + size.y - 1);
}

// Origins mostly small, sometimes at the ends of the int range.
Pair<int> Origin(Input& in)
{
    uint8_t kind = in.Byte();
    if (kind < 200) return {int(kind % 21) - 10, int(in.Byte() % 21) - 10};
    return {kind & 1 ? INT32_MIN : INT32_MAX - 100, kind & 2 ? INT32_MIN : INT32_MAX - 100};
}

void CheckSpans(const Buffer& b, const Pair<int>* spans, Pair<int> first, int rows, int smooth)
{
    if (!spans) return;
    int per = smooth ? 2 : 1;
    if (rows < 1 || first.y < b.top || int64_t(first.y) + rows - 1 > b.bottom) __builtin_trap();
    if (first.x < b.left || first.x > b.right) __builtin_trap();
    int64_t lo = int64_t(b.left) * per, hi = int64_t(b.right) * per + per - 1;
    bool any = false;
    for (int i = 0; i < rows * per; i++) {
        if (spans[i].x > spans[i].y) continue;
        any = true;
        if (spans[i].x < lo || spans[i].y > hi) __builtin_trap();
    }
    if (!any) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    std::vector<unsigned long> block(BlockW * BlockH, Guard);
    int w = 1 + in.Byte() % (BlockW - 2 * Margin), h = 1 + in.Byte() % (BlockH - 2 * Margin);
    Rect view = {Margin, Margin, Margin + w - 1, Margin + h - 1};
    Buffer dst;
    Place(dst, {w, h}, block.data() + Margin * BlockW + Margin, BlockW, Origin(in));
    dst.Box(dst.GetRect(), 0x00123456);

    int sw = 1 + in.Byte() % 48, sh = 1 + in.Byte() % 48;
    unsigned long* mem = static_cast<unsigned long*>(malloc(size_t(sw) * sh * sizeof(unsigned long)));
    for (int i = 0; i < sw * sh; i++) mem[i] = (i % 5 == 0) ? 0x00FF00FF : 0x00010203u * unsigned(i);
    Buffer src;
    Place(src, {sw, sh}, mem, 0, Origin(in));

    while (in.size) {
        uint8_t op = in.Byte();
        unsigned long key = (op & 8) ? 0x00FF00FF : 0xFFFFFFFF;
        int mode = int(op >> 4 & 3) - 1;
        switch (op % 3) {
        case 0: {
            Matrix2D m = {in.Number(), in.Number(), in.Number(), in.Number()};
            dst.XFormLin(src, m, in.Point(), key, mode);
            break;
        }
        case 1: {
            Pair<int> s = in.Point();
            dst.Scale(src, s, in.Point(), key, mode);
            break;
        }
        default: {
            Pair<double> c[4];
            for (Pair<double>& p : c) p = {in.Number() * 40, in.Number() * 40};
            Pair<int> first;
            int rows;
            int smooth = op & 16;
            Pair<int>* spans = dst.Render(c, first, rows, smooth);
            CheckSpans(dst, spans, first, rows, smooth);
            free(spans);
            break;
        }
        }
    }
    // Once at the end: a stray write stays where it landed, and scanning
    // the whole block after every operation would set the fuzzer's pace.
    if (!OutsideUntouched(block, view)) __builtin_trap();
    free(mem);
    return 0;
}
