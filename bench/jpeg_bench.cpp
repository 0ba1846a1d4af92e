// JPEG decode and encode speed, beside stb_image (its SSE2 code on) and
// stb_image_write built the same way and run on the same files.
//   jpeg_bench [width height]     (default: 1, 4 and 16 Mpx)
//
// Pictures: a camera-like "photo" (smooth shading, hard edges, some texture,
// little noise) and the "noisy" picture of earlier runs (fine noise on every
// pixel, which makes entropy decoding dominate). The 4:2:0 file is written by
// stb_image_write, since our writer never subsamples. stb_image decodes to 4
// bytes a pixel, as our Buffer holds them.
//
// Before timing, each file is decoded once by both and the pixels compared:
// within the tolerance of the reader's cross-checks for full-resolution
// chroma; for subsampled chroma, which stb interpolates and we replicate,
// within a PSNR that only a wrong picture falls below.
#include <stdio.h>
#include <stdlib.h>

#include <math.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "bench_ratio.h"
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
static double OurEncode(Buffer& picture, bool progressive, bool grey, Bytes& file, int quality = 75)
{
    TMemoryStream memory;
    GFXSaveParams p = {};
    p.bits = grey ? 8 : 24;
    p.grey = grey;
    p.quality = static_cast<uint8_t>(quality);
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

struct Difference {
    int largest;
    double psnr;
};

// Our pixels (0x00RRGGBB) against stb's RGBA bytes.
static Difference Compare(Buffer& ours, const unsigned char* rgba, int w, int h)
{
    Difference d = {0, 99.0};
    double squares = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned long p = *ours.At(x, y);
            const unsigned char* q = rgba + (size_t(y) * w + x) * 4;
            const int diff[3] = {int(p >> 16 & 255) - q[0], int(p >> 8 & 255) - q[1], int(p & 255) - q[2]};
            for (int v : diff) {
                d.largest = std::max(d.largest, abs(v));
                squares += double(v) * v;
            }
        }
    if (squares > 0) d.psnr = 10 * log10(255.0 * 255.0 * 3.0 * w * h / squares);
    return d;
}

// Decodes file once with each and fails the run when the pictures differ
// more than the reader's tolerance allows.
static void Verify(const char* name, const Bytes& file, bool subsampled)
{
    TMemoryStream memory;
    memory.Write(file.data(), int(file.size()));
    memory.SetPosition(0);
    TInputStream in(&memory, "bench.jpg");
    Buffer ours;
    Jpeg()->Load(ours, &in, nullptr, nullptr, 0);
    int w, h, n;
    unsigned char* rgba = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 4);
    if (!rgba || w != ours.Width() || h != ours.Height()) Mismatch(name);
    const Difference d = Compare(ours, rgba, w, h);
    stbi_image_free(rgba);
    const bool close = subsampled ? d.psnr >= 30.0 : d.largest <= 6 && d.psnr >= 45.0;
    if (!close) {
        char text[160];
        snprintf(text, sizeof text, "%s: decoded pictures differ (largest %d, PSNR %.1f dB)", name, d.largest, d.psnr);
        Mismatch(text);
    }
}

// Our decode and stb's in turn, so that a change in the machine's load
// touches both alike; the best of three of each.
static void DecodeRow(const char* name, const Bytes& file, double mpx, bool subsampled)
{
    Verify(name, file, subsampled);
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
    printf("  %-34s %9d  %8.2f  %8.2f\n", name, int(file.size()), mpx / ours, mpx / stb);
    char operation[80];
    snprintf(operation, sizeof operation, "JPEG decode %s", name);
    Ratio(operation, "stb_image, SSE2", ours, stb);
}

// PSNR of file against the source picture, decoded by stb_image (the same
// decoder for both writers).
static double WrittenPsnr(const Bytes& file, Buffer& source)
{
    int w, h, n;
    unsigned char* rgba = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 4);
    if (!rgba) Mismatch("a written file does not decode");
    const double psnr = Compare(source, rgba, w, h).psnr;
    stbi_image_free(rgba);
    return psnr;
}

// Encodes of the same picture at the same quality and sampling (stb writes
// 4:4:4 above quality 90), checked for their fidelity, then timed.
static void EncodeRow(Buffer& photo, const Bytes& rgb, int w, int h, double mpx, const char* size)
{
    Bytes ours, stb;
    const double ourSeconds = OurEncode(photo, false, false, ours, 95);
    const double stbSeconds = StbEncode(rgb, w, h, 95, stb);
    const double ourPsnr = WrittenPsnr(ours, photo), stbPsnr = WrittenPsnr(stb, photo);
    printf("  encode %-27s %9d  %8.2f  %8.2f   (stb %d bytes; PSNR ours %.2f, stb %.2f dB)\n", size, int(ours.size()),
           mpx / ourSeconds, mpx / stbSeconds, int(stb.size()), ourPsnr, stbPsnr);
    if (ourPsnr < stbPsnr - 2.0) Mismatch("our encode falls more than 2 dB below stb_image_write's");
    // At quality 100 only the transforms and the colour conversion lose.
    Bytes ours100, stb100;
    OurEncode(photo, false, false, ours100, 100);
    stbi_write_jpg_to_func(Collect, &stb100, w, h, 3, rgb.data(), 100);
    const double ourPsnr100 = WrittenPsnr(ours100, photo), stbPsnr100 = WrittenPsnr(stb100, photo);
    printf("  quality 100: PSNR ours %.2f, stb %.2f dB\n", ourPsnr100, stbPsnr100);
    if (ourPsnr100 < stbPsnr100 - 2.0) Mismatch("at quality 100 our encode falls more than 2 dB below stb's");
    char operation[80];
    snprintf(operation, sizeof operation, "JPEG encode 4:4:4 q95 %s", size);
    Ratio(operation, "stb_image_write", ourSeconds, stbSeconds);
}

