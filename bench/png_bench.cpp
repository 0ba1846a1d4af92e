// PNG and the deflate code under it, beside zlib (the library built for the
// same target, linked statically) and stb_image / stb_image_write, all run
// on the same data in one process.
//   png_bench [scale [part]]   scale (default 1) multiplies the 1600x1200
//                              pictures' sides and the 4 MB pathological inputs;
//                              part: coders, pathological or png (default all)
//
// Deflate and inflate figures are MB/s of uncompressed data. Inflate by our
// code goes through the PNG byte source, so it includes the IDAT chunk CRCs
// (64 KB chunks) and the Adler-32, which zlib's uncompress also checks.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "crc32.h"
#include "deflate.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "gfxstream.h"
#include "inflate.h"
#include "streams.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
#pragma GCC diagnostic pop

typedef std::vector<unsigned char> Bytes;

static double Best(const std::function<void()>& work, int rounds)
{
    return BestTime(work, rounds);
}

static unsigned Clamp(int v)
{
    return unsigned(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Smooth shading, fine noise and hard edges: the coder's usual work.
static void MakePhoto(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    unsigned seed = 7;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245 + 12345;
            int n = int(seed >> 28) - 8;
            int r = x * 255 / w + n, g = y * 255 / h + n / 2, bl = ((x / 64 + y / 64) & 1) * 120 + 60 + n;
            *b.At(x, y) = Clamp(r) << 16 | Clamp(g) << 8 | Clamp(bl);
        }
}

// A drawing or screenshot: flat areas, thin lines, a few gradients.
static void MakeFlat(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned c = 0xF0F0F0;
            if ((x / 200 + y / 150) % 3 == 0) c = 0x3060C0;
            if (y % 150 < 24) c = 0x202020 + unsigned(x * 96 / w) * 0x010101;
            if (x % 97 == 0 || y % 41 == 0) c = 0x000000;
            if ((x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2) < h * h / 16) c = 0xE0A020;
            if ((x / 8 + y / 12) % 17 == 3 && y % 12 < 9 && x % 8 < 6) c = 0x101010;
            *b.At(x, y) = c;
        }
}

// English-like text: common words drawn with a skewed distribution, in
// sentences and paragraphs, so that a coder meets what prose gives it.
static Bytes MakeText(size_t size)
{
    static const char* const words[] = {
        "the", "of", "and", "to", "a", "in", "is", "it", "you", "that", "he", "was", "for", "on", "are", "with",
        "as", "I", "his", "they", "be", "at", "one", "have", "this", "from", "or", "had", "by", "hot", "word",
        "but", "what", "some", "we", "can", "out", "other", "were", "all", "there", "when", "up", "use", "your",
        "how", "said", "an", "each", "she", "which", "do", "their", "time", "if", "will", "way", "about", "many",
        "then", "them", "write", "would", "like", "so", "these", "her", "long", "make", "thing", "see", "him",
        "two", "has", "look", "more", "day", "could", "go", "come", "did", "number", "sound", "no", "most",
        "people", "my", "over", "know", "water", "than", "call", "first", "who", "may", "down", "side", "been",
        "now", "find", "any", "new", "work", "part", "take", "get", "place", "made", "live", "where", "after",
        "back", "little", "only", "round", "man", "year", "came", "show", "every", "good", "me", "give", "our",
        "under", "name", "very", "through", "just", "form", "sentence", "great", "think", "say", "help", "low",
        "line", "differ", "turn", "cause", "much", "mean", "before", "move", "right", "boy", "old", "too", "same",
        "tell", "does", "set", "three", "want", "air", "well", "also", "play", "small", "end", "put", "home",
        "read", "hand", "port", "large", "spell", "add", "even", "land", "here", "must", "big", "high", "such",
        "follow", "act", "why", "ask", "men", "change", "went", "light", "kind", "off", "need", "house",
        "picture", "try", "us", "again", "animal", "point", "mother", "world", "near", "build", "self", "earth",
        "father", "head", "stand", "own", "page", "should", "country", "found", "answer", "school", "grow",
        "study", "still", "learn", "plant", "cover", "food", "sun", "four", "between", "state", "keep", "eye",
        "never", "last", "let", "thought", "city", "tree", "cross", "farm", "hard", "start", "might", "story",
        "saw", "far", "sea", "draw", "left", "late", "run", "while", "press", "close", "night", "real", "life"};
    const unsigned count = sizeof words / sizeof words[0];
    Bytes text;
    text.reserve(size + 64);
    unsigned seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245 + 12345;
        return seed >> 16;
    };
    size_t column = 0, sentence = 0;
    bool capital = true;
    while (text.size() < size) {
        // Squaring a uniform draw favours the front of the list, as word use does.
        unsigned u = next() % 1024;
        const char* w = words[(u * u / 1024) * count / 1024];
        size_t len = strlen(w);
        if (column + len + 1 > 72) {
            text.push_back('\n');
            column = 0;
        } else if (column > 0) {
            text.push_back(' ');
            column++;
        }
        for (size_t i = 0; i < len; i++) text.push_back((unsigned char)(i == 0 && capital ? toupper(w[i]) : w[i]));
        column += len;
        capital = false;
        sentence++;
        unsigned r = next() % 100;
        if (sentence > 4 && r < 12) {
            text.push_back('.');
            sentence = 0;
            capital = true;
            if (next() % 8 == 0) {
                text.push_back('\n');
                text.push_back('\n');
                column = 0;
            }
        } else if (r < 18) {
            text.push_back(',');
        }
        column++;
    }
    text.resize(size);
    return text;
}

