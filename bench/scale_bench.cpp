// Throughput of Scale (halving and doubling, plain and smoothed) and of a 30
// degree XFormLin rotation of a 4000 x 3000 picture, beside stb_image_resize
// doing the same resizes in the same run when its header can be found.

#include <math.h>
#include <stdio.h>

#include <functional>

#include "bench_timer.h"
#include "buffer.h"

#if __has_include("stb_image_resize.h")
#define HAVE_STB_RESIZE 1
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include "stb_image_resize.h"
#pragma GCC diagnostic pop
#endif

// Best of several rounds, in seconds per call.
static double Time(const std::function<void()>& work)
{
    return BestTime(work, 3, 1);
}

static void Report(const char* what, double seconds, double pixels, double reference)
{
    printf("%-36s %8.1f Mpx/s", what, pixels / seconds / 1e6);
    if (reference > 0) printf("   stb_image_resize takes %.2fx our time", reference / seconds);
    printf("\n");
}

static double StbResize(Buffer& src, Buffer& dst, int w, int h)
{
#ifdef HAVE_STB_RESIZE
    return Time([&] {
        stbir_resize_uint8(reinterpret_cast<unsigned char*>(src.pixels), src.Width(), src.Height(), src.stride * 4,
                           reinterpret_cast<unsigned char*>(dst.pixels), w, h, dst.stride * 4, 4);
    });
#else
    (void)src, (void)dst, (void)w, (void)h;
    return 0;
#endif
}

int main()
{
    const int W = 4000, H = 3000;
    Buffer src, dst;
    src.Alloc({W, H});
    dst.Alloc({2 * W, 2 * H});
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) *src.At(x, y) = unsigned((x * 7) ^ (y * 13)) * 0x00010101u & 0x00FFFFFF;
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
        double stb = StbResize(src, dst, s.w, s.h);
        char name[64];
        snprintf(name, sizeof name, "Scale %s plain", s.name);
        Report(name, Time([&] { dst.Scale(src, {s.w, s.h}, {0, 0}, 0xFFFFFFFF, 0); }), px, stb);
        snprintf(name, sizeof name, "Scale %s smooth", s.name);
        Report(name, Time([&] { dst.Scale(src, {s.w, s.h}, {0, 0}, 0xFFFFFFFF, 1); }), px, stb);
        snprintf(name, sizeof name, "Scale %s plain, keyed", s.name);
        Report(name, Time([&] { dst.Scale(src, {s.w, s.h}, {0, 0}, 0x00808080, 0); }), px, 0);
    }

    // The rotated picture covers as many pixels as it has; its bounding box
    // fits the 8000 x 6000 destination.
    const double a = 30 * 3.14159265358979323846 / 180;
    Matrix2D m = {cos(a), sin(a), -sin(a), cos(a)};
    Pair<int> t = {int(H * sin(a)) + 1, 0};
    double px = double(W) * H;
    Report("XFormLin 30 degrees plain", Time([&] { dst.XFormLin(src, m, t, 0xFFFFFFFF, 0); }), px, 0);
    Report("XFormLin 30 degrees smooth", Time([&] { dst.XFormLin(src, m, t, 0xFFFFFFFF, 1); }), px, 0);
    Matrix2D quarter = {0, 1, -1, 0};
    Report("XFormLin 90 degrees plain", Time([&] { dst.XFormLin(src, quarter, {H, 0}, 0xFFFFFFFF, 0); }), px, 0);
    Matrix2D big = {1.7, 0.3, -0.2, 1.6};
    Report("XFormLin stretch and shear, smooth", Time([&] { dst.XFormLin(src, big, {700, 0}, 0xFFFFFFFF, 1); }),
           px * (1.7 * 1.6 + 0.3 * 0.2), 0);
    return 0;
}
