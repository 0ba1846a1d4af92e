// RFont objects: selecting a face of the registry, and preparing its glyphs.
#include "rfont.h"

#include <stdlib.h>

#include <memory>

#include "rfont_file.h"
#include "rfont_registry.h"
#include "rfont_system.h"
#include "streams.h"

namespace {

// The entries of e's family.
RFontEntry* FamilyBegin(RFontEntry* e)
{
    return TheRegistry().entries.data() + FamilyStart(TheRegistry(), e);
}

RFontEntry* FamilyEnd(RFontEntry* e)
{
    RFontEntry* first = FamilyBegin(e);
    return first + first->familyCount;
}

RFontEntry* FindFamily(const char* name)
{
    std::vector<RFontEntry>& entries = TheRegistry().entries;
    for (size_t i = 0; i < entries.size(); i += size_t(entries[i].familyCount))
        if (CompareFamily(entries[i].name, name) == 0) return &entries[i];
    return nullptr;
}

int Distance(int a, int b)
{
    return abs(a - b);
}

}  // namespace

RFont::RFont() : mode(1), spaceSize(UseFace), spacing(UseFace), reserved(0), entry(nullptr) {}

RFont::RFont(const RFont& other)
    : mode(other.mode), spaceSize(other.spaceSize), spacing(other.spacing), reserved(other.reserved), entry(nullptr)
{
    Select(other.entry);
}

RFont& RFont::operator=(const RFont& other)
{
    mode = other.mode;
    spaceSize = other.spaceSize;
    spacing = other.spacing;
    reserved = other.reserved;
    Select(other.entry);
    return *this;
}

RFont::~RFont()
{
    Select(nullptr);
}

// Every selecting font counts as a user, so the prepared data lives exactly
// as long as someone may draw with it.
void RFont::Select(RFontEntry* e)
{
    if (e == entry) return;
    if (e) ++e->users;
    RFontEntry* old = entry;
    entry = e;
    if (old && --old->users <= 0) {
        old->users = 0;
        FreePrepared(*old);
    }
}

AnsiString RFont::GetName()
{
    return entry ? AnsiString(entry->name) : AnsiString();
}

void RFont::SetName(AnsiString name)
{
    InitReg();
    if (entry && CompareFamily(entry->name, name.c_str()) == 0) return;
    RFontEntry* family = FindFamily(name.c_str());
    if (!family || !entry) {
        Select(family);
        return;
    }
    // Strictly nearer wins, so of two equally near sizes the smaller stays.
    RFontEntry* best = family;
    for (RFontEntry* e = family; e != family + family->familyCount; ++e)
        if (Distance(e->size, entry->size) < Distance(best->size, entry->size)) best = e;
    Select(best);
}

int RFont::GetSize()
{
    return entry ? entry->size : 0;
}

void RFont::SetSize(int n)
{
    if (!entry) return;
    RFontEntry* e = entry;
    RFontEntry* begin = FamilyBegin(e);
    RFontEntry* end = FamilyEnd(e);
    while (e != begin && Distance(e[-1].size, n) <= Distance(e->size, n)) --e;
    while (e + 1 != end && Distance(e[1].size, n) < Distance(e->size, n)) ++e;
    Select(e);
}

int RFont::GetSpacing()
{
    if (spacing != UseFace) return spacing;
    return entry ? entry->spacing : 0;
}

int RFont::GetSpaceSize()
{
    if (spaceSize != UseFace) return spaceSize;
    return entry ? entry->spaceWidth : 0;
}

void RFont::Prepare()
{
    RFontSystem* sys = GetRFontSystem();
    if (!entry || entry->glyphs || !sys) return;
    std::unique_ptr<TStream> in(sys->OpenRead(AnsiString(path) + entry->file->name));
    if (in) LoadFace(*in, *entry, entry->file->version);
}

void RFont::Unprepare()
{
    if (entry) FreePrepared(*entry);
}
