#include "rfont_file.h"

#include <string.h>

#include <memory>

#include "exceptions.h"
#include "heap.h"
#include "rfont_decode.h"
#include "streams.h"

namespace {

struct Chunk {
    char id[4];
    unsigned long length;
    int data;  // file position of the first byte after the header
};

unsigned long BigEndian(const unsigned char* p)
{
    return (unsigned long)p[0] << 24 | (unsigned long)p[1] << 16 | (unsigned long)p[2] << 8 | p[3];
}

unsigned long LittleEndian(const unsigned char* p)
{
    return (unsigned long)p[3] << 24 | (unsigned long)p[2] << 16 | (unsigned long)p[1] << 8 | p[0];
}

bool ReadExactly(TStream& s, void* to, int count)
{
    return s.Read(to, count) == count;
}

// The chunk at pos, when its header and its data lie before end.
bool ReadChunk(TStream& s, int pos, int end, Chunk& c)
{
    if (pos < 0 || end - pos < 8) return false;
    unsigned char head[8];
    if (s.Seek(pos, soFromBeginning) != pos || !ReadExactly(s, head, 8)) return false;
    memcpy(c.id, head, 4);
    c.length = BigEndian(head + 4);
    c.data = pos + 8;
    return c.length <= (unsigned long)(end - c.data);
}

bool Is(const Chunk& c, const char* id)
{
    return memcmp(c.id, id, 4) == 0;
}

int NextChunk(const Chunk& c)
{
    return c.data + int(c.length);
}

bool Usable(const FaceDesc& d)
{
    return d.size > 0 && d.rowBytes > 0 && d.first <= d.last;
}

void ScanChunks(TStream& s, int end, ScannedFont& font)
{
    Chunk c;
    for (int pos = 12; ReadChunk(s, pos, end, c); pos = NextChunk(c)) {
        if (Is(c, "NAME") && !font.hasName) {
            std::vector<char> name(c.length + 1);
            if (!ReadExactly(s, name.data(), int(c.length))) return;
            font.family = AnsiString(name.data(), int(strnlen(name.data(), c.length)));
            font.hasName = true;
        } else if (Is(c, "DESC") && font.hasName && c.length >= 10) {
            unsigned char b[10];
            if (!ReadExactly(s, b, 10)) return;
            ScannedFace face = {{b[0], b[1], b[2], b[3], b[4], b[5], b[9]}, NextChunk(c)};
            if (Usable(face.desc)) font.faces.push_back(face);
        }
    }
}

// The face's prepared data while it is being read; freed unless kept.
struct Prepared {
    unsigned char* widths = nullptr;
    unsigned char* index = nullptr;
    unsigned char* glyphs = nullptr;
    int glyphCount = 0;
    int widest = 0;
    ~Prepared()
    {
        HeapFree(widths);
        HeapFree(index);
        HeapFree(glyphs);
    }
};

unsigned char* ZeroBlock(size_t bytes)
{
    // Never an empty request: a null answer would read as out of memory.
    unsigned char* p = static_cast<unsigned char*>(HeapGet(bytes ? bytes : 1));
    memset(p, 0, bytes ? bytes : 1);
    return p;
}

void ReadWidths(TStream& s, const Chunk& c, const RFontEntry& e, int major, Prepared& p)
{
    int n = e.last - e.first + 1;
    HeapFree(p.widths);
    HeapFree(p.index);
    p.index = nullptr;
    p.widths = ZeroBlock(size_t(n));
    int take = c.length < (unsigned long)n ? int(c.length) : n;
    if (!ReadExactly(s, p.widths, take)) throw EInvalidImage("RFont: WDTH cut short");
    p.widest = 0;
    for (int i = 0; i < n; ++i)
        if (p.widths[i] > p.widest) p.widest = p.widths[i];
    p.glyphCount = n;
    if (major < 2) return;
    // Only characters with a width have a glyph.
    p.index = ZeroBlock(size_t(n));
    p.glyphCount = 0;
    for (int i = 0; i < n; ++i) {
        p.index[i] = (unsigned char)p.glyphCount;
        if (p.widths[i]) ++p.glyphCount;
    }
}

void ReadGlyphs(TStream& s, const Chunk& c, const RFontEntry& e, int major, Prepared& p)
{
    if (!p.widths) throw EInvalidImage("RFont: DATA before WDTH");
    size_t storeSize = size_t(p.glyphCount) * size_t(e.glyphBytes);
    p.glyphs = ZeroBlock(storeSize);
    if (major < 2) {
        if (c.length < storeSize) throw EInvalidImage("RFont: DATA shorter than its glyphs");
        if (!ReadExactly(s, p.glyphs, int(storeSize))) throw EInvalidImage("RFont: DATA cut short");
        return;
    }
    std::vector<unsigned char> packed(c.length);
    if (!ReadExactly(s, packed.data(), int(c.length))) throw EInvalidImage("RFont: DATA cut short");
    DecodeGlyphData(packed.data(), packed.size(), p.glyphs, storeSize, e.rowBytes);
}

}  // namespace

ScannedFont ScanFontFile(TStream& s)
{
    ScannedFont font;
    int size = s.GetSize();
    unsigned char head[12];
    if (size < 12 || s.Seek(0, soFromBeginning) != 0 || !ReadExactly(s, head, 12)) return font;
    if (memcmp(head, "FONT", 4) != 0) return font;
    font.isFont = true;
    unsigned long version = LittleEndian(head + 8);
    font.version = int(version);
    if (version >= RFontVersionLimit) return font;
    // The header's length counts what follows it; a file cut short ends sooner.
    unsigned long declared = BigEndian(head + 4);
    int end = declared < (unsigned long)(size - 8) ? 8 + int(declared) : size;
    ScanChunks(s, end, font);
    return font;
}

void LoadFace(TStream& s, RFontEntry& e, int version)
{
    int major = version >> 16;
    int end = s.GetSize();
    Prepared p;
    Chunk c;
    for (int pos = e.offset; end - pos >= 8; pos = NextChunk(c)) {
        if (!ReadChunk(s, pos, end, c)) throw EInvalidImage("RFont: chunk beyond the end of the file");
        if (Is(c, "DESC")) break;  // the next face: this one has no glyphs
        if (Is(c, "WDTH")) {
            ReadWidths(s, c, e, major, p);
        } else if (Is(c, "DATA")) {
            ReadGlyphs(s, c, e, major, p);
            break;
        }
    }
    if (!p.glyphs) return;
    FreePrepared(e);
    e.widths = p.widths;
    e.index = p.index;
    e.glyphs = p.glyphs;
    p.widths = p.index = p.glyphs = nullptr;
    if (!e.widest) e.widest = (unsigned char)p.widest;
}
