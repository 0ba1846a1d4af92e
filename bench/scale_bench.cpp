// Throughput of Scale (halving and doubling, plain and smoothed) and of a 30
// degree XFormLin rotation of a 4000 x 3000 picture. Plain scaling is set
// against a nearest-neighbour loop written here (same sample positions, same
// pixels), smooth scaling against stb_image_resize's triangle filter, the
// closest of its filters (pixels checked to be near, since the filters
// differ).

#include <math.h>
#include <stdio.h>

#include <functional>
#include <vector>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"

#include "stb_resize.h"

// Best of several rounds, in seconds per call.
static double Time(const std::function<void()>& work)
{
    return BestTime(work, 3, 1);
}

static void Report(const char* what, double seconds, double pixels)
{
    printf("%-36s %8.1f Mpx/s\n", what, pixels / seconds / 1e6);
}

// Source index of each of parts destination positions: each sampled at its
// middle, as Scale samples.
static std::vector<int> Nearest(int length, int parts)
{
    std::vector<int> at(size_t(parts), 0);
    for (int j = 0; j < parts; j++) at[size_t(j)] = int((2 * int64_t(j) + 1) * length / (2 * int64_t(parts)));
    return at;
}

// The plain nearest-neighbour loop, compiled with the library's flags.
static void NearestScale(Buffer& src, Buffer& dst, int w, int h)
{
    const std::vector<int> cols = Nearest(src.Width(), w), rows = Nearest(src.Height(), h);
    for (int y = 0; y < h; y++) {
        const unsigned long* in = src.At(0, rows[size_t(y)]);
        unsigned long* out = dst.At(0, y);
        for (int x = 0; x < w; x++) out[x] = in[cols[size_t(x)]];
    }
}

static double StbResize(Buffer& src, Buffer& dst, int w, int h)
{
#ifdef HAVE_STB_RESIZE
    return Time([&] {
        unsigned char* out = reinterpret_cast<unsigned char*>(dst.pixels);
        stbir_resize_uint8_generic(reinterpret_cast<unsigned char*>(src.pixels), src.Width(), src.Height(),
                                   src.stride * 4, out, w, h, dst.stride * 4, 4, STBIR_ALPHA_CHANNEL_NONE, 0,
                                   STBIR_EDGE_CLAMP, STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr);
    });
#else
    (void)src, (void)dst, (void)w, (void)h;
    return 0;
#endif
}

// PSNR of the w x h corner of a against b's.
static double Psnr(Buffer& a, Buffer& b, int w, int h)
{
    double squares = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            for (int shift = 0; shift < 24; shift += 8) {
                const double d = double(*a.At(x, y) >> shift & 255) - double(*b.At(x, y) >> shift & 255);
                squares += d * d;
            }
    return squares == 0 ? 99.0 : 10 * log10(255.0 * 255.0 * 3.0 * w * h / squares);
}

int main()
{
    const int W = 4000, H = 3000;
    Buffer src, dst;
    src.Alloc({W, H});
    dst.Alloc({2 * W, 2 * H});
    // Shading with soft-edged discs: a picture both filters should agree on
    // away from its edges, with detail at every scale.
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            const int cx = x % 400 - 200, cy = y % 400 - 200, d = (cx * cx + cy * cy) / 160;
            const unsigned v = unsigned(d < 255 ? d : 255);
            *src.At(x, y) = (unsigned(x * 255 / W) << 16 | v << 8 | unsigned(y * 255 / H)) ^ unsigned((x ^ y) & 3);
        }
    Buffer check;
    check.Alloc({2 * W, 2 * H});
    dst.Box(dst.GetRect(), 0);
    printf("Source %dx%d, 32-bit pixels; rates in destination pixels\n", W, H);
#ifndef HAVE_STB_RESIZE
    printf("(stb_image_resize.h not on the include path: no comparison)\n");
#endif

    const struct {
        const char* name;
        int w, h;
    } sizes[] = {{"x0.5", W / 2, H / 2}, {"x2", 2 * W, 2 * H}};
    for (const auto& s : sizes) {
        double px = double(s.w) * s.h;
        char name[64];

        dst.Scale(src, {s.w, s.h}, {0, 0}, 0xFFFFFFFF, 0);
        NearestScale(src, check, s.w, s.h);
        if (Psnr(dst, check, s.w, s.h) < 99.0) Mismatch("plain Scale differs from nearest-neighbour sampling");
        const double plain = Time([&] { dst.Scale(src, {s.w, s.h}, {0, 0}, 0xFFFFFFFF, 0); });
        const double loop = Time([&] { NearestScale(src, check, s.w, s.h); });
        snprintf(name, sizeof name, "Scale %s plain", s.name);
        Report(name, plain, px);
        Ratio(name, "nearest-neighbour loop", plain, loop);

        snprintf(name, sizeof name, "Scale %s smooth", s.name);
        const double smooth = Time([&] { dst.Scale(src, {s.w, s.h}, {0, 0}, 0xFFFFFFFF, 1); });
        Report(name, smooth, px);
#ifdef HAVE_STB_RESIZE
        const double stb = StbResize(src, check, s.w, s.h);
        const double psnr = Psnr(dst, check, s.w, s.h);
        printf("  smooth against the triangle filter: PSNR %.1f dB\n", psnr);
        if (psnr < 30.0) Mismatch("smooth Scale is far from stb_image_resize's triangle filter");
        Ratio(name, "stb_image_resize, triangle", smooth, stb);
#endif
        snprintf(name, sizeof name, "Scale %s plain, keyed", s.name);
        Report(name, Time([&] { dst.Scale(src, {s.w, s.h}, {0, 0}, 0x00808080, 0); }), px);
    }

    // The rotated picture covers as many pixels as it has; its bounding box
    // fits the 8000 x 6000 destination.
    const double a = 30 * 3.14159265358979323846 / 180;
    Matrix2D m = {cos(a), sin(a), -sin(a), cos(a)};
    Pair<int> t = {int(H * sin(a)) + 1, 0};
    double px = double(W) * H;
    Report("XFormLin 30 degrees plain", Time([&] { dst.XFormLin(src, m, t, 0xFFFFFFFF, 0); }), px);
    Report("XFormLin 30 degrees smooth", Time([&] { dst.XFormLin(src, m, t, 0xFFFFFFFF, 1); }), px);
    Matrix2D quarter = {0, 1, -1, 0};
    Report("XFormLin 90 degrees plain", Time([&] { dst.XFormLin(src, quarter, {H, 0}, 0xFFFFFFFF, 0); }), px);
    Matrix2D big = {1.7, 0.3, -0.2, 1.6};
    Report("XFormLin stretch and shear, smooth", Time([&] { dst.XFormLin(src, big, {700, 0}, 0xFFFFFFFF, 1); }),
           px * (1.7 * 1.6 + 0.3 * 0.2));
    return 0;
}
