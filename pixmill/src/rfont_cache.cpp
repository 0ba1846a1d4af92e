#include "rfont_cache.h"

#include <stdint.h>
#include <string.h>

#include "rfont_file.h"
#include "streams.h"

namespace {

const size_t FileRecordBytes = 20;
const size_t EntryBytes = 44;

class Writer {
public:
    explicit Writer(TStream& out) : out_(out) {}
    void Int(uint32_t v)
    {
        unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        out_.WriteBuffer(b, 4);
    }
    void Bytes(const void* p, size_t n) { out_.WriteBuffer(p, int(n)); }

private:
    TStream& out_;
};

// Every read is checked against the end; a short file is simply "no match".
class Reader {
public:
    Reader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    bool Int(uint32_t& v)
    {
        if (Left() < 4) return false;
        const unsigned char* p = data_ + pos_;
        v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        pos_ += 4;
        return true;
    }
    bool Byte(unsigned char& v)
    {
        if (Left() < 1) return false;
        v = data_[pos_++];
        return true;
    }
    const char* Take(size_t n)
    {
        if (Left() < n) return nullptr;
        const char* p = reinterpret_cast<const char*>(data_ + pos_);
        pos_ += n;
        return p;
    }
    size_t Left() const { return size_ - pos_; }

private:
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The names of a block whose lengths are stored as described above: the
// first field holds the block size, field i the length of name i - 1.
bool SplitNames(const char* block, const std::vector<uint32_t>& fields, std::vector<const char*>& names)
{
    if (fields.empty()) return true;
    uint32_t total = fields[0], at = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        uint32_t length = i + 1 < fields.size() ? fields[i + 1] : total - at;
        if (at > total || length == 0 || length > total - at) return false;
        const char* name = block + at;
        if (strnlen(name, length) != length - 1) return false;
        names.push_back(name);
        at += length;
    }
    return at == total;
}

struct StoredFile {
    uint32_t nameField, size, timeLow, timeHigh, version;
};

bool ReadFiles(Reader& in, std::vector<StoredFile>& files, std::vector<const char*>& names)
{
    uint32_t count;
    if (!in.Int(count) || count > in.Left() / FileRecordBytes) return false;
    files.resize(count);
    std::vector<uint32_t> fields;
    for (StoredFile& f : files) {
        in.Int(f.nameField), in.Int(f.size), in.Int(f.timeLow), in.Int(f.timeHigh), in.Int(f.version);
        fields.push_back(f.nameField);
    }
    if (count == 0) return true;
    const char* block = in.Take(fields[0]);
    return block && SplitNames(block, fields, names);
}

struct StoredEntry {
    uint32_t nameField, familyCount, file, offset;
    FaceDesc d;
    unsigned char widest;
    uint32_t glyphBytes;
};

bool ReadEntry(Reader& in, StoredEntry& e)
{
    uint32_t pointer;
    in.Int(e.nameField), in.Int(e.familyCount), in.Int(e.file), in.Int(e.offset);
    in.Byte(e.d.size), in.Byte(e.d.rowBytes), in.Byte(e.d.first), in.Byte(e.d.last);
    in.Byte(e.d.spacing), in.Byte(e.d.spaceWidth), in.Byte(e.d.extra), in.Byte(e.widest);
    in.Int(e.glyphBytes);
    for (int i = 0; i < 4; ++i) in.Int(pointer);  // prepared data and users: nothing to keep
    return e.d.size > 0 && e.d.rowBytes > 0 && e.d.first <= e.d.last &&
           e.glyphBytes == uint32_t(e.d.size) * e.d.rowBytes;
}

// Family boundaries: a first entry counts its family, the rest hold 0.
bool ReadEntries(Reader& in, std::vector<StoredEntry>& entries, std::vector<uint32_t>& nameFields)
{
    uint32_t count;
    if (!in.Int(count) || count > in.Left() / EntryBytes) return false;
    entries.resize(count);
    uint32_t familyLeft = 0;
    for (StoredEntry& e : entries) {
        if (!ReadEntry(in, e)) return false;
        if (familyLeft == 0) {
            if (e.familyCount == 0 || e.familyCount > count) return false;
            familyLeft = e.familyCount;
            nameFields.push_back(e.nameField);
        } else if (e.familyCount != 0 || e.nameField != 0) {
            return false;
        }
        --familyLeft;
    }
    return familyLeft == 0;
}

// A file of a version not ours is recorded (so that the directory still
// matches) but never gives a face.
bool EntryFits(const StoredEntry& e, const std::vector<StoredFile>& files)
{
    return e.file < files.size() && files[e.file].version < RFontVersionLimit && e.offset <= files[e.file].size &&
           e.offset <= 0x7FFFFFFF;
}

// Families strictly ascending, sizes ascending within one.
bool Sorted(const FontRegistry& r)
{
    const RFontEntry* family = nullptr;
    for (size_t i = 0; i < r.entries.size(); ++i) {
        const RFontEntry& e = r.entries[i];
        if (e.familyCount) {
            if (family && CompareFamily(family->name, e.name) >= 0) return false;
            family = &e;
        } else if (e.size < r.entries[i - 1].size) {
            return false;
        }
    }
    return true;
}

bool Build(const std::vector<StoredFile>& files, const std::vector<const char*>& fileNames,
           const std::vector<StoredEntry>& entries, const std::vector<const char*>& familyNames, FontRegistry& r)
{
    r.files.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i)
        r.AddFile(fileNames[i], files[i].size, files[i].timeLow, files[i].timeHigh, int(files[i].version));
    char* name = nullptr;
    size_t family = 0;
    for (const StoredEntry& s : entries) {
        if (!EntryFits(s, files)) return false;
        if (s.familyCount) name = r.KeepName(familyNames[family], strlen(familyNames[family])), ++family;
        RFontEntry& e = r.AppendEntry();
        e.name = name;
        e.familyCount = int(s.familyCount);
        e.file = &r.files[s.file];
        e.offset = int(s.offset);
        e.size = s.d.size, e.rowBytes = s.d.rowBytes, e.first = s.d.first, e.last = s.d.last;
        e.spacing = s.d.spacing, e.spaceWidth = s.d.spaceWidth, e.extra = s.d.extra, e.widest = s.widest;
        e.glyphBytes = int(s.glyphBytes);
    }
    return Sorted(r);
}

