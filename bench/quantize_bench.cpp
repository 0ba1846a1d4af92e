// Throughput of palette creation and of the picture reduction, plain and
// dithered, on a photo-like picture at the palette sizes saving uses most.
// There is no baseline doing the same work; the reduced picture is checked
// once (indices inside the palette, PSNR above a floor) so that the figures
// time a working reduction.

#include <math.h>
#include <stdio.h>

#include <functional>
#include <random>
#include <vector>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "quantize.h"

// Best of several rounds, in seconds per call.
static double Time(const std::function<void()>& work)
{
    return BestTime(work, 5, 3);
}

static int Clamp(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : int(v);
}

// Sky-like gradient, a few soft blobs of colour and sensor-like noise: many
// distinct colours, clustered the way photographs cluster them.
static void FillPhoto(Buffer& b)
{
    std::mt19937 rng(2024);
    std::normal_distribution<double> noise(0.0, 4.0);
    const int w = b.Width(), h = b.Height();
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            double r = 60 + 120.0 * y / h, g = 90 + 100.0 * y / h, bl = 200 - 80.0 * y / h;
            const double d1 = hypot(x - 300.0, y - 500.0) / 180, d2 = hypot(x - 760.0, y - 300.0) / 140;
            r += 140 * exp(-d1 * d1) - 40 * exp(-d2 * d2);
            g += 60 * exp(-d1 * d1) + 90 * exp(-d2 * d2);
            bl -= 120 * exp(-d1 * d1);
            const double t = 12 * sin(x * 0.05) * cos(y * 0.07);
            *b.At(x, y) = (unsigned long)Clamp(r + t + noise(rng)) << 16 |
                          (unsigned long)Clamp(g + t + noise(rng)) << 8 | (unsigned long)Clamp(bl + noise(rng));
        }
}

static void Report(const char* what, int n, double seconds, double pixels)
{
    printf("%-28s %3d colours %8.1f Mpx/s %8.2f ms\n", what, n, pixels / seconds / 1e6, seconds * 1e3);
}

// PSNR of the picture the indices and palette give, against the source.
static double ReducedPsnr(Buffer& photo, const unsigned char* pal, int n, const std::vector<unsigned char>& indices)
{
    const int w = photo.Width(), h = photo.Height();
    double squares = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const int i = indices[size_t(y) * w + x];
            if (i >= n) Mismatch("Quantize gave an index outside the palette");
            const unsigned long p = *photo.At(x, y);
            const double d[3] = {double(p >> 16 & 255) - pal[3 * i], double(p >> 8 & 255) - pal[3 * i + 1],
                                 double(p & 255) - pal[3 * i + 2]};
            squares += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    return squares == 0 ? 99.0 : 10 * log10(255.0 * 255.0 * 3.0 * w * h / squares);
}

int main()
{
    const int W = 1024, H = 768;
    const double px = double(W) * H;
    Buffer photo, copy;
    photo.Alloc({W, H});
    copy.Alloc({W, H});
    FillPhoto(photo);
    std::vector<unsigned char> indices(size_t(W) * H);
    printf("Photo-like picture %dx%d\n", W, H);

    for (int n : {256, 64, 16}) {
        unsigned char pal[768];
        CreatePalette(photo, pal, n, 0xFFFFFFFF, nullptr);
        Quantize(photo, pal, n, 0xFFFFFFFF, false, indices.data(), W);
        const double psnr = ReducedPsnr(photo, pal, n, indices);
        printf("%d colours: PSNR %.1f dB\n", n, psnr);
        if (psnr < (n >= 256 ? 30.0 : n >= 64 ? 26.0 : 20.0)) Mismatch("the reduced picture is far from the photo");
        Report("CreatePalette", n, Time([&] { CreatePalette(photo, pal, n, 0xFFFFFFFF, nullptr); }), px);
        Report("CreatePalette, work buffer", n, Time([&] { CreatePalette(photo, pal, n, 0xFFFFFFFF, &copy); }), px);
        Report("Quantize to indices", n,
               Time([&] { Quantize(photo, pal, n, 0xFFFFFFFF, false, indices.data(), W); }), px);
        Report("Quantize to indices, dither", n,
               Time([&] { Quantize(photo, pal, n, 0xFFFFFFFF, true, indices.data(), W); }), px);
        Report("Both, dither", n, Time([&] {
                   CreatePalette(photo, pal, n, 0xFFFFFFFF, nullptr);
                   Quantize(photo, pal, n, 0xFFFFFFFF, true, indices.data(), W);
               }),
               px);
    }
    return 0;
}
