// Building the registry: from "fonts.bin" while it matches the directory,
// else by parsing every font file and writing the cache anew.
#include <memory>
#include <new>

#include "exceptions.h"
#include "rfont.h"
#include "rfont_cache.h"
#include "rfont_file.h"
#include "rfont_registry.h"
#include "rfont_system.h"
#include "streams.h"

namespace {

const char CacheName[] = "fonts.bin";
// Far beyond any real cache; a larger file is not read at all.
const int CacheLimit = 64 << 20;

bool LoadCache(RFontSystem& sys, const std::vector<FontFileInfo>& dir, FontRegistry& r)
{
    std::unique_ptr<TStream> in(sys.OpenRead(AnsiString(RFont::path) + CacheName));
    if (!in) return false;
    int size = in->GetSize();
    if (size < 0 || size > CacheLimit) return false;
    std::vector<unsigned char> data(size_t(size) + 1);
    try {
        in->Seek(0, soFromBeginning);
        in->ReadBuffer(data.data(), size);
    } catch (EStreamError&) {
        return false;
    }
    return ReadFontCache(data.data(), size_t(size), r) && CacheMatches(r, dir);
}

void ScanFile(RFontSystem& sys, const FontFileInfo& f, int index, FontRegistry& r)
{
    std::unique_ptr<TStream> in(sys.OpenRead(AnsiString(RFont::path) + f.name));
    ScannedFont font;
    if (in) font = ScanFontFile(*in);
    r.AddFile(f.name.c_str(), f.size, f.timeLow, f.timeHigh, font.version);
    for (const ScannedFace& face : font.faces) r.AddFace(font.family.c_str(), index, face.offset, face.desc);
}

void Scan(RFontSystem& sys, const std::vector<FontFileInfo>& dir, FontRegistry& r)
{
    r.files.reserve(dir.size());
    for (size_t i = 0; i < dir.size(); ++i) ScanFile(sys, dir[i], int(i), r);
}

// Written in memory first, so that a failure leaves no half-written cache.
void SaveCache(RFontSystem& sys, const FontRegistry& r)
{
    AnsiString file = AnsiString(RFont::path) + CacheName;
    TMemoryStream bytes;
    WriteFontCache(r, bytes);
    std::unique_ptr<TStream> out(sys.Create(file));
    bool written = false;
    if (out) {
        try {
            out->WriteBuffer(bytes.GetMemory(), bytes.GetSize());
            written = true;
        } catch (EStreamError&) {
        }
    }
    out.reset();
    if (!written) sys.Remove(file);
}

void Build(RFontSystem& sys)
{
    std::vector<FontFileInfo> dir = sys.ListFonts(RFont::path);
    FontRegistry r;
    if (!LoadCache(sys, dir, r)) {
        r = FontRegistry();
        Scan(sys, dir, r);
        SaveCache(sys, r);
    }
    SetRegistry(std::move(r));
}

}  // namespace

void RFont::InitReg()
{
    RFontSystem* sys = GetRFontSystem();
    if (RegistryBuilt() || !path[0] || !sys) return;
    try {
        Build(*sys);
    } catch (std::bad_alloc&) {
        EOutOfMemory e;
        e.Message = "RFontInit";
        throw e;
    } catch (EOutOfMemory&) {
        EOutOfMemory e;
        e.Message = "RFontInit";
        throw e;
    }
}

RFontEntry* RFont::GetReg()
{
    return TheRegistry().entries.data();
}

int RFont::GetCount()
{
    return int(TheRegistry().entries.size());
}
