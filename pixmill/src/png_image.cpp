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

// The first pass that holds picture row y. With Adam7 that pass starts at
// column 0, so a row's first pass always has pixels for it.
int FirstPass(const PngTarget& t, int64_t y)
{
    if (!t.interlaced) return 0;
    int i = 0;
    while (y < PngAdam7[i].firstRow || (y - PngAdam7[i].firstRow) % PngAdam7[i].rowStep != 0) ++i;
    return i;
}

void ClearRow(const PngTarget& t, int64_t y)
{
    memset(t.b.pixels + y * t.b.stride, 0, size_t(t.clipWidth) * 4);
}

struct Decoder {
    PngTarget& t;
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

    // Unfilters the next row into rows.current, straight from the
    // inflater's window. False when the row repeats the one above (its
    // filtered bytes all zero under Up or Paeth, as flat pictures give
    // often): then rows.current is left as it was.
    bool ReadRow(RowPair& rows, size_t rowBytes, int bpp)
    {
        const unsigned filter = in.NextByte();
        if (filter > 4) throw EInvalidImage("PNG: row filter type above 4");
        const bool mayRepeat = filter == 2 || filter == 4;
        size_t zeroLead = 0;  // leading filtered bytes all zero, not yet written
        for (size_t done = 0; done < rowBytes;) {
            const unsigned char* src;
            const size_t m = in.ReadInPlace(src, rowBytes - done);
            if (mayRepeat && zeroLead == done) {
                if (PngAllZero(src, m)) {
                    zeroLead += m;
                    done += m;
                    continue;
                }
                memcpy(rows.current, rows.previous, zeroLead);
            }
            PngUnfilter(int(filter), src, rows.current + done, rows.previous + done, m, bpp);
            done += m;
        }
        return !(mayRepeat && zeroLead == rowBytes);
    }

    // j is the row's index in the pass: from the second row on, a row that
    // repeats the one above repeats its pixels too.
    void Place(const PngPass& p, unsigned char* row, int y, int64_t j, bool repeat)
    {
        unsigned long* dst = b.pixels + int64_t(y) * b.stride;
        if (repeat && p.colStep == 1 && j > 0) {
            memcpy(dst, dst - int64_t(p.rowStep) * b.stride, size_t(clipWidth) * sizeof *dst);
            return;
        }
        if (p.colStep == 1) return PngRowToPixels(h, row, dst, clipWidth, colours);
        const int n = int(PngPassCount(clipWidth, p.firstCol, p.colStep));
        if (n == 0) return;
        // A row an earlier pass has not touched: the columns of later passes
        // stay black until they come.
        if (FirstPass(t, y) == t.pass) ClearRow(t, y);
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
            const bool fresh = ReadRow(rows, rowBytes, bpp);
            if (y < clipHeight) Place(p, fresh ? rows.current : rows.previous, int(y), j, !fresh);
            t.nextRow = y + 1;
            if (fresh) rows.Swap();
            if (!Progress()) return false;
        }
        return true;
    }
};

}  // namespace

PngTarget::~PngTarget()
{
    for (int64_t y = 0; y < clipHeight; ++y) {
        const int first = FirstPass(*this, y);
        if (first > pass || (first == pass && y >= nextRow)) ClearRow(*this, y);
    }
}

bool PngDecodeImage(PngTarget& t, TStream* s, const PngHeader& h, const PngColours& c, const PngChunk& first)
{
    std::unique_ptr<Inflater> in(new Inflater(s, first.length));
    Decoder dec{t, t.b, h, c, t.clipWidth, t.clipHeight, s->GetSize(), *in, ScratchBlock<unsigned long>()};
    if (h.interlace) dec.passPixels.Take(uint64_t(t.clipWidth) + 1);
    RowPair rows(PngRowBytes(h, h.width), PngFilterBytes(h));
    in->ReadZlibHeader();
    bool cut = false;
    const int passes = h.interlace ? 7 : 1;
    for (t.pass = 0; t.pass < passes; ++t.pass) {
        t.nextRow = 0;
        if (!dec.Pass(h.interlace ? PngAdam7[t.pass] : PngWholePicture, rows, cut)) return false;
    }
    if (!cut) in->Finish();
    return true;
}
