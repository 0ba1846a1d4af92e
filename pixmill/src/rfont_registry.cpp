#include "rfont_registry.h"

#include <string.h>

#include "heap.h"

namespace {

FontRegistry registry;
bool built;

int Lower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

}  // namespace

int CompareFamily(const char* a, const char* b)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    while (*p && Lower(*p) == Lower(*q)) ++p, ++q;
    return Lower(*p) - Lower(*q);
}

char* FontRegistry::KeepName(const char* s, size_t length)
{
    std::unique_ptr<char[]> copy(new char[length + 1]);
    memcpy(copy.get(), s, length);
    copy[length] = 0;
    names_.push_back(std::move(copy));
    return names_.back().get();
}

RFontFile& FontRegistry::AddFile(const char* name, unsigned long size, unsigned long timeLow,
                                 unsigned long timeHigh, int version)
{
    RFontFile f = {KeepName(name, strlen(name)), size, timeLow, timeHigh, version};
    files.push_back(f);
    return files.back();
}

FontRegistry& FontRegistry::operator=(FontRegistry&& other)
{
    if (this != &other) {
        FreeAllPrepared();
        files = std::move(other.files);
        entries = std::move(other.entries);
        names_ = std::move(other.names_);
        other.entries.clear();
    }
    return *this;
}

RFontEntry& FontRegistry::AppendEntry()
{
    entries.push_back(RFontEntry());
    return entries.back();
}

void FontRegistry::AddFace(const char* family, int fileIndex, int offset, const FaceDesc& d)
{
    size_t at = 0;
    while (at < entries.size() && CompareFamily(entries[at].name, family) < 0) at += size_t(entries[at].familyCount);
    bool known = at < entries.size() && CompareFamily(entries[at].name, family) == 0;
    size_t start = at;
    int count = known ? entries[start].familyCount : 0;
    while (at < start + size_t(count) && entries[at].size < d.size) ++at;

    RFontEntry e = RFontEntry();
    e.name = known ? entries[start].name : KeepName(family, strlen(family));
    e.file = &files[size_t(fileIndex)];
    e.offset = offset;
    e.size = d.size;
    e.rowBytes = d.rowBytes;
    e.first = d.first;
    e.last = d.last;
    e.spacing = d.spacing;
    e.spaceWidth = d.spaceWidth;
    e.extra = d.extra;
    e.glyphBytes = int(d.size) * d.rowBytes;
    entries.insert(entries.begin() + ptrdiff_t(at), e);
    // The count always sits in the family's first entry.
    if (known && at == start) entries[start + 1].familyCount = 0;
    entries[start].familyCount = count + 1;
}

void FreePrepared(RFontEntry& e)
{
    HeapFree(e.widths);
    HeapFree(e.index);
    HeapFree(e.glyphs);
    e.widths = e.index = e.glyphs = nullptr;
}

void FontRegistry::FreeAllPrepared()
{
    for (RFontEntry& e : entries) FreePrepared(e);
}

int FamilyStart(const FontRegistry& r, const RFontEntry* e)
{
    int i = int(e - r.entries.data());
    while (i > 0 && r.entries[size_t(i)].familyCount == 0) --i;
    return i;
}

FontRegistry& TheRegistry()
{
    return registry;
}

bool RegistryBuilt()
{
    return built;
}

void SetRegistry(FontRegistry&& r)
{
    registry = std::move(r);
    built = true;
}

void ResetRegistry()
{
    registry = FontRegistry();
    built = false;
}
