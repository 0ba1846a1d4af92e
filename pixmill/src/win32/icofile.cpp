// Icon (.ico): read-only. The class library picks the icon's image nearest
// the system icon size and the platform draws it; pixels the icon leaves
// transparent stay white.
#include <string.h>

#include "exceptions.h"
#include "gfxfile.h"
#include "graphic_render.h"
#include "icon.h"

namespace {

const int HeaderBytes = 6;

// Reserved 0, type 1 (icon), at least one image: anything else is refused
// without reading the whole stream into memory.
bool LooksLikeIcon(const unsigned char* p, int n)
{
    return n >= HeaderBytes && p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == 0 && (p[4] || p[5]);
}

void ReadIcon(TIcon& icon, TInputStream* s)
{
    try {
        icon.LoadFromStream(s);
    } catch (EInvalidGraphic& e) {
        AnsiString detail = AnsiString("ICO: ") + e.Detail;
        throw EInvalidImage(detail.c_str());
    }
}

class ICOFile : public GFXFile {
public:
    ICOFile() : GFXFile("Icon", "*.ICO", 0, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
};

int ICOFile::Test(TInputStream* s, GFXFileDesc* d)
{
    int start = s->GetPosition();
    unsigned char head[HeaderBytes];
    int got = s->Read(head, HeaderBytes);
    s->Seek(start, soFromBeginning);
    if (!LooksLikeIcon(head, got)) return 0;
    TIcon icon;
    bool accepted = true;
    try {
        icon.LoadFromStream(s);
    } catch (...) {
        accepted = false;
    }
    s->Seek(start, soFromBeginning);
    if (!accepted) return 0;
    if (d) {
        uint8_t* keep = d->paletteData;
        memset(d, 0, sizeof *d);
        d->paletteData = keep;
        d->width = icon.GetWidth();
        d->height = icon.GetHeight();
        d->colour = 1;
        d->palette = 1;
        d->bits = 8;
        d->channelBits = 8;
        d->images = 1;
    }
    return 1;
}

bool ICOFile::Load(Buffer& b, TInputStream* s, GFXFileDesc*, GFXtra32*, int)
{
    TIcon icon;
    ReadIcon(icon, s);
    if (!GFXFile::Step(50)) return false;
    RenderGraphic(b, &icon, icon.GetWidth(), icon.GetHeight(), "ICO");
    return true;
}

}  // namespace

GFXFile* ICOFormat()
{
    static ICOFile format;
    return &format;
}
