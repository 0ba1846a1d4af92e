// The format registry: the list of formats, extension look-up, probing, the
// save-parameter rules and the progress hooks.
#include "gfxfile.h"

#include <stddef.h>
#include <string.h>

#include "exceptions.h"
#include "formats.h"
#include "saveparams.h"

// The program reads these records directly.
static_assert(sizeof(GFXFileDesc) == 28, "GFXFileDesc layout");
static_assert(offsetof(GFXFileDesc, images) == 12, "GFXFileDesc layout");
static_assert(offsetof(GFXFileDesc, format) == 16, "GFXFileDesc layout");
static_assert(offsetof(GFXFileDesc, interlaced) == 20, "GFXFileDesc layout");
static_assert(offsetof(GFXFileDesc, paletteData) == 24, "formats clear the first 24 bytes");
static_assert(sizeof(GFXSaveParams) == 20, "GFXSaveParams layout");
static_assert(offsetof(GFXSaveParams, colours) == 4, "GFXSaveParams layout");
static_assert(offsetof(GFXSaveParams, format) == 8, "GFXSaveParams layout");
static_assert(offsetof(GFXSaveParams, work) == 16, "GFXSaveParams layout");
static_assert(sizeof(GFXtra32) == 12, "GFXtra32 layout");
// GFXFile has virtual functions, so offsetof is only "conditionally
// supported"; g++ gives the true offsets for a class without virtual bases.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(GFXFile, next) == 4, "GFXFile layout: after the virtual table");
static_assert(offsetof(GFXFile, colourMask) == 16, "GFXFile layout");
static_assert(offsetof(GFXFile, defaults) == 24, "GFXFile layout");
#pragma GCC diagnostic pop
static_assert(sizeof(GFXFile) == 44, "GFXFile layout");

static GFXFile* formatList;

void (*GFXFile::PrStart)();
bool (*GFXFile::PrStep)(int);
void (*GFXFile::PrEnd)();

GFXFile::GFXFile(const char* name_, const char* masks_, unsigned long colour, unsigned char grey, bool interlace_,
                 char quality_)
    : next(nullptr), name(name_), masks(masks_), colourMask(uint32_t(colour)), greyMask(grey),
      interlace(interlace_), quality(int8_t(quality_)), defaults()
{
    int rank = FormatRank(name_);
    GFXFile** at = &formatList;
    while (*at && FormatRank((*at)->name.c_str()) <= rank) at = &(*at)->next;
    next = *at;
    *at = this;
    if (colour || grey) {
        defaults.grey = colour ? 0 : 1;
        ValidateSaveParams(this, defaults);
    }
}

GFXFile::~GFXFile()
{
    for (GFXFile** p = &formatList; *p; p = &(*p)->next)
        if (*p == this) {
            *p = next;
            break;
        }
}

bool GFXFile::Save(Buffer&, TOutputStream*, GFXtra32*, GFXSaveParams*)
{
    return false;
}

GFXFile* GFXFile::Formats()
{
    RegisterFormats();
    return formatList;
}

void GFXFile::SetProgFunc(void (*start)(), bool (*step)(int), void (*end)())
{
    PrStart = start;
    PrStep = step;
    PrEnd = end;
}

bool GFXFile::Step(int percent)
{
    return !PrStep || PrStep(percent);
}

int GFXFile::Percent(int64_t done, int64_t total)
{
    if (total <= 0 || done <= 0) return 0;
    if (done >= total) return 100;
    return int(done * 100 / total);
}

GFXFile* GFXFile::GetFormat(TInputStream* s, GFXFileDesc* d)
{
    for (GFXFile* f = Formats(); f; f = f->next)
        if (f->Test(s, d) != 0) {
            if (d) d->format = f;
            return f;
        }
    return nullptr;
}

GFXFile* GFXFile::GetDefaultFormat(AnsiString& fileName)
{
    const char* text = fileName.c_str();
    int dot = -1;
    for (int i = fileName.Length() - 1; i >= 0; i--) {
        char c = text[i];
        if (c == '.') {
            dot = i;
            break;
        }
        if (c == '/' || c == ':' || c == '\\') return nullptr;
    }
    if (dot < 0) return nullptr;
    AnsiString ext = AnsiString(text + dot).UpperCase();
    for (GFXFile* f = Formats(); f; f = f->next) {
        const AnsiString& masks_ = f->masks;
        int at = masks_.Pos(ext);
        if (at == 0) continue;
        // Only the first occurrence counts, and it must end the mask.
        int end = at + ext.Length();
        if (end > masks_.Length() || masks_[end] == ';') return f;
    }
    return nullptr;
}
