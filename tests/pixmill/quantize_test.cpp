// Quantize: the single-colour search, the cell lists against a search of all
// entries, and the picture form with its outputs, exclusions and dither.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <random>
#include <vector>

#include "buffer.h"
#include "exceptions.h"
#include "heapstats.h"
#include "quantize.h"
#include "quantize_cells.h"

namespace {

const unsigned long None = 0xFFFFFFFF;

// Every entry compared, exact distance, the lowest index on ties.
int Brute(int r, int g, int b, const unsigned char* pal, int first, int n)
{
    int best = first;
    long bestDistance = 1L << 30;
    for (int i = first; i < n; i++) {
        const long d = long(r - pal[3 * i]) * (r - pal[3 * i]) + long(g - pal[3 * i + 1]) * (g - pal[3 * i + 1]) +
                       long(b - pal[3 * i + 2]) * (b - pal[3 * i + 2]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

unsigned long Colour(const unsigned char* pal, int i)
{
    return (unsigned long)pal[3 * i] << 16 | (unsigned long)pal[3 * i + 1] << 8 | pal[3 * i + 2];
}

// Palettes of several shapes: spread over the cube, packed into a corner of
// it, on the grey axis only, or with repeated entries.
std::vector<unsigned char> RandomPalette(std::mt19937& rng, int n, int shape)
{
    std::vector<unsigned char> pal(3 * n);
    const int span = shape == 1 ? 24 : 256;
    for (int i = 0; i < n; i++) {
        const int grey = int(rng() % 256);
        for (int c = 0; c < 3; c++) pal[3 * i + c] = (unsigned char)(shape == 2 ? grey : int(rng() % span));
        if (shape == 3 && i > 0 && rng() % 3 == 0) memcpy(&pal[3 * i], &pal[3 * (rng() % i)], 3);
    }
    return pal;
}

// Half of the colours on a cell's corners or edges, where a too short list
// shows first.
int RandomChannel(std::mt19937& rng)
{
    const int v = int(rng() % 256);
    switch (rng() % 4) {
    case 0: return v & 0xF0;
    case 1: return v | 0x0F;
    default: return v;
    }
}

struct Picture {
    Buffer b;
    Picture(int w, int h, unsigned long fill = 0)
    {
        b.Alloc({w, h});
        b.Box(b.GetRect(), fill);
    }
    unsigned long& operator()(int x, int y) { return *b.At(x, y); }
};

void FillRandom(Picture& p, std::mt19937& rng)
{
    for (int y = 0; y <= p.b.bottom; y++)
        for (int x = 0; x <= p.b.right; x++)
            p(x, y) = (unsigned long)RandomChannel(rng) << 16 | (unsigned long)RandomChannel(rng) << 8 |
                      (unsigned long)RandomChannel(rng);
}

// Error diffusion written out plainly over a search of all entries.
std::vector<unsigned char> PlainDither(Picture& p, const unsigned char* pal, int n, unsigned long t)
{
    const int w = p.b.Width(), h = p.b.Height(), first = t < 0x1000000 ? 1 : 0;
    std::vector<unsigned char> out(size_t(w) * h);
    std::vector<int> below(3 * w, 0);
    for (int y = 0; y < h; y++) {
        int right[3] = {0, 0, 0};
        for (int x = 0; x < w; x++) {
            const unsigned long c = p(x, y);
            const bool excluded = t < 0x1000000 ? (c & 0xFFFFFF) == t : t != None && (c & t) == 0;
            if (excluded) {
                out[size_t(y) * w + x] = 0;
                for (int k = 0; k < 3; k++) right[k] = below[3 * x + k] = 0;
                continue;
            }
            int v[3];
            for (int k = 0; k < 3; k++) {
                v[k] = int((c >> (16 - 8 * k)) & 0xFF) + right[k] + below[3 * x + k];
                v[k] = v[k] < 0 ? 0 : v[k] > 255 ? 255 : v[k];
            }
            const int e = Brute(v[0], v[1], v[2], pal, first, n);
            out[size_t(y) * w + x] = (unsigned char)e;
            for (int k = 0; k < 3; k++) {
                const int err = v[k] - pal[3 * e + k];
                below[3 * x + k] = err >= 0 ? err / 2 : -((-err + 1) / 2);  // halves round down
                right[k] = err - below[3 * x + k];
            }
        }
    }
    return out;
}

}  // namespace

TEST(QuantizeColour, NearestEntryAndTheLowerIndexOnTies)
{
    const unsigned char pal[] = {0, 0, 0, 200, 10, 10, 200, 10, 10, 255, 255, 255};
    EXPECT_EQ(1, Quantize(0x00FF0000, (unsigned char*)pal, 4));
    EXPECT_EQ(1, Quantize(0xFFC80A0A, (unsigned char*)pal, 4));  // flag bits play no part
    EXPECT_EQ(3, Quantize(0x00A0A0A0, (unsigned char*)pal, 4));
    EXPECT_EQ(0, Quantize(0x00808080, (unsigned char*)pal, 1));
    EXPECT_EQ(0, Quantize(0x00808080, (unsigned char*)pal, 0));
    const unsigned char pair[] = {10, 10, 10, 30, 30, 30};  // 0x141414 is as near to both
    EXPECT_EQ(0, Quantize(0x00141414, (unsigned char*)pair, 2));
}

TEST(CellLists, FindWhatASearchOfAllEntriesFinds)
{
    std::mt19937 rng(1234);
    // Each palette costs a list build and full searches: 30 keep the run
    // short under sanitizers and emulation.
    for (int round = 0; round < 30; round++) {
        const int n = round < 4 ? 256 : 1 + int(rng() % 256), shape = round % 4;
        std::vector<unsigned char> pal = RandomPalette(rng, n, shape);
        const int first = n > 1 && round % 5 == 0 ? 1 : 0;
        CellLists cells(pal.data(), first, n);
        for (int i = 0; i < 2000; i++) {
            const int r = RandomChannel(rng), g = RandomChannel(rng), b = RandomChannel(rng);
            ASSERT_EQ(Brute(r, g, b, pal.data(), first, n), cells.Nearest(r, g, b))
                << "round " << round << " colour " << r << "," << g << "," << b;
        }
    }
}

TEST(CellLists, ReachBeyondHalfTheCellDiagonal)
{
    // The centre (88, 88, 88) of its cell is an entry; the other entry is at
    // squared distance 243 from the centre, beyond half the cell's diagonal
    // (192), yet nearer to the cell's low corner.
    const unsigned char pal[] = {88, 88, 88, 79, 79, 79};
    CellLists cells(pal, 0, 2);
    EXPECT_EQ(1, cells.Nearest(80, 80, 80));
    EXPECT_EQ(0, cells.Nearest(95, 95, 95));
}

TEST(CellLists, AllEntriesSharedWhenTheStoreIsFull)
{
    // Four colours, each 64 times: every cell lists at least 64 entries.
    std::mt19937 rng(99);
    std::vector<unsigned char> pal = RandomPalette(rng, 256, 0);
    for (int i = 4; i < 256; i++) memcpy(&pal[3 * i], &pal[3 * (i % 4)], 3);
    CellLists cells(pal.data(), 0, 256);
    ASSERT_TRUE(cells.Shared());
    EXPECT_EQ(256, cells.Used());
    for (int i = 0; i < 3000; i++) {
        const int r = RandomChannel(rng), g = RandomChannel(rng), b = RandomChannel(rng);
        ASSERT_EQ(Brute(r, g, b, pal.data(), 0, 256), cells.Nearest(r, g, b));
    }
    Picture p(40, 30);
    FillRandom(p, rng);
    std::vector<unsigned char> out(40 * 30);
    Quantize(p.b, pal.data(), 256, None, false, out.data(), 40);
    for (int i = 0; i < 40 * 30; i++) ASSERT_GT(4, out[i]);

    // Entries packed into one corner of the cube still get lists of their own.
    std::vector<unsigned char> packed = RandomPalette(rng, 256, 1);
    CellLists own(packed.data(), 0, 256);
    EXPECT_FALSE(own.Shared());
    EXPECT_LE(own.Used(), CellLists::ListBytes);
    for (int i = 0; i < 3000; i++) {
        const int r = RandomChannel(rng) % 48, g = RandomChannel(rng), b = RandomChannel(rng) % 48;
        ASSERT_EQ(Brute(r, g, b, packed.data(), 0, 256), own.Nearest(r, g, b));
    }
}

TEST(QuantizePicture, IndicesMatchTheSingleColourSearch)
{
    std::mt19937 rng(5);
    std::vector<unsigned char> pal = RandomPalette(rng, 77, 0);
    Picture p(61, 17);
    FillRandom(p, rng);
    const int rowBytes = 64;
    std::vector<unsigned char> out(rowBytes * 17, 0xAB);
    Quantize(p.b, pal.data(), 77, None, false, out.data(), rowBytes);
    for (int y = 0; y < 17; y++) {
        for (int x = 0; x < 61; x++) ASSERT_EQ(Quantize(p(x, y), pal.data(), 77), out[y * rowBytes + x]);
        for (int x = 61; x < rowBytes; x++) ASSERT_EQ(0xAB, out[y * rowBytes + x]);  // padding untouched
    }

    // Rows may run upwards in memory.
    std::vector<unsigned char> up(61 * 17);
    Quantize(p.b, pal.data(), 77, None, false, up.data() + 16 * 61, -61);
    for (int y = 0; y < 17; y++) ASSERT_EQ(0, memcmp(&up[(16 - y) * 61], &out[y * rowBytes], 61));
}

TEST(QuantizePicture, TransparentColourAloneGetsIndexZero)
{
    const unsigned long t = 0x0A0A0A;
    const unsigned char pal[] = {10, 10, 10, 0, 0, 0, 255, 255, 255, 12, 10, 10};
    Picture p(16, 8, 0x00FFFFFF);
    for (int x = 0; x < 16; x++) {
        p(x, 2) = 0x0A0A0A | (unsigned long)x << 24;  // any flags
        p(x, 5) = 0x0A0A0B;                             // next to entry 0, but not it
    }
    for (bool dither : {false, true}) {
        std::vector<unsigned char> out(16 * 8, 0xEE);
        Quantize(p.b, (unsigned char*)pal, 4, t, dither, out.data(), 16);
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 16; x++) EXPECT_EQ(y == 2, out[y * 16 + x] == 0) << x << "," << y << " " << dither;
    }
}

TEST(QuantizePicture, FlagMaskExcludesUnflaggedPixels)
{
    const unsigned char pal[] = {0, 0, 0, 255, 255, 255};
    Picture p(4, 1);
    p(0, 0) = 0x00FFFFFF;  // unflagged: index 0 though white
    p(1, 0) = 0x08FFFFFF;
    p(2, 0) = 0x08000000;  // flagged black: entry 0 is searched too
    p(3, 0) = 0x01FFFFFF;
    unsigned char out[4];
    Quantize(p.b, (unsigned char*)pal, 2, 0x08000000, false, out, 4);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(1, out[1]);
    EXPECT_EQ(0, out[2]);
    EXPECT_EQ(0, out[3]);
}

TEST(QuantizePicture, WithoutOutReplacesColoursAndKeepsFlags)
{
    const unsigned char pal[] = {1, 2, 3, 250, 251, 252};
    Picture p(8, 8, 0x77EEEEEE);
    Buffer view(p.b, Rect{2, 2, 5, 4}, false);
    view.Box(view.GetRect(), 0x42E0E0E0);
    *view.At(1, 1) = 0x43040404;  // the transparent colour: unchanged
    Quantize(view, (unsigned char*)pal, 2, 0x040404, false, nullptr, 0);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            unsigned long want = 0x77EEEEEE;
            if (x >= 2 && x <= 5 && y >= 2 && y <= 4) want = 0x42FAFBFC;
            if (x == 3 && y == 3) want = 0x43040404;
            EXPECT_EQ(want, p(x, y)) << x << "," << y;
        }
}

TEST(QuantizePicture, NoEntryToSearchGivesIndexZero)
{
    const unsigned char pal[] = {9, 8, 7};
    Picture p(3, 2, 0x00FF00FF);
    p(1, 1) = 0x00090807;
    unsigned char out[6];
    memset(out, 0xEE, 6);
    Quantize(p.b, (unsigned char*)pal, 0, None, true, out, 3);
    EXPECT_EQ(std::vector<unsigned char>(6, 0), std::vector<unsigned char>(out, out + 6));

    Quantize(p.b, (unsigned char*)pal, 0, None, false, nullptr, 0);  // nothing to map to
    EXPECT_EQ(0x00FF00FFu, p(0, 0));
    Quantize(p.b, (unsigned char*)pal, 1, 0x090807, true, nullptr, 0);  // only the reserved entry
    EXPECT_EQ(0x00090807u, p(0, 0));

    Buffer empty;
    Quantize(empty, (unsigned char*)pal, 1, None, true, out, 3);
}

TEST(QuantizePicture, NullPaletteIsRefused)
{
    Picture p(3, 2, 0x00123456);
    unsigned char out[6];
    for (bool dither : {false, true}) {
        EXPECT_THROW(Quantize(p.b, nullptr, 4, None, dither, out, 3), EInvalidImage);
        EXPECT_THROW(Quantize(p.b, nullptr, 1, 0x123456, dither, nullptr, 0), EInvalidImage);
    }
    EXPECT_THROW(Quantize(0x00123456, nullptr, 4), EInvalidImage);
    EXPECT_EQ(0x00123456u, p(2, 1));
}

TEST(QuantizeDither, HalvesTheErrorDownAndPassesTheRestRight)
{
    const unsigned char pal[] = {0, 0, 0, 255, 255, 255};
    Picture p(4, 2, 0x00808080);
    unsigned char out[8];
    Quantize(p.b, (unsigned char*)pal, 2, None, true, out, 4);
    // 128 -> white, error -127: -64 down (rounded down), -63 right; 65 ->
    // black, 33 right; 161 -> white, -47 right; 81 -> black. The second row
    // adds what the first passed down: 64 -> black; 128+32+32 -> white ...
    EXPECT_EQ(1, out[0]);
    EXPECT_EQ(0, out[1]);
    EXPECT_EQ(1, out[2]);
    EXPECT_EQ(0, out[3]);
    EXPECT_EQ(0, out[4]);
    EXPECT_EQ(1, out[5]);
}

TEST(QuantizeDither, MatchesPlainErrorDiffusion)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 12; round++) {
        const int n = 2 + int(rng() % 255);
        std::vector<unsigned char> pal = RandomPalette(rng, n, round % 4);
        Picture p(53, 29);
        FillRandom(p, rng);
        unsigned long t = None;
        if (round % 3 == 1) {
            t = Colour(pal.data(), 0);
            for (int i = 0; i < 200; i++) p(int(rng() % 53), int(rng() % 29)) = t;
        } else if (round % 3 == 2) {
            t = 0x10000000;
            for (int i = 0; i < 800; i++) p(int(rng() % 53), int(rng() % 29)) |= t;
        }
        std::vector<unsigned char> out(53 * 29);
        Quantize(p.b, pal.data(), n, t, true, out.data(), 53);
        ASSERT_EQ(PlainDither(p, pal.data(), n, t), out) << round;
    }
}

