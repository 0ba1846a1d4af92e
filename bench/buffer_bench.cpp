// Throughput of the pixel loops every tool and file format runs through.
// Copy is set against memcpy and Box against a plain fill loop compiled
// with the same flags, over the same bytes in the same run, after checking
// that both leave the same pixels. The colour conversions have no baseline
// doing their work and print their rates only.

#include <stdio.h>
#include <string.h>

#include <functional>
#include <vector>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "colconv.h"

// Best of several rounds, in seconds per call.
static double Time(const std::function<void()>& work)
{
    return BestTime(work, 7, 10);
}

static void Report(const char* what, double seconds, double pixels, double bytes)
{
    printf("%-34s %8.1f Mpx/s %7.2f GB/s\n", what, pixels / seconds / 1e6, bytes / seconds / 1e9);
}

// The fill loop Box is measured against; noinline so that the compiler
// cannot see the value and turn the loop into something else.
__attribute__((noinline)) static void Fill(unsigned long* p, size_t n, unsigned long v)
{
    for (size_t i = 0; i < n; i++) p[i] = v;
}

static bool Same(Buffer& a, Buffer& b)
{
    for (int y = 0; y <= a.bottom; y++)
        if (memcmp(a.At(0, y), b.At(0, y), size_t(a.Width()) * 4)) return false;
    return true;
}

int main()
{
    const int W = 1024, H = 1024;
    const double px = double(W) * H, bytes = px * 4;
    Buffer a, b, c;
    a.Alloc({W, H});
    b.Alloc({W, H});
    c.Alloc({W, H});
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) *a.At(x, y) = (x * 7 + y * 13) & 0xFF ? 0x00102030u * (x & 7) : 0x00FF00FFu;
    b.Box(b.GetRect(), 0);

    std::vector<unsigned char> rgb24(size_t(px) * 3);
    printf("Buffer %dx%d, 32-bit pixels\n", W, H);

    b.Copy(a, {0, 0}, 0xFFFFFFFF);
    memcpy(c.pixels, a.pixels, size_t(bytes));
    if (!Same(b, c)) Mismatch("Copy without key differs from memcpy");
    const double tMemcpy = Time([&] { memcpy(c.pixels, a.pixels, size_t(bytes)); });
    const double tCopy = Time([&] { b.Copy(a, {0, 0}, 0xFFFFFFFF); });
    Report("memcpy", tMemcpy, px, bytes);
    Report("Copy, no key", tCopy, px, bytes);
    Ratio("Copy, no key, 1024x1024", "memcpy", tCopy, tMemcpy);
    Report("Copy, key 0x00FF00FF", Time([&] { b.Copy(a, {0, 0}, 0x00FF00FF); }), px, bytes);
    Report("Copy, overlapping, one pixel right", Time([&] { b.Copy(b, {1, 0}, 0xFFFFFFFF); }), px, bytes);

    b.Box(b.GetRect(), 0x00404040);
    Fill(c.pixels, size_t(px), 0x00404040);
    if (!Same(b, c)) Mismatch("Box fill differs from the fill loop");
    const double tFill = Time([&] { Fill(c.pixels, size_t(px), 0x00404040); });
    const double tBox = Time([&] { b.Box(b.GetRect(), 0x00404040); });
    Report("fill loop", tFill, px, bytes);
    Report("Box fill", tBox, px, bytes);
    Ratio("Box fill, 1024x1024", "plain fill loop", tBox, tFill);
    Report("Box XOR", Time([&] { b.Box(b.GetRect(), 0x80404040); }), px, bytes);

    unsigned char* bytes24 = rgb24.data();
    Report("Colconv::RGB32RGB24s", Time([&] { Colconv::RGB32RGB24s(a.pixels, bytes24, int(px)); }), px, bytes);
    Report("Colconv::RGB24RGB32s", Time([&] { Colconv::RGB24RGB32s(bytes24, b.pixels, int(px)); }), px, bytes);
    Report("Colconv::BGR24RGB32s", Time([&] { Colconv::BGR24RGB32s(bytes24, b.pixels, int(px)); }), px, bytes);
    Report("Colconv::RGB32RGB32s in place", Time([&] { Colconv::RGB32RGB32s(b.pixels, b.pixels, int(px)); }), px,
           bytes);
    Report("Colconv::XBGR32RGB32s", Time([&] { Colconv::XBGR32RGB32s(a.pixels, b.pixels, int(px)); }), px, bytes);
    return 0;
}
