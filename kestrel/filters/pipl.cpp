#include "pipl.h"

#include <stdio.h>

namespace {

// Reads from a resource's bytes; once a read would pass the end, every
// later read fails too.
class ByteReader {
public:
    ByteReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    size_t Left() const { return size_ - pos_; }
    size_t Pos() const { return pos_; }

    unsigned long U32()
    {
        if (!Need(4)) return 0;
        const unsigned char* p = data_ + pos_;
        pos_ += 4;
        return (unsigned long)p[0] | (unsigned long)p[1] << 8 | (unsigned long)p[2] << 16 | (unsigned long)p[3] << 24;
    }
    int U16()
    {
        if (!Need(2)) return -1;
        const unsigned char* p = data_ + pos_;
        pos_ += 2;
        return p[0] | p[1] << 8;
    }
    int PeekU16() const { return Left() >= 2 && ok_ ? (data_[pos_] | data_[pos_ + 1] << 8) : -1; }
    void Skip(size_t n)
    {
        if (Need(n)) pos_ += n;
    }
    const unsigned char* Take(size_t n)
    {
        if (!Need(n)) return nullptr;
        const unsigned char* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    // A zero-terminated string; without its zero the reader fails.
    std::string CString()
    {
        std::string s;
        while (ok_ && pos_ < size_ && data_[pos_] != 0) s += char(data_[pos_++]);
        if (pos_ >= size_) ok_ = false;
        if (ok_) pos_++;
        return s;
    }

private:
    bool Need(size_t n)
    {
        if (!ok_ || n > size_ - pos_) ok_ = false;
        return ok_;
    }
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// One length byte, then the characters, all within the property's data.
bool PascalString(const unsigned char* p, size_t length, std::string& out)
{
    if (length < 1 || p[0] > length - 1) return false;
    out.assign(reinterpret_cast<const char*>(p + 1), p[0]);
    return true;
}

}  // namespace

bool ParsePiPL(const unsigned char* data, size_t size, PlugInDescription& out)
{
    ByteReader r(data, size);
    r.Skip(6);
    const unsigned long count = r.U32();
    bool kind = false, name = false, catg = false, entry = false;
    PlugInDescription d;
    for (unsigned long i = 0; i < count && r.ok() && !(kind && name && catg && entry); i++) {
        const unsigned long vendor = r.U32(), key = r.U32();
        r.U32();  // ID
        const unsigned long length = r.U32();
        if (!r.ok()) return false;
        // The padded length is checked against what is left before it is
        // rounded, so a length near 4 GB cannot wrap to a small step.
        if (length > r.Left()) return false;
        const size_t padded = (size_t(length) + 3) & ~size_t(3);
        const unsigned char* p = r.Take(padded > r.Left() ? r.Left() : padded);
        if (!p) return false;
        if (vendor != FourCC8BIM) continue;
        if (key == FourCCKind) {
            if (length < 4) return false;
            kind = ((unsigned long)p[0] | (unsigned long)p[1] << 8 | (unsigned long)p[2] << 16 |
                    (unsigned long)p[3] << 24) == FourCCFilter;
            if (!kind) return false;
        } else if (key == FourCCName) {
            if (!PascalString(p, length, d.name)) return false;
            name = true;
        } else if (key == FourCCCatg) {
            if (!PascalString(p, length, d.category)) return false;
            catg = true;
        } else if (key == FourCCWx86) {
            size_t n = 0;
            while (n < length && p[n] != 0) n++;
            d.entry.assign(reinterpret_cast<const char*>(p), n);
            entry = !d.entry.empty();
        }
    }
    if (!r.ok() || !kind || !entry) return false;
    out = d;
    return true;
}

void ParsePIMI(const unsigned char* data, size_t size, int id, PlugInDescription& out)
{
    char entry[32];
    snprintf(entry, sizeof entry, "ENTRYPOINT%i", id);
    out = PlugInDescription();
    out.entry = entry;
    ByteReader r(data, size);
    if (r.PeekU16() != 3) return;
    r.U16();
    const std::string category = r.CString();
    if (!r.ok()) return;
    out.category = category;
    if (r.U16() != 4) return;
    r.Skip(16);
    if (r.PeekU16() != 3) r.Skip(1);
    if (r.U16() != 3) return;
    const std::string name = r.CString();
    if (r.ok()) out.name = name;
}