static void Put32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((unsigned char)(v >> shift));
}

static uint32_t Get32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// A zlib stream as the IDAT chunks of a PNG, piece bytes each, then IEND.
static Bytes AsIdat(const Bytes& z, size_t piece)
{
    Bytes out;
    for (size_t at = 0; at < z.size(); at += piece) {
        size_t n = z.size() - at < piece ? z.size() - at : piece;
        Put32(out, uint32_t(n));
        const size_t type = out.size();
        out.insert(out.end(), {'I', 'D', 'A', 'T'});
        out.insert(out.end(), z.begin() + long(at), z.begin() + long(at + n));
        Put32(out, Crc32(0, &out[type], n + 4));
    }
    Put32(out, 0);
    out.insert(out.end(), {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    return out;
}

// The zlib stream of a PNG file's IDAT chunks, joined.
static Bytes IdatOf(const unsigned char* file, size_t size)
{
    Bytes z;
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t len = Get32(file + at);
        if (memcmp(file + at + 4, "IDAT", 4) == 0) z.insert(z.end(), file + at + 8, file + at + 8 + len);
        at += 12 + size_t(len);
    }
    return z;
}

static Bytes OurDeflate(const Bytes& data)
{
    TMemoryStream m;
    {
        Deflater z(&m);
        // Fed in row-sized pieces, as the PNG writer does.
        for (size_t at = 0; at < data.size(); at += 4801)
            z.Put(&data[at], data.size() - at < 4801 ? data.size() - at : 4801);
        z.Finish();
    }
    const unsigned char* p = static_cast<const unsigned char*>(m.GetMemory());
    return Bytes(p, p + m.GetSize());
}

static void OurInflate(const Bytes& chunks, Bytes& out)
{
    TMemoryStream m;
    m.WriteBuffer(chunks.data(), int(chunks.size()));
    m.SetPosition(8);
    std::unique_ptr<Inflater> in(new Inflater(&m, Get32(chunks.data())));
    in->ReadZlibHeader();
    const size_t piece = 4800;  // about a row
    for (size_t at = 0; at < out.size(); at += piece)
        in->Read(&out[at], out.size() - at < piece ? out.size() - at : piece);
    in->Finish();
}

static Bytes ZlibDeflate(const Bytes& data, int level)
{
    uLongf n = compressBound(uLong(data.size()));
    Bytes z(n);
    if (compress2(z.data(), &n, data.data(), uLong(data.size()), level) != Z_OK) throw Exception("zlib compress2 failed");
    z.resize(n);
    return z;
}

static void ZlibInflate(const Bytes& z, Bytes& out)
{
    uLongf n = uLongf(out.size());
    if (uncompress(out.data(), &n, z.data(), uLong(z.size())) != Z_OK || n != out.size())
        throw Exception("zlib uncompress failed");
}

struct Figures {
    double ourDeflate = 0, ourRatio = 0, zlib6Deflate = 0, zlib6Ratio = 0;
    double ourInflateZ6 = 0, zlibInflateZ6 = 0;
};

// Every coder on one data set; inflate by both decoders of every stream.
static Figures CompareCoders(const char* label, const char* shortName, const Bytes& data, int rounds)
{
    const double mb = double(data.size()) / 1e6;
    printf("\n%s: %.2f MB\n", label, mb);
    printf("  %-8s %12s %8s %16s %16s %10s\n", "stream", "deflate MB/s", "ratio", "ours inflate", "zlib inflate",
           "ours/zlib");
    Figures f;
    Bytes back(data.size());
    for (int level = -1; level <= 9; level++) {
        if (level == 0 || (level > 1 && level != 6 && level != 9)) continue;
        Bytes z;
        const double deflate = Best([&] { z = level < 0 ? OurDeflate(data) : ZlibDeflate(data, level); }, rounds);
        const Bytes chunks = AsIdat(z, 65536);
        const double ours = Best([&] { OurInflate(chunks, back); }, rounds);
        if (back != data) throw Exception("our inflate gave different bytes");
        const double zlib = Best([&] { ZlibInflate(z, back); }, rounds);
        if (back != data) throw Exception("zlib inflate gave different bytes");
        const double ratio = double(z.size()) / double(data.size());
        char name[16];
        snprintf(name, sizeof name, level < 0 ? "ours" : "zlib %d", level);
        printf("  %-8s %12.2f %8.4f %16.2f %16.2f %10.2f\n", name, mb / deflate, ratio, mb / ours, mb / zlib,
               zlib / ours);
        if (level < 0) f.ourDeflate = mb / deflate, f.ourRatio = ratio;
        if (level == 6) {
            f.zlib6Deflate = mb / deflate, f.zlib6Ratio = ratio;
            f.ourInflateZ6 = mb / ours, f.zlibInflateZ6 = mb / zlib;
        }
    }
    char operation[96];
    snprintf(operation, sizeof operation, "inflate %s", shortName);
    Ratio(operation, "zlib inflate, its level-6 stream", 1 / f.ourInflateZ6, 1 / f.zlibInflateZ6);
    snprintf(operation, sizeof operation, "deflate %s", shortName);
    Ratio(operation, "zlib deflate level 6", 1 / f.ourDeflate, 1 / f.zlib6Deflate);
    printf("  targets: size/zlib-6 %.3f (<= 1.05), deflate speed/zlib-6 %.2f (>= 0.8), "
           "inflate speed/zlib on zlib-6's stream %.2f (>= 0.8)\n",
           f.ourRatio / f.zlib6Ratio, f.ourDeflate / f.zlib6Deflate, f.ourInflateZ6 / f.zlibInflateZ6);
    return f;
}

// Inputs built to make a match search slow: the same MB/s at 1 and 4 MB
// means the time grows linearly.
static void Pathological(int scale)
{
    struct Kind {
        const char* label;
        std::function<unsigned char(size_t, unsigned&)> byte;
    };
    const Kind kinds[] = {
        {"zeros", [](size_t, unsigned&) -> unsigned char { return 0; }},
        {"period 2 (ab)", [](size_t i, unsigned&) -> unsigned char { return "ab"[i % 2]; }},
        {"period 3 (abc)", [](size_t i, unsigned&) -> unsigned char { return "abc"[i % 3]; }},
        {"00 00 random", [](size_t i, unsigned& s) -> unsigned char {
             if (i % 3 < 2) return 0;
             s = s * 1103515245 + 12345;
             return (unsigned char)(s >> 24);
         }},
        {"00 random", [](size_t i, unsigned& s) -> unsigned char {
             if (i % 2 == 0) return 0;
             s = s * 1103515245 + 12345;
             return (unsigned char)(s >> 24);
         }},
        {"random 1000, repeated", [](size_t i, unsigned&) -> unsigned char {
             unsigned s = unsigned(i % 1000) * 2654435761u;
             return (unsigned char)(s >> 24);
         }},
        {"random", [](size_t, unsigned& s) -> unsigned char {
             s = s * 1103515245 + 12345;
             return (unsigned char)(s >> 24);
         }},
    };
    printf("\nPathological inputs, deflate MB/s at 1 MB and at %d MB (equal = linear), ratio at the larger size\n",
           4 * scale);
    printf("  %-22s %8s %8s %8s %10s %10s %10s %10s\n", "input", "ours 1", "ours 4", "ratio", "zlib6 1", "zlib6 4",
           "zlib9 4", "ratio z9");
    for (const Kind& k : kinds) {
        double rate[2][3] = {};
        double ratio = 0, ratio9 = 0;
        for (int big = 0; big <= 1; big++) {
            const size_t size = size_t(big ? 4 * scale : 1) << 20;
            Bytes data(size);
            unsigned s = 99;
            for (size_t i = 0; i < size; i++) data[i] = k.byte(i, s);
            Bytes z;
            const double mb = double(size) / 1e6;
            rate[big][0] = mb / Best([&] { z = OurDeflate(data); }, 1);
            if (big) {
                ratio = double(z.size()) / double(size);
                Bytes back(size);
                OurInflate(AsIdat(z, 65536), back);
                if (back != data) throw Exception("pathological round trip failed");
            }
            rate[big][1] = mb / Best([&] { z = ZlibDeflate(data, 6); }, 1);
            if (big) {
                rate[big][2] = mb / Best([&] { z = ZlibDeflate(data, 9); }, 1);
                ratio9 = double(z.size()) / double(size);
            }
        }
        printf("  %-22s %8.2f %8.2f %8.4f %10.2f %10.2f %10.2f %10.4f\n", k.label, rate[0][0], rate[1][0], ratio,
               rate[0][1], rate[1][1], rate[1][2], ratio9);
    }
}

static void Collect(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

static Bytes RgbOf(Buffer& b)
{
    const int w = b.Width(), h = b.Height();
    Bytes rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned long p = *b.At(x, y);
            unsigned char* o = &rgb[(size_t(y) * w + x) * 3];
            o[0] = (unsigned char)(p >> 16);
            o[1] = (unsigned char)(p >> 8);
            o[2] = (unsigned char)p;
        }
    return rgb;
}

static Bytes OurSave(GFXFile* png, Buffer& picture, bool interlaced)
{
    TMemoryStream file;
    GFXSaveParams p = {};
    p.bits = 24;
    p.interlaced = uint8_t(interlaced);
    TOutputStream out(&file, "bench.png");
    png->Save(picture, &out, nullptr, &p);
    const unsigned char* m = static_cast<const unsigned char*>(file.GetMemory());
    return Bytes(m, m + file.GetSize());
}

static double OurLoad(GFXFile* png, const Bytes& data, int rounds)
{
    TMemoryStream memory;
    memory.WriteBuffer(data.data(), int(data.size()));
    return Best(
        [&] {
            memory.SetPosition(0);
            TInputStream in(&memory, "bench.png");
            Buffer b;
            png->Load(b, &in, nullptr, nullptr, 0);
        },
        rounds);
}

// Decodes file once with each decoder; they must give the same pixels.
static void VerifyLoad(GFXFile* png, const Bytes& data, const char* what)
{
    TMemoryStream memory;
    memory.WriteBuffer(data.data(), int(data.size()));
    memory.SetPosition(0);
    TInputStream in(&memory, "bench.png");
    Buffer b;
    png->Load(b, &in, nullptr, nullptr, 0);
    int w, h, n;
    unsigned char* rgb = stbi_load_from_memory(data.data(), int(data.size()), &w, &h, &n, 3);
    bool same = rgb && w == b.Width() && h == b.Height();
    for (int y = 0; same && y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned char* q = rgb + (size_t(y) * w + x) * 3;
            if (*b.At(x, y) != (unsigned long)(q[0] << 16 | q[1] << 8 | q[2])) {
                same = false;
                break;
            }
        }
    stbi_image_free(rgb);
    if (!same) Mismatch(what);
}

static double StbLoad(const Bytes& data, int rounds)
{
    return Best(
        [&] {
            int w, h, n;
            stbi_image_free(stbi_load_from_memory(data.data(), int(data.size()), &w, &h, &n, 3));
        },
        rounds);
}

// The filtered rows our writer makes of the picture.
static Bytes FilteredRows(GFXFile* png, Buffer& picture)
{
    const Bytes file = OurSave(png, picture, false);
    const Bytes z = IdatOf(file.data(), file.size());
    Bytes rows(size_t(picture.Height()) * (size_t(picture.Width()) * 3 + 1));
    ZlibInflate(z, rows);
    return rows;
}

static void ComparePng(GFXFile* png, const char* label, Buffer& picture, int rounds)
{
    const int w = picture.Width(), h = picture.Height();
    const double mpx = double(w) * h / 1e6;
    const Bytes rgb = RgbOf(picture);
    printf("\nPNG %s %dx%d, Mpx/s\n", label, w, h);
    printf("  %-26s %8s %10s %10s %12s %10s\n", "file", "encode", "bytes", "our decode", "stb decode", "ours/stb");
    for (int interlaced = 0; interlaced <= 1; interlaced++) {
        Bytes file;
        const double encode = Best([&] { file = OurSave(png, picture, interlaced != 0); }, rounds);
        VerifyLoad(png, file, "PNG decode of our file differs from stb_image's");
        const double ours = OurLoad(png, file, rounds);
        const double stb = StbLoad(file, rounds);
        printf("  %-26s %8.2f %10d %10.2f %12.2f %10.2f\n", interlaced ? "ours, Adam7" : "ours", mpx / encode,
               int(file.size()), mpx / ours, mpx / stb, stb / ours);
        char operation[80];
        snprintf(operation, sizeof operation, "PNG decode %s%s", label, interlaced ? ", Adam7" : "");
        Ratio(operation, "stb_image", ours, stb);
    }
    Bytes stbFile;
    const double stbEncode = Best(
        [&] {
            stbFile.clear();
            stbi_write_png_to_func(Collect, &stbFile, w, h, 3, rgb.data(), w * 3);
        },
        rounds);
    VerifyLoad(png, stbFile, "PNG decode of stb_image_write's file differs from stb_image's");
    const double ours = OurLoad(png, stbFile, rounds);
    const double stb = StbLoad(stbFile, rounds);
    printf("  %-26s %8.2f %10d %10.2f %12.2f %10.2f\n", "stb_image_write (level 8)", mpx / stbEncode,
           int(stbFile.size()), mpx / ours, mpx / stb, stb / ours);
    char operation[80];
    snprintf(operation, sizeof operation, "PNG decode %s, stb's file", label);
    Ratio(operation, "stb_image", ours, stb);
}

int main(int argc, char** argv)
{
    const int scale = argc > 1 ? atoi(argv[1]) : 1;
    const std::string part = argc > 2 ? argv[2] : "";
    auto wanted = [&](const char* name) { return part.empty() || part == name; };
    const int w = 1600 * (scale > 0 ? scale : 1), h = 1200 * (scale > 0 ? scale : 1);
    // The machine is shared and emulated: more rounds find a quiet moment.
    const int rounds = 5;
    printf("png_bench: best of %d; inflate of our code through the IDAT byte source (64 KB chunks, CRC and "
           "Adler-32 checked)\n",
           rounds);
    try {
        AnsiString pngName("bench.png");
        GFXFile* png = GFXFile::GetDefaultFormat(pngName);
        if (!png) throw Exception("no PNG format");
        Buffer photo, flat;
        MakePhoto(photo, w, h);
        MakeFlat(flat, w, h);
        if (wanted("coders")) {
            CompareCoders("PNG image data, photo-like picture (filtered rows)", "PNG rows, photo-like",
                          FilteredRows(png, photo), rounds);
            CompareCoders("PNG image data, flat picture (filtered rows)", "PNG rows, flat", FilteredRows(png, flat),
                          rounds);
            CompareCoders("English-like text", "English-like text", MakeText(size_t(4) << 20), rounds);
        }
        if (wanted("pathological")) Pathological(scale);
        if (wanted("png")) {
            ComparePng(png, "24-bit photo-like", photo, rounds);
            ComparePng(png, "24-bit flat", flat, rounds);
        }
    } catch (Exception& e) {
        printf("failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
