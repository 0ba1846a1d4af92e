// Windows Metafile and Enhanced Metafile: one descriptor class, registered
// once for each kind. Reading renders either kind of metafile at its own
// size; writing records the picture as one bitmap drawn into a metafile of
// the descriptor's kind.
#include <string.h>

#include <vector>

#include "bitmap.h"
#include "byte_order.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "graphic_render.h"
#include "metafile.h"
#include "metafile_check.h"

namespace {

const unsigned PlaceableKey = 0x9AC6CDD7u;
// A placeable header holds the frame in 16-bit units.
const int MaxWindowsSide = 32767;
// Keeps the frame, in 0.01 mm, within 32 bits.
const int MaxEnhancedSide = 1 << 20;
const int SignatureBytes = 44;
const int MaxMetafileBytes = 256 << 20;

// What the class library would accept at all; anything else is refused
// without reading the whole stream into memory.
bool LooksLikeMetafile(const unsigned char* p, int n)
{
    if (n >= 4 && GetLE32(p) == PlaceableKey) return true;
    if (n >= 44 && GetLE32(p) == 1 && GetLE32(p + 40) == 0x464D4520u) return true;
    return n >= 18 && (GetLE16(p) == 1 || GetLE16(p) == 2) && GetLE16(p + 2) == 9;
}

// The records are checked before the platform plays any of them; the
// class library then reads the same bytes again.
void LoadMetafile(TMetafile& metafile, TInputStream* s)
{
    int start = s->GetPosition();
    try {
        {
            std::vector<unsigned char> data = ReadRestOfStream(s, MaxMetafileBytes);
            CheckMetafileRecords(data.data(), data.size());
        }
        s->Seek(start, soFromBeginning);
        metafile.LoadFromStream(s);
    } catch (EInvalidGraphic& e) {
        AnsiString detail = AnsiString("WMF: ") + e.Detail;
        throw EInvalidImage(detail.c_str());
    }
}

void Describe(TMetafile& metafile, GFXFileDesc* d)
{
    uint8_t* keep = d->paletteData;
    memset(d, 0, sizeof *d);
    d->paletteData = keep;
    d->colour = 1;
    d->bits = 24;
    d->channelBits = 8;
    d->images = 1;
    try {
        d->width = metafile.GetWidth();
        d->height = metafile.GetHeight();
        d->palette = metafile.GetPalette() != nullptr;
    } catch (...) {
        // The answer stands; only the properties are missing.
    }
}

class WMFFile : public GFXFile {
public:
    WMFFile(const char* title, const char* fileMasks, bool kind)
        : GFXFile(title, fileMasks, 0x800000, 0, false, 0), enhanced(kind)
    {
    }

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;

    unsigned char enhanced;  // the kind of metafile written
};

int WMFFile::Test(TInputStream* s, GFXFileDesc* d)
{
    int start = s->GetPosition();
    unsigned char head[SignatureBytes];
    int got = s->Read(head, SignatureBytes);
    s->Seek(start, soFromBeginning);
    if (!LooksLikeMetafile(head, got)) return 0;
    TMetafile metafile;
    bool accepted = true;
    try {
        LoadMetafile(metafile, s);
    } catch (...) {
        accepted = false;
    }
    s->Seek(start, soFromBeginning);
    if (!accepted) return 0;
    if (d) Describe(metafile, d);
    return 1;
}

bool WMFFile::Load(Buffer& b, TInputStream* s, GFXFileDesc*, GFXtra32*, int)
{
    TMetafile metafile;
    LoadMetafile(metafile, s);
    if (!GFXFile::Step(50)) return false;
    RenderGraphic(b, &metafile, metafile.GetWidth(), metafile.GetHeight(), "WMF");
    return true;
}

bool WMFFile::Save(Buffer& b, TOutputStream* s, GFXtra32*, GFXSaveParams* p)
{
    if (p && p->bits != 24) throw EInvalidImage("WMF: writes 24 bits only");
    int width = b.pixels && b.Width() > 0 && b.Height() > 0 ? b.Width() : 0;
    int height = width ? b.Height() : 0;
    int limit = enhanced ? MaxEnhancedSide : MaxWindowsSide;
    if (width > limit || height > limit) throw EInvalidImage("WMF: picture too wide or too tall for the metafile");
    if (!enhanced && !width) throw EInvalidImage("WMF: a Windows metafile cannot hold an empty picture");

    TMetafile metafile;
    metafile.SetEnhanced(enhanced);
    metafile.SetWidth(width);
    metafile.SetHeight(height);
    TBitmap bitmap;
    // 24-bit bits are what every metafile reader understands, and they
    // drop the flag bytes.
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    if (width) PutRows(bitmap.GetHandle(), b);
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        canvas.Draw(0, 0, &bitmap);
    }
    if (!GFXFile::Step(50)) return false;
    metafile.SaveToStream(s);
    return true;
}

}  // namespace

GFXFile* WMFFormat()
{
    static WMFFile format("Windows Metafile", "*.WMF", false);
    return &format;
}

GFXFile* EMFFormat()
{
    static WMFFile format("Enhanced Metafile", "*.EMF", true);
    return &format;
}
