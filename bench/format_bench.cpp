// Load and save throughput of each registered format, with stb_image (its
// SSE2 code on) reading the very same BMP, TGA, GIF, JPEG and PNG files in
// the same run for comparison, once checked to give the same pixels (JPEG:
// within the reader's cross-check tolerance).

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <string>
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
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#include "stb_image.h"
#pragma GCC diagnostic pop

// Smooth gradients with a little noise: something between a photo and a
// drawing, so that run-length formats neither win nor lose everything.
static void MakePicture(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    unsigned seed = 1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245 + 12345;
            unsigned noise = (seed >> 16) & 7;
            unsigned r = (x * 255 / w + noise) & 0xFF, g = (y * 255 / h) & 0xFF, bl = ((x + y) / 8 * 16) & 0xFF;
            *b.At(x, y) = r << 16 | g << 8 | bl;
        }
}

static std::string ReadFile(const char* name)
{
    std::string data;
    FILE* f = fopen(name, "rb");
    if (!f) return data;
    char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
    fclose(f);
    return data;
}

// Largest channel difference between our picture and stb's RGBA bytes.
static int Largest(Buffer& ours, const unsigned char* rgba, int w, int h)
{
    int largest = 0;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned long p = *ours.At(x, y);
            const unsigned char* q = rgba + (size_t(y) * w + x) * 4;
            const int d[3] = {abs(int(p >> 16 & 255) - q[0]), abs(int(p >> 8 & 255) - q[1]), abs(int(p & 255) - q[2])};
            for (int v : d) largest = v > largest ? v : largest;
        }
    return largest;
}

struct Case {
    const char* label;
    const char* file;
    int bits;
    bool stb;
};

int main()
{
    const int W = 1024, H = 768;
    const double mpx = double(W) * H / 1e6;
    Buffer picture;
    MakePicture(picture, W, H);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);

    printf("Picture %dx%d; best of 5 rounds; Mpx/s (higher is better)\n", W, H);
    printf("%-16s %10s %10s %10s\n", "format", "save", "load", "stb load");
    const Case cases[] = {
        {"FRM 24", "bench.frm", 24, false}, {"FRM 32", "bench32.frm", 32, false},
        {"BMP 24", "bench.bmp", 24, true},  {"BMP 8", "bench8.bmp", 8, true},
        {"RLE 8", "bench8.rle", 8, false},  {"TGA 24 RLE", "bench.tga", 24, true},
        {"TGA 8 RLE", "bench8.tga", 8, true},   {"PCX 24", "bench.pcx", 24, false},
        {"PCX 8", "bench8.pcx", 8, false},      {"IFF 24", "bench.iff", 24, false},
        {"IFF 8", "bench8.iff", 8, false},      {"PBM 8", "bench8.lbm", 8, false},
        {"GIF 8", "bench8.gif", 8, true},       {"GIF 4", "bench4.gif", 4, true},
        {"JPEG 24", "bench.jpg", 24, true},
        {"PNG 24", "bench.png", 24, true},      {"PNG 8", "bench8.png", 8, true},
    };
    bool failed = false;
    for (const Case& c : cases) {
        std::string name = std::string(temp) + c.file;
        GFXSaveParams p = {};
        p.bits = int8_t(c.bits);
        double save = 0, load = 0, stb = 0;
        try {
            save = BestTime([&] { GFXFile::Save(picture, AnsiString(name.c_str()), nullptr, &p); }, 5);
            std::string data = ReadFile(name.c_str());
            AnsiString fileName(name.c_str());
            GFXFile* format = GFXFile::GetDefaultFormat(fileName);
            TMemoryStream memory;
            memory.WriteBuffer(data.data(), int(data.size()));
            load = BestTime(
                [&] {
                    memory.SetPosition(0);
                    TInputStream in(&memory, fileName);
                    Buffer b;
                    format->Load(b, &in, nullptr, nullptr, 0);
                },
                5);
            if (c.stb) {
                memory.SetPosition(0);
                TInputStream in(&memory, fileName);
                Buffer ours;
                format->Load(ours, &in, nullptr, nullptr, 0);
                int w, h, n;
                unsigned char* px = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(data.data()),
                                                          int(data.size()), &w, &h, &n, 4);
                const bool sized = px && w == ours.Width() && h == ours.Height();
                const int largest = sized ? Largest(ours, px, w, h) : 256;
                stbi_image_free(px);
                const int allowed = strcmp(c.file, "bench.jpg") == 0 ? 6 : 0;
                if (largest > allowed) {
                    char text[120];
                    snprintf(text, sizeof text, "%s: our pixels differ from stb_image's by %d", c.label, largest);
                    Mismatch(text);
                }
            }
            if (c.stb)
                stb = BestTime(
                    [&] {
                        int w, h, n;
                        unsigned char* px = stbi_load_from_memory(
                            reinterpret_cast<const unsigned char*>(data.data()), int(data.size()), &w, &h, &n, 4);
                        stbi_image_free(px);
                    },
                    5);
        } catch (Exception& e) {
            printf("%-16s failed: %s\n", c.label, e.what());
            failed = true;
            continue;
        }
        printf("%-16s %10.1f %10.1f", c.label, mpx / save, mpx / load);
        if (stb > 0) {
            printf(" %10.1f\n", mpx / stb);
            char operation[64];
            snprintf(operation, sizeof operation, "load %s, %dx%d", c.label, W, H);
            Ratio(operation, "stb_image, SSE2", load, stb);
        } else {
            printf("\n");
        }
        DeleteFileA(name.c_str());
    }
    return failed ? 1 : 0;
}
