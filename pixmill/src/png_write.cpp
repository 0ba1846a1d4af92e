// The PNG writer's image data: rows built from the picture, filtered and
// compressed into a single IDAT chunk whose length is filled in at the end.
#include <string.h>

#include "colconv.h"
#include "colconv_rows.h"
#include "crc32.h"
#include "deflate.h"
#include "gfxfile.h"
#include "png_codec.h"
#include "scratch_block.h"

namespace {

const int TrueColourBytes = 3;

// The scratch rows of one save: raw rows behind TrueColourBytes zero bytes,
// so that the Sub filter can look one pixel back, and the filter's output
// behind its filter byte.
struct WriteRows {
    ScratchBlock<unsigned char> block;
    unsigned char* raw;
    unsigned char* previous;
    unsigned char* trial;     // filter byte, then the row
    unsigned char* best;
    ScratchBlock<unsigned long> gathered;  // pixels or indices of one pass row

    explicit WriteRows(size_t rowBytes, int width)
        : block(4 * (uint64_t(rowBytes) + TrueColourBytes + 1)), gathered(uint64_t(width) + 1)
    {
        const size_t stride = rowBytes + TrueColourBytes + 1;
        memset(block.Get(), 0, 4 * stride);
        raw = block.Get() + TrueColourBytes;
        previous = raw + stride;
        trial = previous + stride;
        best = trial + stride;
    }
    void ClearPrevious(size_t rowBytes) { memset(previous - TrueColourBytes, 0, rowBytes + TrueColourBytes); }
    void Swap()
    {
        unsigned char* t = raw;
        raw = previous;
        previous = t;
    }
};

// The pass's pixels of picture row y as raw row bytes.
void BuildRow(Buffer& b, int bits, const PngPass& p, int y, int columns, WriteRows& rows)
{
    unsigned long* pixels = b.At(b.left, b.top + y);
    if (bits == 24) {
        unsigned long* src = pixels;
        if (p.colStep != 1) {
            for (int i = 0; i < columns; ++i) rows.gathered.Get()[i] = pixels[p.firstCol + i * p.colStep];
            src = rows.gathered.Get();
        }
        Colconv::RGB32BGR24s(src, rows.raw, columns);
        return;
    }
    unsigned char* indices = reinterpret_cast<unsigned char*>(pixels);
    unsigned char* values = reinterpret_cast<unsigned char*>(rows.gathered.Get());
    for (int i = 0; i < columns; ++i) values[i] = indices[p.firstCol + i * p.colStep];
    switch (bits) {
    case 1: Colconv::BytesToPlane(values, rows.raw, columns, 1); break;
    case 2: Colconv::Pack2(values, rows.raw, columns); break;
    case 4: Colconv::Pack4(values, rows.raw, columns); break;
    default: memcpy(rows.raw, values, size_t(columns)); break;
    }
}

// Palette rows go unfiltered; colour rows take whichever of None, Sub and Up
// gives the bytes of least spread, then the most zeros, then the lower number.
const unsigned char* FilterRow(int bits, size_t rowBytes, WriteRows& rows)
{
    rows.best[0] = 0;
    memcpy(rows.best + 1, rows.raw, rowBytes);
    if (bits != 24) return rows.best;
    size_t bestZeros = 0;
    int bestScore = PngFilterScore(rows.best + 1, rowBytes, bestZeros);
    for (int filter = 1; filter <= 2; ++filter) {
        PngFilter(filter, rows.raw, rows.previous, rows.trial + 1, rowBytes, TrueColourBytes);
        size_t zeros = 0;
        const int score = PngFilterScore(rows.trial + 1, rowBytes, zeros);
        if (score < bestScore || (score == bestScore && zeros > bestZeros)) {
            bestScore = score;
            bestZeros = zeros;
            rows.trial[0] = static_cast<unsigned char>(filter);
            unsigned char* t = rows.trial;
            rows.trial = rows.best;
            rows.best = t;
        }
    }
    return rows.best;
}

bool WritePass(Buffer& b, int bits, const PngPass& p, Deflater& z, WriteRows& rows, bool interlaced)
{
    const int width = b.Width();
    const int height = b.Height();
    const int columns = int(PngPassCount(width, p.firstCol, p.colStep));
    const int64_t count = PngPassCount(height, p.firstRow, p.rowStep);
    if (columns == 0 || count == 0) return true;
    const size_t rowBytes = size_t((int64_t(bits) * columns + 7) >> 3);
    rows.ClearPrevious(rowBytes);
    for (int64_t j = 0; j < count; ++j) {
        const int y = int(p.firstRow + j * p.rowStep);
        BuildRow(b, bits, p, y, columns, rows);
        z.Put(FilterRow(bits, rowBytes, rows), rowBytes + 1);
        rows.Swap();
        if (!interlaced && !GFXFile::Step(GFXFile::Percent(y + 1, height))) return false;
    }
    return true;
}

}  // namespace

void PngWriteChunk(TStream* s, const char* type, const unsigned char* data, uint32_t length)
{
    unsigned char head[8];
    PutBE32(head, length);
    memcpy(head + 4, type, 4);
    s->WriteBuffer(head, 8);
    if (length) s->WriteBuffer(data, int(length));
    unsigned char crc[4];
    PutBE32(crc, Crc32(Crc32(0, type, 4), data, length));
    s->WriteBuffer(crc, 4);
}

bool PngWriteImage(Buffer& b, TStream* s, int bits, bool interlaced)
{
    const int start = s->GetPosition();
    static const unsigned char head[8] = {0, 0, 0, 0, 'I', 'D', 'A', 'T'};
    s->WriteBuffer(head, 8);
    Deflater z(s);
    WriteRows rows(size_t((int64_t(bits) * b.Width() + 7) >> 3), b.Width());
    if (!interlaced) {
        if (!WritePass(b, bits, PngWholePicture, z, rows, false)) return false;
    } else {
        for (int pass = 0; pass < 7; ++pass) {
            if (!WritePass(b, bits, PngAdam7[pass], z, rows, true)) return false;
            if (!GFXFile::Step((pass + 1) * 14)) return false;
        }
    }
    unsigned char crc[4];
    PutBE32(crc, z.Finish());
    s->WriteBuffer(crc, 4);
    const int end = s->GetPosition();
    PngWriteChunk(s, "IEND", nullptr, 0);
    const int after = s->GetPosition();
    unsigned char length[4];
    PutBE32(length, uint32_t(end - start - 12));
    s->SetPosition(start);
    s->WriteBuffer(length, 4);
    s->SetPosition(after);
    return true;
}
