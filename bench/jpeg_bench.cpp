// JPEG decode and encode speed, beside stb_image and stb_image_write built
// the same way and run on the same files.
//   jpeg_bench [width height]     (default 4000 x 3000, 12 Mpx)
//
// Pictures: a camera-like "photo" (smooth shading, hard edges, some texture,
// little noise) and the "noisy" picture of earlier runs (fine noise on every
// pixel, which makes entropy decoding dominate). The 4:2:0 file is written by
// stb_image_write, since our writer never subsamples. stb_image decodes to 4
// bytes a pixel, as our Buffer holds them.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "bench_timer.h"
#include "buffer.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "gfxstream.h"
#include "streams.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include "stb_image.h"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
#pragma GCC diagnostic pop

typedef std::vector<unsigned char> Bytes;

static double Best(const std::function<void()>& work)
{
    return BestTime(work, 3);
}

static int Clamp(int v)
{
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

static unsigned Rgb(int r, int g, int b)
{
    return unsigned(Clamp(r)) << 16 | unsigned(Clamp(g)) << 8 | unsigned(Clamp(b));
}

// Fine noise on every pixel over shading and a checkerboard.
static void MakeNoisy(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    unsigned seed = 7;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245 + 12345;
            int n = int(seed >> 27) - 16;
            *b.At(x, y) = Rgb(x * 255 / w + n, y * 255 / h + n / 2, ((x / 64 + y / 64) & 1) * 120 + 60 + n);
        }
}

// Sky-like shading, a few discs and bars with sharp edges, a patch of woven
// texture and sensor-like noise of a few levels.
static void MakePhoto(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    const int unit = (w < h ? w : h) / 12 + 1;
    unsigned seed = 99;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245 + 12345;
            const int n = int(seed >> 29) - 4;
            int r = 90 + 100 * y / h, g = 140 + 60 * y / h, bl = 220 - 40 * x / w;
            const int cx = x % (4 * unit) - 2 * unit, cy = y % (4 * unit) - 2 * unit;
            if (cx * cx + cy * cy < unit * unit) {
                r = 200 - 80 * cy / unit;
                g = 120 + 40 * cx / unit;
                bl = 40;
            } else if ((x / unit + y / (3 * unit)) % 5 == 0) {
                r = g = bl = 60 + 20 * ((x / 3 + y / 5) % 4);  // texture
            }
            *b.At(x, y) = Rgb(r + n, g + n, bl + n);
        }
}