// Every decode row of one picture size.
static void RunSize(int w, int h, bool noisyToo)
{
    const double mpx = double(w) * h / 1e6;
    char size[32];
    snprintf(size, sizeof size, "%.0f Mpx", mpx);
    Buffer photo;
    MakePhoto(photo, w, h);
    Bytes photoRgb;
    Packed(photo, w, h, photoRgb);
    printf("JPEG %dx%d (%.1f Mpx), best of 3; Mpx/s\n", w, h, mpx);
    printf("  %-34s %9s  %8s  %8s\n", "", "bytes", "ours", "stb");
    EncodeRow(photo, photoRgb, w, h, mpx, size);

    Bytes photoSeq, photoProg, photoGrey, photo420, photo444stb;
    OurEncode(photo, false, false, photoSeq);
    OurEncode(photo, true, false, photoProg);
    OurEncode(photo, false, true, photoGrey);
    StbEncode(photoRgb, w, h, 90, photo420);
    StbEncode(photoRgb, w, h, 95, photo444stb);
    char name[64];
    const struct {
        const char* what;
        const Bytes* file;
        bool subsampled;
    } rows[] = {
        {"photo 4:2:0 q90", &photo420, true},           {"photo 4:4:4 q95", &photo444stb, false},
        {"photo 4:4:4 q75", &photoSeq, false},          {"photo progressive q75", &photoProg, false},
        {"photo grey q75", &photoGrey, false},
    };
    for (const auto& r : rows) {
        snprintf(name, sizeof name, "%s %s", r.what, size);
        DecodeRow(name, *r.file, mpx, r.subsampled);
    }
    if (!noisyToo) return;
    Buffer noisy;
    MakeNoisy(noisy, w, h);
    Bytes noisyRgb, noisySeq, noisyProg, noisy420;
    Packed(noisy, w, h, noisyRgb);
    OurEncode(noisy, false, false, noisySeq);
    OurEncode(noisy, true, false, noisyProg);
    StbEncode(noisyRgb, w, h, 75, noisy420);
    snprintf(name, sizeof name, "noisy 4:2:0 q75 %s", size);
    DecodeRow(name, noisy420, mpx, true);
    snprintf(name, sizeof name, "noisy 4:4:4 q75 %s", size);
    DecodeRow(name, noisySeq, mpx, false);
    snprintf(name, sizeof name, "noisy progressive q75 %s", size);
    DecodeRow(name, noisyProg, mpx, false);
}

#ifdef BENCH_PHOTO_DIR
static Bytes ReadFile(const char* name)
{
    Bytes data;
    FILE* f = fopen(name, "rb");
    if (!f) return data;
    unsigned char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
    fclose(f);
    return data;
}

// The camera photograph the build scaled and wrote in each coding.
static void RunPhotos()
{
    printf("Camera photograph, written by ImageMagick at quality 90; Mpx/s\n");
    printf("  %-34s %9s  %8s  %8s\n", "", "bytes", "ours", "stb");
    const struct {
        const char* kind;
        const char* label;
        bool subsampled;
    } kinds[] = {{"420", "baseline 4:2:0", true},
                 {"444", "baseline 4:4:4", false},
                 {"progressive", "progressive 4:2:0", true}};
    for (int mpx : {1, 4, 16})
        for (const auto& k : kinds) {
            char path[512], name[64];
            snprintf(path, sizeof path, "%s/photo-%dmpx-%s.jpg", BENCH_PHOTO_DIR, mpx, k.kind);
            const Bytes file = ReadFile(path);
            int w = 0, h = 0, n = 0;
            if (file.empty() || !stbi_info_from_memory(file.data(), int(file.size()), &w, &h, &n)) Mismatch(path);
            snprintf(name, sizeof name, "camera %s %d Mpx", k.label, mpx);
            DecodeRow(name, file, double(w) * h / 1e6, k.subsampled);
        }
}
#endif

int main(int argc, char** argv)
{
    try {
        if (argc == 3) {
            RunSize(atoi(argv[1]), atoi(argv[2]), true);
            return 0;
        }
#ifdef BENCH_PHOTO_DIR
        RunPhotos();
#endif
        RunSize(1152, 864, false);    // 1 Mpx
        RunSize(2304, 1728, true);    // 4 Mpx
        RunSize(4608, 3456, false);   // 16 Mpx
    } catch (Exception& e) {
        printf("failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
