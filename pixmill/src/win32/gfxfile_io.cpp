// Loading, identifying and saving picture files through the format registry.
#include <string.h>

#include "exceptions.h"
#include "filereplace.h"
#include "gfxfile.h"
#include "indeximage.h"
#include "saveparams.h"

namespace {

// PrStart, then PrEnd exactly once however the operation ends.
class ProgressBracket {
public:
    ProgressBracket()
    {
        if (GFXFile::PrStart) GFXFile::PrStart();
    }
    ~ProgressBracket()
    {
        if (GFXFile::PrEnd) GFXFile::PrEnd();
    }
    ProgressBracket(const ProgressBracket&) = delete;
    ProgressBracket& operator=(const ProgressBracket&) = delete;
};

// The extension's format when it recognises the data, else the first that
// does; null when none does.
GFXFile* ChooseFormat(AnsiString& name, TInputStream& s, GFXFileDesc* d)
{
    GFXFile* f = GFXFile::GetDefaultFormat(name);
    if (f && f->Test(&s, d) != 0) {
        if (d) d->format = f;
        return f;
    }
    return GFXFile::GetFormat(&s, d);
}

bool HasExtension(const AnsiString& name)
{
    const char* text = name.c_str();
    for (int i = name.Length() - 1; i >= 0; i--) {
        if (text[i] == '.') return true;
        if (text[i] == '/' || text[i] == ':' || text[i] == '\\') return false;
    }
    return false;
}

// ".BMP" from "*.BMP;*.RLE".
AnsiString DefaultExtension(GFXFile* f)
{
    const AnsiString& masks = f->masks;
    int end = masks.Pos(";");
    AnsiString first = end ? masks.SubString(1, end - 1) : masks;
    return first.Pos("*") == 1 ? first.SubString(2, first.Length() - 1) : first;
}

}  // namespace

bool GFXFile::Test(AnsiString& name, GFXFileDesc* d)
{
    TInputStream s(name);
    GFXFile* f = ChooseFormat(name, s, d);
    if (d) d->format = f;
    return f != nullptr;
}

bool GFXFile::Load(Buffer& b, AnsiString& name, GFXtra32* x, int image, GFXFileDesc* d)
{
    TInputStream s(name);  // an open failure raises before any hook is called
    ProgressBracket progress;
    GFXFile* f = ChooseFormat(name, s, d);
    if (!f) throw EInvalidImage("no format recognises the file");
    s.SetPosition(0);
    return f->Load(b, &s, d, x, image);
}

bool GFXFile::Save(Buffer& b, AnsiString name, GFXtra32* x, GFXSaveParams* p)
{
    GFXSaveParams params;
    memset(&params, 0, sizeof params);
    if (p) params = *p;

    GFXFile* f = params.format;
    if (f) {
        if (!HasExtension(name)) name += DefaultExtension(f);
    } else {
        f = GetDefaultFormat(name);
        if (!f) {
            f = Formats();
            if (!f) throw EInvalidImage("no format registered");
            name += DefaultExtension(f);
        }
    }
    ValidateSaveParams(f, params);
    f->defaults = params;
    f->defaults.paletteData = nullptr;
    f->defaults.work = nullptr;

    // The old file stays until the new one is whole: a full disk, a
    // cancel or a refused picture must not cost the user the file.
    TReplacingFile file(name);
    bool written;
    {
        ProgressBracket progress;
        IndexImage index;
        Buffer* image = &b;
        if (NeedsIndexImage(params)) image = &index.Make(b, f, x, params);
        written = f->Save(*image, file.Stream(), x, &params);
    }
    if (written) file.Commit();
    return written;
}