uint32_t FileIndex(const FontRegistry& r, const RFontFile* f)
{
    return uint32_t(f - r.files.data());
}

void WriteEntry(Writer& w, const FontRegistry& r, const RFontEntry& e, uint32_t nameField)
{
    w.Int(nameField), w.Int(uint32_t(e.familyCount)), w.Int(FileIndex(r, e.file)), w.Int(uint32_t(e.offset));
    unsigned char b[8] = {e.size, e.rowBytes, e.first, e.last, e.spacing, e.spaceWidth, e.extra, e.widest};
    w.Bytes(b, 8);
    w.Int(uint32_t(e.glyphBytes));
    for (int i = 0; i < 4; ++i) w.Int(0);
}

uint32_t NameBytes(const char* s)
{
    return uint32_t(strlen(s) + 1);
}

}  // namespace

void WriteFontCache(const FontRegistry& r, TStream& out)
{
    Writer w(out);
    uint32_t fileBlock = 0;
    for (const RFontFile& f : r.files) fileBlock += NameBytes(f.name);
    w.Int(uint32_t(r.files.size()));
    for (size_t i = 0; i < r.files.size(); ++i) {
        const RFontFile& f = r.files[i];
        w.Int(i ? NameBytes(r.files[i - 1].name) : fileBlock);
        w.Int(f.size), w.Int(f.timeLow), w.Int(f.timeHigh), w.Int(uint32_t(f.version));
    }
    for (const RFontFile& f : r.files) w.Bytes(f.name, NameBytes(f.name));

    uint32_t familyBlock = 0;
    for (const RFontEntry& e : r.entries)
        if (e.familyCount) familyBlock += NameBytes(e.name);
    w.Int(uint32_t(r.entries.size()));
    const char* previous = nullptr;
    for (const RFontEntry& e : r.entries) {
        uint32_t field = 0;
        if (e.familyCount) field = previous ? NameBytes(previous) : familyBlock, previous = e.name;
        WriteEntry(w, r, e, field);
    }
    for (const RFontEntry& e : r.entries)
        if (e.familyCount) w.Bytes(e.name, NameBytes(e.name));
}

bool ReadFontCache(const unsigned char* data, size_t size, FontRegistry& r)
{
    Reader in(data, size);
    std::vector<StoredFile> files;
    std::vector<const char*> fileNames, familyNames;
    std::vector<StoredEntry> entries;
    std::vector<uint32_t> familyFields;
    if (!ReadFiles(in, files, fileNames) || !ReadEntries(in, entries, familyFields)) return false;
    if (!familyFields.empty()) {
        const char* block = in.Take(familyFields[0]);
        if (!block || !SplitNames(block, familyFields, familyNames)) return false;
    }
    if (in.Left() != 0) return false;
    FontRegistry built;
    if (!Build(files, fileNames, entries, familyNames, built)) return false;
    r = std::move(built);
    return true;
}

bool CacheMatches(const FontRegistry& r, const std::vector<FontFileInfo>& dir)
{
    if (r.files.size() != dir.size()) return false;
    for (const FontFileInfo& d : dir) {
        bool found = false;
        for (const RFontFile& f : r.files)
            if (CompareFamily(f.name, d.name.c_str()) == 0 && f.size == d.size && f.timeLow == d.timeLow &&
                f.timeHigh == d.timeHigh)
                found = true;
        if (!found) return false;
    }
    return true;
}
