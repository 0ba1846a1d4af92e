// PNG image data: the rows of one or seven passes pulled out of the inflater,
// unfiltered and placed into the picture.
#include <string.h>

#include <memory>

#include "exceptions.h"
#include "gfxfile.h"
#include "inflate.h"
#include "png_codec.h"
#include "scratch_block.h"

namespace {

// Two rows, each behind bpp zero bytes, swapped after every row.
struct RowPair {
    ScratchBlock<unsigned char> block;
    unsigned char* current;
    unsigned char* previous;
    int lead;

    RowPair(int64_t rowBytes, int bpp) : block(2 * (uint64_t(rowBytes) + uint64_t(bpp) + 3)), lead(bpp)
    {
        // 8-bit RGBA rows (a lead of 4) are read 32 bits at a time: with the
        // stride a multiple of 4 both rows are aligned for it.
        const size_t stride = size_t(rowBytes + bpp + 3) & ~size_t(3);
        current = block.Get() + bpp;
        previous = block.Get() + stride + bpp;
        memset(block.Get(), 0, 2 * stride);
    }
    void Clear(size_t rowBytes) { memset(previous - lead, 0, rowBytes + size_t(lead)); }
    void Swap()
    {
        unsigned char* t = current;
        current = previous;
        previous = t;
    }
};

struct Decoder {
    Buffer& b;
    const PngHeader& h;
    const PngColours& colours;
    int clipWidth, clipHeight;
    int64_t streamSize;
    Inflater& in;
    ScratchBlock<unsigned long> passPixels;  // an interlaced row before it is spread out

    bool Progress()
    {
        return !GFXFile::PrStep || GFXFile::Step(GFXFile::Percent(in.Consumed(), streamSize));
    }

    void ReadRow(RowPair& rows, size_t rowBytes, int bpp)
    {
        const unsigned filter = in.NextByte();
        if (filter > 4) throw EInvalidImage("PNG: row filter type above 4");
        in.Read(rows.current, rowBytes);
        PngUnfilter(int(filter), rows.current, rows.previous, rowBytes, bpp);
    }

    void Place(const PngPass& p, unsigned char* row, int y)
    {
        unsigned long* dst = b.pixels + int64_t(y) * b.stride;
        if (p.colStep == 1) return PngRowToPixels(h, row, dst, clipWidth, colours);
        const int n = int(PngPassCount(clipWidth, p.firstCol, p.colStep));
        if (n == 0) return;
        PngRowToPixels(h, row, passPixels.Get(), n, colours);
        for (int i = 0; i < n; ++i) dst[p.firstCol + i * p.colStep] = passPixels.Get()[i];
    }

    // False when cancelled; true also when a non-interlaced picture is cut
    // short by the clip, whose later rows are then never read.
    bool Pass(const PngPass& p, RowPair& rows, bool& cut)
    {
        const int64_t columns = PngPassCount(h.width, p.firstCol, p.colStep);
        const int64_t count = PngPassCount(h.height, p.firstRow, p.rowStep);
        if (columns == 0 || count == 0) return true;
        const size_t rowBytes = size_t(PngRowBytes(h, columns));
        const int bpp = PngFilterBytes(h);
        rows.Clear(rowBytes);
        for (int64_t j = 0; j < count; ++j) {
            const int64_t y = p.firstRow + j * p.rowStep;
            if (!h.interlace && y >= clipHeight) {
                cut = true;
                return true;
            }
            ReadRow(rows, rowBytes, bpp);
            if (y < clipHeight) Place(p, rows.current, int(y));
            rows.Swap();
            if (!Progress()) return false;
        }
        return true;
    }
};

}  // namespace

bool PngDecodeImage(Buffer& b, TStream* s, const PngHeader& h, const PngColours& c, const PngChunk& first,
                    int clipWidth, int clipHeight)
{
    std::unique_ptr<Inflater> in(new Inflater(s, first.length));
    Decoder dec{b, h, c, clipWidth, clipHeight, s->GetSize(), *in, ScratchBlock<unsigned long>()};
    if (h.interlace) dec.passPixels.Take(uint64_t(clipWidth) + 1);
    RowPair rows(PngRowBytes(h, h.width), PngFilterBytes(h));
    in->ReadZlibHeader();
    bool cut = false;
    if (!h.interlace) {
        if (!dec.Pass(PngWholePicture, rows, cut)) return false;
    } else {
        for (const PngPass& p : PngAdam7)
            if (!dec.Pass(p, rows, cut)) return false;
    }
    if (!cut) in->Finish();
    return true;
}
