// Internal to the metafile record checks: one record's bytes read with
// every access bounded, and the check of a device-independent bitmap that a
// record carries.
#ifndef PIXMILL_METAFILE_CHECK_PARTS_H
#define PIXMILL_METAFILE_CHECK_PARTS_H

#include <stddef.h>
#include <stdint.h>

#include "byte_order.h"

namespace metafile_check {

[[noreturn]] void Refuse(const char* rule);

// A record: offsets are from its first byte; reading past its end refuses.
class Record {
public:
    Record(const unsigned char* p, uint64_t size) : p_(p), size_(size) {}
    uint64_t Size() const { return size_; }
    unsigned U16(uint64_t at) const
    {
        Need(at, 2);
        return GetLE16(p_ + at);
    }
    uint32_t U32(uint64_t at) const
    {
        Need(at, 4);
        return GetLE32(p_ + at);
    }
    int32_t S32(uint64_t at) const { return int32_t(U32(at)); }
    // bytes from at lie inside the record.
    void Need(uint64_t at, uint64_t bytes) const
    {
        if (at > size_ || bytes > size_ - at) Refuse("record data outside the record");
    }
    const unsigned char* At(uint64_t at) const { return p_ + at; }

private:
    const unsigned char* p_;
    uint64_t size_;
};

// A bitmap's info (header and colour table) in infoBytes and its bits in
// bitsBytes; paletteIndices is DIB_PAL_COLORS (2-byte table entries).
void CheckDib(const unsigned char* info, uint64_t infoBytes, uint64_t bitsBytes, bool paletteIndices);

// Bytes the colour table of a bitmap info takes, for bits that follow it.
uint64_t DibInfoBytes(const unsigned char* info, uint64_t infoBytes, bool paletteIndices);

void CheckEnhanced(const unsigned char* data, size_t size);
void CheckWindows(const unsigned char* data, size_t size);

}  // namespace metafile_check

#endif
