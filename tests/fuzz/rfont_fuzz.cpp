// Fuzzes the raster-font readers: the first byte picks a font file (scanned,
// every face loaded and drawn, kerned pairs measured) or a font cache (read
// back, and written again when accepted). Damage may raise EInvalidImage;
// nothing may be read or written outside the input or the buffers.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "buffer.h"
#include "exceptions.h"
#include "rfont.h"
#include "rfont_cache.h"
#include "rfont_file.h"
#include "rfont_glyph.h"
#include "streams.h"

namespace {

// Larger stores take the same decoding paths, only slowly enough to hold the
// fuzzer to a few hundred inputs a second.
const long StoreLimit = 1 << 14;

void DrawFace(RFontEntry& e)
{
    Buffer b;
    b.Alloc({40, 24});
    for (int i = 0; i < 40 * 24; ++i) b.pixels[i] = 0;
    RFont f;
    e.users = 1;  // the font below lets go of it, and frees it, when it ends
    f.entry = &e;
    AnsiString s;
    for (int ch = e.first; ch <= e.last && s.Length() < 24; ++ch) s += char(ch);
    for (int mode = -1; mode <= 1; ++mode) {
        f.mode = mode;
        b.OutText(f, {-3, -2}, s, 0x00FFFFFF);
        b.GetTextExtent(f, s);
    }
    for (int ch = e.first; ch < e.last && ch < e.first + 8; ++ch) KernedDistance(e, ch, ch + 1, 3, 1);
}

void FuzzFontFile(const uint8_t* data, size_t size)
{
    TMemoryStream s;
    if (size) s.WriteBuffer(data, int(size));
    ScannedFont font = ScanFontFile(s);
    for (const ScannedFace& face : font.faces) {
        const FaceDesc& d = face.desc;
        if (long(d.size) * d.rowBytes * (d.last - d.first + 1) > StoreLimit) continue;
        RFontEntry e = RFontEntry();
        e.size = d.size, e.rowBytes = d.rowBytes, e.first = d.first, e.last = d.last;
        e.spacing = d.spacing, e.spaceWidth = d.spaceWidth;
        e.glyphBytes = d.size * d.rowBytes;
        e.offset = face.offset;
        try {
            LoadFace(s, e, font.version);
        } catch (EInvalidImage&) {
            if (e.glyphs || e.widths) __builtin_trap();
            continue;
        }
        if (e.glyphs) DrawFace(e);
        FreePrepared(e);
    }
}

void FuzzCache(const uint8_t* data, size_t size)
{
    FontRegistry r;
    if (!ReadFontCache(data, size, r)) return;
    TMemoryStream out;
    WriteFontCache(r, out);
    // What was accepted is written back byte for byte.
    if (size_t(out.GetSize()) != size) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!size) return 0;
    if (data[0] & 1)
        FuzzCache(data + 1, size - 1);
    else
        FuzzFontFile(data + 1, size - 1);
    return 0;
}
