// Throughput of the pixel loops every tool and file format runs through,
// beside memcpy and memset over the same bytes in the same run.

#include <stdio.h>
#include <string.h>

#include <functional>
#include <vector>

#include "bench_timer.h"
#include "buffer.h"
#include "colconv.h"

// Best of several rounds, in seconds per call.
static double Time(const std::function<void()>& work)
{
    return BestTime(work, 7, 10);
}

static void Report(const char* what, double seconds, double pixels, double bytes, double reference)
{
    printf("%-34s %8.1f Mpx/s %7.2f GB/s", what, pixels / seconds / 1e6, bytes / seconds / 1e9);
    if (reference > 0) printf("   %.2fx the reference's time", seconds / reference);
    printf("\n");
}

int main()
{
    const int W = 1024, H = 1024;
    const double px = double(W) * H, bytes = px * 4;
    Buffer a, b;
    a.Alloc({W, H});
    b.Alloc({W, H});
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) *a.At(x, y) = (x * 7 + y * 13) & 0xFF ? 0x00102030u * (x & 7) : 0x00FF00FFu;
    b.Box(b.GetRect(), 0);

    std::vector<unsigned char> rgb24(size_t(px) * 3);
    printf("Buffer %dx%d, 32-bit pixels\n", W, H);

    double tMemcpy = Time([&] { memcpy(b.pixels, a.pixels, size_t(bytes)); });
    Report("memcpy", tMemcpy, px, bytes, 0);
    Report("Copy, no key", Time([&] { b.Copy(a, {0, 0}, 0xFFFFFFFF); }), px, bytes, tMemcpy);
    Report("Copy, key 0x00FF00FF", Time([&] { b.Copy(a, {0, 0}, 0x00FF00FF); }), px, bytes, tMemcpy);
    Report("Copy, overlapping, one pixel right", Time([&] { b.Copy(b, {1, 0}, 0xFFFFFFFF); }), px, bytes, tMemcpy);

    double tMemset = Time([&] { memset(b.pixels, 0x40, size_t(bytes)); });
    Report("memset", tMemset, px, bytes, 0);
    Report("Box fill", Time([&] { b.Box(b.GetRect(), 0x00404040); }), px, bytes, tMemset);
    Report("Box XOR", Time([&] { b.Box(b.GetRect(), 0x80404040); }), px, bytes, tMemset);

    unsigned char* bytes24 = rgb24.data();
    double tMemcpy24 = Time([&] { memcpy(bytes24, a.pixels, rgb24.size()); });
    Report("memcpy of the 24-bit size", tMemcpy24, px, double(rgb24.size()), 0);
    Report("Colconv::RGB32RGB24s", Time([&] { Colconv::RGB32RGB24s(a.pixels, bytes24, int(px)); }), px, bytes,
           tMemcpy24);
    Report("Colconv::RGB24RGB32s", Time([&] { Colconv::RGB24RGB32s(bytes24, b.pixels, int(px)); }), px, bytes,
           tMemcpy);
    Report("Colconv::BGR24RGB32s", Time([&] { Colconv::BGR24RGB32s(bytes24, b.pixels, int(px)); }), px, bytes,
           tMemcpy);
    Report("Colconv::RGB32RGB32s in place", Time([&] { Colconv::RGB32RGB32s(b.pixels, b.pixels, int(px)); }), px,
           bytes, tMemcpy);
    Report("Colconv::XBGR32RGB32s", Time([&] { Colconv::XBGR32RGB32s(a.pixels, b.pixels, int(px)); }), px, bytes,
           tMemcpy);
    return 0;
}
