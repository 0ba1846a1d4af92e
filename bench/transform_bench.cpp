// Throughput of the picture transforms as the rotate and stretch tools run
// them on a 3000 x 2000 picture: a 30 degree turn into its bounding box
// against a plain nearest-neighbour affine loop written here (same box,
// same mapping, checked to agree), and stretches to 50 % and 200 % against
// stb_image_resize (its box filter beside the plain stretch, its triangle
// filter beside the smoothed one). Rates count destination pixels.

#include <math.h>
#include <stdio.h>

#include <functional>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "rotate_geometry.h"
#include "stretch_geometry.h"

#include "stb_resize.h"

static const unsigned long Bg = 0x00FFFFFF;

static double Time(const std::function<void()>& work) { return BestTime(work, 3, 1); }

static void Report(const char* what, double seconds, double pixels)
{
    printf("%-40s %8.1f Mpx/s\n", what, pixels / seconds / 1e6);
}

// Each destination pixel's centre taken back through the inverse turn and
// sampled nearest; outside the source it is the background.
static void NearestTurn(Buffer& src, Buffer& out, double degrees)
{
    const int w = src.Width(), h = src.Height();
    const double a = degrees * 3.14159265358979323846 / 180, c = cos(a), s = sin(a);
    const int bw = int(fabs(c) * w + fabs(s) * h), bh = int(fabs(s) * w + fabs(c) * h);
    out.Alloc({bw, bh});
    const double tx = floor(bw / 2.0 - (c * w / 2.0 + s * h / 2.0) + 0.5);
    const double ty = floor(bh / 2.0 - (-s * w / 2.0 + c * h / 2.0) + 0.5);
    for (int y = 0; y < bh; y++) {
        unsigned long* row = out.At(0, y);
        const double py = y + 0.5 - ty;
        for (int x = 0; x < bw; x++) {
            const double px = x + 0.5 - tx;
            const double sx = c * px - s * py, sy = s * px + c * py;
            row[x] = sx >= 0 && sx < w && sy >= 0 && sy < h ? *src.At(int(sx), int(sy)) : Bg;
        }
    }
}

#ifdef HAVE_STB_RESIZE
static void StbResize(Buffer& src, Buffer& out, int w, int h, stbir_filter filter)
{
    out.Alloc({w, h});
    stbir_resize_uint8_generic(reinterpret_cast<unsigned char*>(src.pixels), src.Width(), src.Height(), src.stride * 4,
                               reinterpret_cast<unsigned char*>(out.pixels), w, h, out.stride * 4, 4,
                               STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, filter, STBIR_COLORSPACE_LINEAR, nullptr);
}
#endif

// Destination pixels that differ between two results of the same size.
static double DifferingShare(Buffer& a, Buffer& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return 1;
    long long differ = 0;
    for (int y = 0; y < a.Height(); y++)
        for (int x = 0; x < a.Width(); x++) differ += (*a.At(x, y) & 0xFFFFFF) != (*b.At(x, y) & 0xFFFFFF);
    return double(differ) / (double(a.Width()) * a.Height());
}

int main()
{
    const int W = 3000, H = 2000;
    Buffer src;
    src.Alloc({W, H});
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            const int cx = x % 300 - 150, cy = y % 300 - 150, d = (cx * cx + cy * cy) / 90;
            const unsigned v = unsigned(d < 255 ? d : 255);
            *src.At(x, y) = (unsigned(x * 255 / W) << 16 | v << 8 | unsigned(y * 255 / H)) ^ unsigned((x ^ y) & 3);
        }
    printf("Source %dx%d, 32-bit pixels; rates in destination pixels\n", W, H);
#ifndef HAVE_STB_RESIZE
    printf("(stb_image_resize.h not on the include path: no stretch comparison)\n");
#endif

    Buffer ours, theirs;
    TurnPicture(src, ours, 30, false, Bg, false);
    NearestTurn(src, theirs, 30);
    const double share = DifferingShare(ours, theirs);
    printf("  turn against the loop: %.4f %% of pixels differ\n", share * 100);
    if (share > 0.001) Mismatch("the turned picture is not the loop's nearest-neighbour turn");
    const double px = double(ours.Width()) * ours.Height();
    const double turn = Time([&] { TurnPicture(src, ours, 30, false, Bg, false); });
    const double loop = Time([&] { NearestTurn(src, theirs, 30); });
    Report("Turn 30 degrees plain", turn, px);
    Report("  nearest-neighbour affine loop", loop, px);
    Ratio("Turn 30 degrees plain", "nearest-neighbour affine loop", turn, loop);
    Report("Turn 30 degrees smooth", Time([&] { TurnPicture(src, ours, 30, false, Bg, true); }), px);

    const struct {
        const char* name;
        int w, h;
    } sizes[] = {{"50 %", W / 2, H / 2}, {"200 %", 2 * W, 2 * H}};
    for (const auto& s : sizes) {
        const double spx = double(s.w) * s.h;
        char name[64];
        for (bool smooth : {false, true}) {
            snprintf(name, sizeof name, "Stretch %s %s", s.name, smooth ? "smooth" : "plain");
            const double t = Time([&] { StretchPicture(src, ours, s.w, s.h, smooth); });
            Report(name, t, spx);
#ifdef HAVE_STB_RESIZE
            const stbir_filter filter = smooth ? STBIR_FILTER_TRIANGLE : STBIR_FILTER_BOX;
            const double stb = Time([&] { StbResize(src, theirs, s.w, s.h, filter); });
            Report(smooth ? "  stb_image_resize, triangle" : "  stb_image_resize, box", stb, spx);
            Ratio(name, smooth ? "stb_image_resize, triangle" : "stb_image_resize, box", t, stb);
#endif
        }
    }
    return 0;
}