TEST(QuantizeDither, GreyRampKeepsItsMeanPerBand)
{
    const unsigned char pal[] = {0, 0, 0, 255, 255, 255};
    Picture p(256, 64);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 256; x++) p(x, y) = 0x010101u * (unsigned long)x;
    Quantize(p.b, (unsigned char*)pal, 2, None, true, nullptr, 0);
    // Two-way diffusion leaves worm-like patterns and clamping drops some
    // error, so only wider bands keep their mean closely; a plain threshold
    // would be up to 112 levels off here.
    for (int bx = 0; bx < 256; bx += 32) {
        double sum = 0;
        for (int y = 0; y < 64; y++)
            for (int x = bx; x < bx + 32; x++) sum += double(p(x, y) & 0xFF);
        EXPECT_NEAR(bx + 15.5, sum / (32 * 64), 8.0) << bx;
    }
}

TEST(QuantizePicture, ErrorRowBeyondTheAddressSpaceRaisesOutOfMemory)
{
    const unsigned char pal[] = {0, 0, 0, 255, 255, 255};
    unsigned long pixel = 0;
    Buffer wide;
    wide.Alloc({0x40000000, 1}, &pixel, 0);  // never read: the error row cannot be made
    const int live = PixmillLiveBlocks();
    EXPECT_THROW(Quantize(wide, (unsigned char*)pal, 2, None, true, nullptr, 0), EOutOfMemory);
    EXPECT_EQ(live, PixmillLiveBlocks());
}
