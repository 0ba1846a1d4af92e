// The custom filter's convolution of a large picture, 3x3 and 5x5, beside
// a straightforward loop that computes the same thing pixel by pixel and
// channel by channel, measured in the same run.

#include <math.h>
#include <stdio.h>

#include <random>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "convolve.h"

static int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// The plain form: clamped neighbours everywhere, channels unpacked at each tap.
static void ReferenceConvolve(Buffer& src, Buffer& out, const ConvolveKernel& k, int size)
{
    const int rad = size / 2, skip = (5 - size) / 2, w = src.Width(), h = src.Height();
    float c[25];
    for (int r = 0; r < size; r++)
        for (int col = 0; col < size; col++)
            c[r * size + col] = float(k.weights[(r + skip) * 5 + col + skip]) / float(k.div);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const bool inner = x >= rad && y >= rad && x < w - rad && y < h - rad;
            unsigned long pixel = *src.At(x, y) & 0xFF000000;
            for (int shift = 16; shift >= 0; shift -= 8) {
                float sum = 0.0f;
                for (int dy = -rad; dy <= rad; dy++)
                    for (int dx = -rad; dx <= rad; dx++) {
                        const unsigned long p = *src.At(Clamp(x + dx, 0, w - 1), Clamp(y + dy, 0, h - 1));
                        sum = sum + c[(dy + rad) * size + dx + rad] * float((p >> shift) & 0xFF);
                    }
                sum = sum + float(k.bias);
                const int v = inner ? int(lrintf(sum)) : int(sum);
                pixel |= (unsigned long)Clamp(v, 0, 255) << shift;
            }
            *out.At(x, y) = pixel;
        }
}

static bool Same(Buffer& a, Buffer& b)
{
    for (int y = a.top; y <= a.bottom; y++)
        for (int x = a.left; x <= a.right; x++)
            if (*a.At(x, y) != *b.At(x, y)) return false;
    return true;
}

static void Compare(const char* what, Buffer& src, const ConvolveKernel& k)
{
    Buffer ours, ref;
    ours.Alloc({src.Width(), src.Height()});
    ref.Alloc({src.Width(), src.Height()});
    Convolver probe(src, k);
    const int size = probe.Size();
    const double px = double(src.Width()) * src.Height();
    const double tOurs = BestTime([&] { Convolver(src, k).Run(ours, src.GetRect(), false); }, 3);
    const double tRef = BestTime([&] { ReferenceConvolve(src, ref, k, size); }, 3);
    if (!Same(ours, ref)) Mismatch(what);
    printf("%-6s %dx%d  ours %8.1f Mpx/s  reference %8.1f Mpx/s\n", what, size, size, px / tOurs / 1e6,
           px / tRef / 1e6);
    char operation[64];
    snprintf(operation, sizeof operation, "convolution %s %dx%d, 4096x4096", what, size, size);
    Ratio(operation, "plain convolution loop", tOurs, tRef);
}

int main()
{
    const int W = 4096, H = 4096;
    Buffer src;
    src.Alloc({W, H});
    std::mt19937 rng(45);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) *src.At(x, y) = rng() & 0xFFFFFF;
    printf("Custom filter convolution of a %dx%d picture\n", W, H);
    ConvolveKernel k5{{1, 2, 3, 2, 1, 2, 4, 6, 4, 2, 3, 6, 9, 6, 3, 2, 4, 6, 4, 2, 1, 2, 3, 2, 1}, 81, 0};
    ConvolveKernel k3{{0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, -1, 5, -1, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0}, 1, 0};
    Compare("blur", src, k5);
    Compare("sharp", src, k3);
    return 0;
}