static void Packed(Buffer& b, int w, int h, Bytes& rgb)
{
    rgb.resize(size_t(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned long p = *b.At(x, y);
            unsigned char* o = &rgb[(size_t(y) * w + x) * 3];
            o[0] = (unsigned char)(p >> 16);
            o[1] = (unsigned char)(p >> 8);
            o[2] = (unsigned char)p;
        }
}

static void Collect(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

static GFXFile* Jpeg()
{
    AnsiString name("bench.jpg");
    GFXFile* jpeg = GFXFile::GetDefaultFormat(name);
    if (!jpeg) throw Exception("no JPEG format");
    return jpeg;
}

// Our encode of picture into file; seconds.
static double OurEncode(Buffer& picture, bool progressive, bool grey, Bytes& file)
{
    TMemoryStream memory;
    GFXSaveParams p = {};
    p.bits = grey ? 8 : 24;
    p.grey = grey;
    p.quality = 75;
    p.interlaced = uint8_t(progressive);
    double t = Best([&] {
        memory.SetSize(0);
        TOutputStream out(&memory, "bench.jpg");
        Jpeg()->Save(picture, &out, nullptr, &p);
    });
    const unsigned char* bytes = static_cast<const unsigned char*>(memory.GetMemory());
    file.assign(bytes, bytes + memory.GetSize());
    return t;
}

static double StbEncode(const Bytes& rgb, int w, int h, int quality, Bytes& file)
{
    return Best([&] {
        file.clear();
        stbi_write_jpg_to_func(Collect, &file, w, h, 3, rgb.data(), quality);
    });
}

static double Seconds(const std::function<void()>& work)
{
    return BestTime(work, 1);
}

// Our decode and stb's in turn, so that a change in the machine's load
// touches both alike; the best of three of each.
static void DecodeRow(const char* name, const Bytes& file, double mpx)
{
    TMemoryStream memory;
    memory.Write(file.data(), int(file.size()));
    double ours = 1e9, stb = 1e9;
    for (int i = 0; i < 3; i++) {
        ours = std::min(ours, Seconds([&] {
                            memory.SetPosition(0);
                            TInputStream in(&memory, "bench.jpg");
                            Buffer b;
                            Jpeg()->Load(b, &in, nullptr, nullptr, 0);
                        }));
        stb = std::min(stb, Seconds([&] {
                           int w, h, n;
                           stbi_image_free(stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 4));
                       }));
    }
    printf("  %-30s %9d  %8.2f  %8.2f  %6.2f\n", name, int(file.size()), mpx / ours, mpx / stb, stb / ours);
}

int main(int argc, char** argv)
{
    int w = argc == 3 ? atoi(argv[1]) : 4000, h = argc == 3 ? atoi(argv[2]) : 3000;
    const double mpx = double(w) * h / 1e6;
    try {
        Buffer photo, noisy;
        MakePhoto(photo, w, h);
        MakeNoisy(noisy, w, h);
        Bytes photoRgb, noisyRgb;
        Packed(photo, w, h, photoRgb);
        Packed(noisy, w, h, noisyRgb);

        printf("JPEG %dx%d (%.1f Mpx), best of 3; Mpx/s; ratio = our speed / stb's\n", w, h, mpx);
        printf("encode                           %9s  %8s\n", "bytes", "Mpx/s");
        Bytes photoSeq, photoProg, photoGrey, photo420, photo444stb, noisySeq, noisyProg, noisy420;
        struct {
            const char* name;
            double t;
            Bytes* file;
        } encodes[] = {
            {"ours photo 4:4:4 q75", OurEncode(photo, false, false, photoSeq), &photoSeq},
            {"ours photo progressive q75", OurEncode(photo, true, false, photoProg), &photoProg},
            {"ours photo grey q75", OurEncode(photo, false, true, photoGrey), &photoGrey},
            {"ours noisy 4:4:4 q75", OurEncode(noisy, false, false, noisySeq), &noisySeq},
            {"ours noisy progressive q75", OurEncode(noisy, true, false, noisyProg), &noisyProg},
            {"stb photo 4:2:0 q90", StbEncode(photoRgb, w, h, 90, photo420), &photo420},
            {"stb photo 4:4:4 q95", StbEncode(photoRgb, w, h, 95, photo444stb), &photo444stb},
            {"stb noisy 4:2:0 q75", StbEncode(noisyRgb, w, h, 75, noisy420), &noisy420},
        };
        for (auto& e : encodes) printf("  %-30s %9d  %8.2f\n", e.name, int(e.file->size()), mpx / e.t);

        printf("decode                           %9s  %8s  %8s  %6s\n", "bytes", "ours", "stb", "ratio");
        DecodeRow("photo 4:2:0 (stb q90)", photo420, mpx);
        DecodeRow("photo 4:4:4 (stb q95)", photo444stb, mpx);
        DecodeRow("photo 4:4:4 (ours q75)", photoSeq, mpx);
        DecodeRow("photo progressive (ours q75)", photoProg, mpx);
        DecodeRow("photo grey (ours q75)", photoGrey, mpx);
        DecodeRow("noisy 4:2:0 (stb q75)", noisy420, mpx);
        DecodeRow("noisy 4:4:4 (ours q75)", noisySeq, mpx);
        DecodeRow("noisy progressive (ours q75)", noisyProg, mpx);
    } catch (Exception& e) {
        printf("failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
