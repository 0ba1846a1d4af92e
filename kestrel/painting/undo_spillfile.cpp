// Spill files: a 296-byte little-endian header (width, height, the picture's
// no-file flag, modified counter, file name, image number and selection
// rectangle), then the rectangle's 32-bit pixels, rows top first. Only the
// size is read back; the attributes stay in the step in memory.
#include <cstring>
#include <memory>
#include <new>

#include "exceptions.h"
#include "undo_internal.h"
#include "undo_platform.h"
#include "undo_settings.h"

namespace {

// Gives up on a folder that answers "exists" for every name.
const int MaxNameTries = 1000;
const int NameReplaceLength = 20;

void PutInt(unsigned char* p, long v)
{
    int32_t i = static_cast<int32_t>(v);
    std::memcpy(p, &i, 4);
}

int32_t GetInt(const unsigned char* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void MakeHeader(const UDBuffer& attrs, int w, int h, unsigned char* header)
{
    std::memset(header, 0, SpillHeaderSize);
    PutInt(header, w);
    PutInt(header + 4, h);
    header[8] = attrs.noFile;
    PutInt(header + 12, long(attrs.modified));
    // Longer names are cut: the name is never read back.
    std::strncpy(reinterpret_cast<char*>(header + 16), attrs.fileName.c_str(), SpillNameField - 1);
    PutInt(header + 276, attrs.imageNumber);
    PutInt(header + 280, attrs.selMinX);
    PutInt(header + 284, attrs.selMaxX);
    PutInt(header + 288, attrs.selMinY);
    PutInt(header + 292, attrs.selMaxY);
}

// "KS" + tick; while the name is taken a random capital letter is appended,
// or once the name is 20 characters long, put in place of one of its first 19.
void NextCandidate(AnsiString& base)
{
    UndoPlatform& sys = GetUndoPlatform();
    char letter = char('A' + sys.Random() % 26);
    if (base.Length() < NameReplaceLength) base += letter;
    else base[1 + sys.Random() % 19] = letter;
}

UndoFile* CreateSpillFile(AnsiString& name)
{
    UndoPlatform& sys = GetUndoPlatform();
    AnsiString dir = UndoDirectory();
    AnsiString base = AnsiString("KS") + AnsiString(unsigned(sys.TickCount()));
    for (int tries = 0; tries < MaxNameTries; ++tries) {
        // The exists test keeps the names the rule gives; creating the file
        // exclusively closes the race with another instance.
        if (!sys.Exists(dir + base)) {
            bool exists = false;
            UndoFile* f = sys.CreateNew(dir + base, exists);
            if (f) {
                name = dir + base;
                return f;
            }
            if (!exists) return nullptr;
        }
        NextCandidate(base);
    }
    return nullptr;
}

bool FinishWrite(UndoFile* f, bool ok, const AnsiString& name)
{
    ok = f->Close() && ok;
    delete f;
    if (!ok) GetUndoPlatform().Delete(name);
    return ok;
}

long long FileBytes(int w, int h) { return SpillHeaderSize + static_cast<long long>(w) * h * 4; }

}  // namespace

bool WriteSpillFile(const UDBuffer& attrs, Buffer& src, Rect rect, AnsiString& name)
{
    int w = rect.right - rect.left + 1, h = rect.bottom - rect.top + 1;
    if (w < 1 || h < 1 || rect.left < src.left || rect.top < src.top || rect.right > src.right ||
        rect.bottom > src.bottom)
        return false;
    AnsiString path;
    std::unique_ptr<UndoFile> f(CreateSpillFile(path));
    if (!f) return false;
    unsigned char header[SpillHeaderSize];
    MakeHeader(attrs, w, h, header);
    bool ok = f->Write(header, SpillHeaderSize);
    for (int y = rect.top; ok && y <= rect.bottom; ++y) ok = f->Write(src.At(rect.left, y), unsigned(w) * 4);
    if (!FinishWrite(f.release(), ok, path)) return false;
    name = path;
    return true;
}

SpillRead ReadSpillFile(const AnsiString& name, int w, int h, Buffer& out)
{
    std::unique_ptr<UndoFile> f(GetUndoPlatform().OpenRead(name));
    if (!f) return SpillUnreadable;
    unsigned char header[SpillHeaderSize];
    // Everything is checked before a block is allocated: a damaged header
    // must not size the picture.
    if (f->Size() != FileBytes(w, h) || !f->Read(header, SpillHeaderSize) || GetInt(header) != w ||
        GetInt(header + 4) != h) {
        f->Close();
        return SpillUnreadable;
    }
    Buffer data;
    try {
        AllocStepPixels(data, w, h);
    } catch (const EOutOfMemory&) {
        f->Close();
        return SpillNoMemory;
    }
    bool ok = true;
    for (int y = 0; ok && y < h; ++y) ok = f->Read(data.At(0, y), unsigned(w) * 4);
    f->Close();
    if (!ok) return SpillUnreadable;
    out = data;
    return SpillOk;
}

bool CropSpillFile(const AnsiString& oldName, int oldW, int oldH, Rect crop, AnsiString& newName)
{
    int w = crop.right - crop.left + 1, h = crop.bottom - crop.top + 1;
    if (w < 1 || h < 1 || crop.left < 0 || crop.top < 0 || crop.right >= oldW || crop.bottom >= oldH) return false;
    std::unique_ptr<unsigned long[]> row(new (std::nothrow) unsigned long[size_t(w)]);
    if (!row) return false;
    std::unique_ptr<UndoFile> in(GetUndoPlatform().OpenRead(oldName));
    if (!in) return false;
    unsigned char header[SpillHeaderSize];
    if (in->Size() != FileBytes(oldW, oldH) || !in->Read(header, SpillHeaderSize)) {
        in->Close();
        return false;
    }
    AnsiString path;
    std::unique_ptr<UndoFile> out(CreateSpillFile(path));
    if (!out) {
        in->Close();
        return false;
    }
    PutInt(header, w);
    PutInt(header + 4, h);
    bool ok = out->Write(header, SpillHeaderSize);
    for (int y = 0; ok && y < h; ++y) {
        long long at = SpillHeaderSize + (static_cast<long long>(crop.top + y) * oldW + crop.left) * 4;
        ok = in->Seek(at) && in->Read(row.get(), unsigned(w) * 4) && out->Write(row.get(), unsigned(w) * 4);
    }
    in->Close();
    if (!FinishWrite(out.release(), ok, path)) return false;
    newName = path;
    return true;
}
