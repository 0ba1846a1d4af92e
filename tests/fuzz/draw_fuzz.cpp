// Fuzzes the drawing primitives: any sequence of operations with any
// coordinates, drawn into a view inside a larger block, must never touch a
// pixel outside the view, and XOR shapes drawn twice must vanish.
#include <stdint.h>
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
    int32_t Int()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; i++) v = v << 8 | Byte();
        return int32_t(v);
    }
    // Mostly small coordinates near the buffer, sometimes anything at all.
    int32_t Coord()
    {
        uint8_t kind = Byte();
        if (kind < 200) return int32_t(kind % 80) - 20;
        return Int();
    }
    Pair<int> Point() { return {Coord(), Coord()}; }
    Rect Box() { return {Coord(), Coord(), Coord(), Coord()}; }
};

const int BlockW = 96, BlockH = 96, Margin = 16;

bool OutsideUntouched(const std::vector<unsigned long>& block, const Rect& view)
{
    for (int y = 0; y < BlockH; y++)
        for (int x = 0; x < BlockW; x++) {
            bool inside = x >= view.left && x <= view.right && y >= view.top && y <= view.bottom;
            if (!inside && block[y * BlockW + x] != 0xDEADBEEF) return false;
        }
    return true;
}

void DrawShape(Buffer& b, uint8_t shape, Input& in, unsigned long colour)
{
    switch (shape % 5) {
    case 0: b.PutPixel(in.Point(), colour); break;
    case 1: {
        int x = in.Coord(), y1 = in.Coord(), y2 = in.Coord();
        b.VLine(x, y1, y2, colour);
        break;
    }
    case 2: b.Box(in.Box(), colour); break;
    case 3: b.Rectangle(in.Box(), colour); break;
    default: {
        Pair<int> p1 = in.Point(), p2 = in.Point();
        b.Line(p1, p2, colour);
        break;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    std::vector<unsigned long> block(BlockW * BlockH, 0xDEADBEEF);
    Buffer whole;
    whole.Alloc({BlockW, BlockH}, block.data(), 0);
    int w = 1 + in.Byte() % (BlockW - 2 * Margin), h = 1 + in.Byte() % (BlockH - 2 * Margin);
    Rect view = {Margin, Margin, Margin + w - 1, Margin + h - 1};
    bool keep = in.Byte() & 1;
    Buffer b(whole, view, keep);
    b.Box(b.GetRect(), 0x00123456);

    Buffer other;
    other.Alloc({1 + in.Byte() % 40, 1 + in.Byte() % 40});
    other.Box(other.GetRect(), 0x00654321);

    while (in.size) {
        uint8_t op = in.Byte();
        switch (op % 8) {
        case 0: {  // XOR shapes vanish when drawn twice
            std::vector<unsigned long> before(block);
            uint8_t shape = in.Byte();
            Input again = in;
            DrawShape(b, shape, in, 0x80FFFFFF);
            DrawShape(b, shape, again, 0x80FFFFFF);
            if (before != block) __builtin_trap();
            break;
        }
        case 1: DrawShape(b, in.Byte(), in, 0x00ABCDEF); break;
        case 2: b.Copy(other, in.Point(), (in.Byte() & 1) ? 0xFFFFFFFF : 0x00654321); break;
        case 3: b.Copy(b, in.Point(), 0xFFFFFFFF); break;
        case 4: {
            Pair<int> p1 = in.Point(), p2 = in.Point();
            b.CopyLine(other, p1, p2, in.Point());
            break;
        }
        case 5: b.Swap(other); break;
        case 6: b.Bool(in.Byte() % 6, unsigned(in.Int())); break;
        default:
            if (in.Byte() & 1)
                b.OutlineEQ(0x00123456, 0x00111111);
            else
                b.OutlineNE(0x00123456, 0x00222222);
            break;
        }
    }
    // Once at the end: a stray write stays where it landed, and scanning
    // the whole block after every operation would set the fuzzer's pace.
    if (!OutsideUntouched(block, view)) __builtin_trap();
    return 0;
}
