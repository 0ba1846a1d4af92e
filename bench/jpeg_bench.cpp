// JPEG decode and encode of a 12-megapixel picture, beside stb_image and
// stb_image_write built the same way and run on the same data.
//   jpeg_bench [width height]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <functional>
#include <vector>

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

static double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

static double Best(const std::function<void()>& work)
{
    double best = 1e9;
    for (int i = 0; i < 3; i++) {
        double start = Now();
        work();
        if (Now() - start < best) best = Now() - start;
    }
    return best;
}

// Smooth shading with fine noise and edges, so that the coder has real work.
static void MakePhoto(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    unsigned seed = 7;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245 + 12345;
            int n = int(seed >> 27) - 16;
            int r = x * 255 / w + n, g = y * 255 / h + n / 2, bl = ((x / 64 + y / 64) & 1) * 120 + 60 + n;
            r = r < 0 ? 0 : r > 255 ? 255 : r;
            g = g < 0 ? 0 : g > 255 ? 255 : g;
            bl = bl < 0 ? 0 : bl > 255 ? 255 : bl;
            *b.At(x, y) = unsigned(r) << 16 | unsigned(g) << 8 | unsigned(bl);
        }
}

static void Collect(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

int main(int argc, char** argv)
{
    int w = argc == 3 ? atoi(argv[1]) : 4000, h = argc == 3 ? atoi(argv[2]) : 3000;
    const double mpx = double(w) * h / 1e6;
    Buffer photo;
    MakePhoto(photo, w, h);
    std::vector<unsigned char> rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned long p = *photo.At(x, y);
            unsigned char* o = &rgb[(size_t(y) * w + x) * 3];
            o[0] = (unsigned char)(p >> 16);
            o[1] = (unsigned char)(p >> 8);
            o[2] = (unsigned char)p;
        }
    printf("JPEG %dx%d (%.1f Mpx), quality 75, best of 3; Mpx/s\n", w, h, mpx);
    try {
        AnsiString jpegName("bench.jpg");
        GFXFile* jpeg = GFXFile::GetDefaultFormat(jpegName);
        if (!jpeg) throw Exception("no JPEG format");
        for (int progressive = 0; progressive <= 1; progressive++) {
            TMemoryStream file;
            GFXSaveParams p = {};
            p.bits = 24;
            p.quality = 75;
            p.interlaced = uint8_t(progressive);
            double encode = Best([&] {
                file.SetSize(0);
                TOutputStream out(&file, "bench.jpg");
                jpeg->Save(photo, &out, nullptr, &p);
            });
            double decode = Best([&] {
                file.SetPosition(0);
                TInputStream in(&file, "bench.jpg");
                Buffer b;
                jpeg->Load(b, &in, nullptr, nullptr, 0);
            });
            const unsigned char* bytes = static_cast<const unsigned char*>(file.GetMemory());
            double stbDecode = Best([&] {
                int sw, sh, n;
                stbi_image_free(stbi_load_from_memory(bytes, file.GetSize(), &sw, &sh, &n, 3));
            });
            printf("%-12s encode %7.2f  decode %7.2f  stb_image decode %7.2f  (our time / stb's %.2f)  %d bytes\n",
                   progressive ? "progressive" : "sequential", mpx / encode, mpx / decode, mpx / stbDecode,
                   decode / stbDecode, file.GetSize());
        }
        std::vector<unsigned char> stbFile;
        double stbEncode = Best([&] {
            stbFile.clear();
            stbi_write_jpg_to_func(Collect, &stbFile, w, h, 3, rgb.data(), 75);
        });
        printf("stb_image_write encode %7.2f  %d bytes\n", mpx / stbEncode, int(stbFile.size()));
    } catch (Exception& e) {
        printf("failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
