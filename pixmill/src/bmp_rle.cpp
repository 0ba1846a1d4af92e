// Run-length coded bitmap data (RLE8 and RLE4): rows bottom to top, pairs
// (count, value) and escapes (0, n): 0 end of line, 1 end of bitmap, 2 a move
// by the next two bytes, 3 and more n literal indices padded to whole words.
#include <string.h>

#include "bmp_codec.h"

namespace {

// Where the next decoded index goes. Positions run on from the end of a row
// to the start of the next, so runs and moves may cross rows.
class RleCursor {
public:
    explicit RleCursor(const BmpTarget& target) : t(target), row(target.StoredRow(0)) {}

    bool AtEnd() const { return y >= t.height; }
    int64_t Row() const { return y; }

    void Put(unsigned index)
    {
        if (row && x < t.clipWidth) row[x] = t.table[index];
        if (++x == t.width) {
            NextRow();
            rowFilled = true;
        }
    }

    // A row filled without an end-of-line code takes the next such code as
    // its own, as most writers end every row with one. Some code the row's
    // padding too, so what ran over into the next row before that code came
    // is dropped again; once another row is filled it counts as that row's.
    void EndOfLine()
    {
        if (!rowFilled) {
            NextRow();
            return;
        }
        rowFilled = false;
        if (row && x > 0) memset(row, 0, size_t(x < t.clipWidth ? x : t.clipWidth) * sizeof *row);
        x = 0;
    }

    // Skipped pixels keep the 0 they were cleared to.
    void Move(unsigned right, unsigned down)
    {
        rowFilled = false;
        int64_t to = int64_t(x) + right;
        x = int(to % t.width);
        y += down + to / t.width;
        row = t.StoredRow(y);  // null past the picture
    }

private:
    void NextRow()
    {
        x = 0;
        ++y;
        row = t.StoredRow(y);  // null past the picture
    }

    const BmpTarget& t;
    int x = 0;
    int64_t y = 0;             // stored row: 0 is the picture's bottom row
    bool rowFilled = false;    // a row was filled since the last end of line or move
    unsigned long* row;        // pixels of row y inside b, or null
};

// count indices of an encoded run: RLE4 alternates the value's nibbles, high first.
void PutRun(RleCursor& c, unsigned count, unsigned value, bool rle4)
{
    for (unsigned i = 0; i < count && !c.AtEnd(); ++i)
        c.Put(!rle4 ? value : (i & 1) ? value & 15 : value >> 4);
}

// An absolute run of n indices. Once the picture is complete nothing more
// is read, so its padding need not be.
void PutLiterals(StreamBuf& in, RleCursor& c, unsigned n, bool rle4)
{
    unsigned bytes = rle4 ? (n + 1) / 2 : n;
    unsigned packed = 0;
    for (unsigned i = 0; i < n; ++i) {
        if (c.AtEnd()) return;
        if (!rle4) {
            c.Put(in.Byte());
            continue;
        }
        if ((i & 1) == 0) packed = in.Byte();
        c.Put((i & 1) ? packed & 15 : packed >> 4);
    }
    if (bytes & 1) in.Skip(1);
}

// Literals gathered by the encoders: RLE8 writes three or more as an absolute
// run, fewer as runs of one.
size_t FlushLiterals8(const unsigned char* lit, int k, unsigned char* out)
{
    size_t o = 0;
    if (k < 3) {
        for (int i = 0; i < k; ++i) {
            out[o++] = 1;
            out[o++] = lit[i];
        }
        return o;
    }
    out[o++] = 0;
    out[o++] = static_cast<unsigned char>(k);
    for (int i = 0; i < k; ++i) out[o++] = lit[i];
    if (k & 1) out[o++] = 0;
    return o;
}

// RLE4 keeps absolute runs to even counts: some readers lose the last nibble
// of an odd one. A leftover pair or single goes as a short encoded run.
size_t FlushLiterals4(const unsigned char* lit, int k, unsigned char* out)
{
    size_t o = 0;
    int absolute = k >= 4 ? k & ~1 : 0;
    if (absolute) {
        out[o++] = 0;
        out[o++] = static_cast<unsigned char>(absolute);
        for (int i = 0; i < absolute; i += 2)
            out[o++] = static_cast<unsigned char>((lit[i] & 15) << 4 | (lit[i + 1] & 15));
        if ((absolute / 2) & 1) out[o++] = 0;
    }
    for (int i = absolute; i < k; i += 2) {
        bool pair = i + 1 < k;
        out[o++] = pair ? 2 : 1;
        out[o++] = static_cast<unsigned char>((lit[i] & 15) << 4 | (pair ? lit[i + 1] & 15 : 0));
    }
    return o;
}

// Length, up to 255, of the stretch from i that repeats one value (RLE8) or
// one pair of values (RLE4).
int RunLength(const unsigned char* row, int i, int n, bool rle4)
{
    int run = 1;
    while (i + run < n && run < 255 && row[i + run] == row[rle4 ? i + (run & 1) : i]) ++run;
    return run;
}

}  // namespace

bool BmpDecodeRle(StreamBuf& in, const BmpTarget& t, bool rle4)
{
    RleCursor c(t);
    int64_t reported = 0;
    while (!c.AtEnd()) {
        unsigned count = in.Byte();
        unsigned value = in.Byte();
        if (count) {
            PutRun(c, count, value, rle4);
        } else if (value == 0) {
            c.EndOfLine();
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            unsigned right = in.Byte();
            c.Move(right, in.Byte());
        } else {
            PutLiterals(in, c, value, rle4);
        }
        if (c.Row() != reported) {
            reported = c.Row();
            if (!t.Progress(in)) return false;
        }
    }
    return true;
}

size_t BmpRleRowRoom(int n)
{
    // Nothing codes to more than two bytes a pixel; then the end of line.
    return 2 * size_t(n > 0 ? n : 0) + 4;
}

size_t BmpEncodeRleRow(const unsigned char* row, int n, bool rle4, unsigned char* out)
{
    const int minRun = rle4 ? 4 : 2;
    const int maxLiterals = rle4 ? 254 : 255;
    size_t o = 0;
    int literals = 0;  // gathered, ending just before i
    int i = 0;
    while (i < n) {
        int run = RunLength(row, i, n, rle4);
        if (run < minRun) {
            ++literals;
            ++i;
            if (literals < maxLiterals) continue;
        }
        o += rle4 ? FlushLiterals4(row + i - literals, literals, out + o)
                  : FlushLiterals8(row + i - literals, literals, out + o);
        literals = 0;
        if (run < minRun) continue;
        out[o++] = static_cast<unsigned char>(run);
        out[o++] = static_cast<unsigned char>(rle4 ? (row[i] & 15) << 4 | (row[i + 1] & 15) : row[i]);
        i += run;
    }
    o += rle4 ? FlushLiterals4(row + i - literals, literals, out + o)
              : FlushLiterals8(row + i - literals, literals, out + o);
    out[o++] = 0;
    out[o++] = 0;
    return o;
}
