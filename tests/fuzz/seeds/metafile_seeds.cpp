// Metafile seeds: for every record the checks read, a Windows metafile or
// an enhanced metafile holding that record alone (so that a refusal of one
// does not hide the others), records that carry a bitmap with a real one,
// and a metafile behind a placeable header.
#include <string>

#include "seed_writer.h"

namespace {

const unsigned WindowsRecords[] = {0x012D, 0x01F0, 0x0234, 0x012C, 0x012A, 0x012B, 0x0228, 0x0429, 0x0324,
                                   0x0325, 0x0538, 0x0521, 0x0A32, 0x00F7, 0x0037, 0x0436, 0x06FF, 0x0626,
                                   0x0940, 0x0B41, 0x0F43, 0x0D33, 0x0142, 0x0922, 0x0B23, 0x01F9};
// Records carrying a bitmap, and the parameter words before it.
const struct {
    unsigned function, words;
} BitmapRecords[] = {{0x0940, 8}, {0x0B41, 10}, {0x0F43, 11}, {0x0D33, 9}, {0x0142, 2}};
const unsigned EnhancedRecords[] = {2,  3,  4,  5,  6,  85, 86,  87,  88, 89, 7,  8,  90, 91, 56, 92, 37,
                                    48, 38, 39, 40, 51, 82, 99,  100, 101, 122, 49, 50, 70, 71, 72, 73, 74,
                                    75, 76, 77, 114, 116, 78, 79, 80, 81, 83, 84, 93, 94, 95, 118};
// Longer than the fixed part of any enhanced record type.
const size_t EnhancedRecordBytes = 344;

// A 2 x 2 picture of 24 bits: its header, then two rows of 8 bytes.
Bytes Bitmap()
{
    Bytes b;
    PutLE32(b, 40), PutLE32(b, 2), PutLE32(b, 2), PutLE16(b, 1), PutLE16(b, 24);
    PutZeros(b, 24);
    for (int i = 0; i < 16; ++i) b.push_back(static_cast<unsigned char>(i * 16));
    return b;
}

Bytes WindowsRecord(unsigned function, const Bytes& params)
{
    Bytes r;
    PutLE32(r, uint32_t(3 + params.size() / 2));
    PutLE16(r, function);
    r.insert(r.end(), params.begin(), params.end());
    return r;
}

// A header for four objects, the records, and the end record.
Bytes WindowsMetafile(const Bytes& records)
{
    Bytes m;
    PutLE16(m, 1), PutLE16(m, 9), PutLE16(m, 0x300);
    PutLE32(m, 0);  // size in words, set below
    PutLE16(m, 4), PutLE32(m, 64), PutLE16(m, 0);
    m.insert(m.end(), records.begin(), records.end());
    Bytes end = WindowsRecord(0, Bytes());
    m.insert(m.end(), end.begin(), end.end());
    SetLE32(m, 6, uint32_t(m.size() / 2));
    return m;
}

Bytes EnhancedMetafile(unsigned type)
{
    Bytes m;
    PutLE32(m, 1), PutLE32(m, 88);
    PutZeros(m, 32);
    PutLE32(m, 0x464D4520u), PutLE32(m, 0x10000);
    PutLE32(m, 0);  // total bytes, set below
    PutLE32(m, 3), PutLE16(m, 4), PutLE16(m, 0);
    PutZeros(m, 28);
    Bytes r;
    PutLE32(r, type), PutLE32(r, uint32_t(EnhancedRecordBytes));
    PutZeros(r, EnhancedRecordBytes - 8);
    m.insert(m.end(), r.begin(), r.end());
    PutLE32(m, 14), PutLE32(m, 20), PutLE32(m, 0), PutLE32(m, 16), PutLE32(m, 20);
    SetLE32(m, 48, uint32_t(m.size()));
    return m;
}

}  // namespace

void WriteMetafileSeeds(const std::string& root)
{
    for (unsigned f : WindowsRecords)
        WriteSeed(root, "wmf_fuzz", "wmf" + std::to_string(f), WindowsMetafile(WindowsRecord(f, Bytes(32, 0))));
    for (const auto& r : BitmapRecords) {
        Bytes params(2 * r.words, 0);
        Bytes bitmap = Bitmap();
        params.insert(params.end(), bitmap.begin(), bitmap.end());
        WriteSeed(root, "wmf_fuzz", "bitmap" + std::to_string(r.function),
                  WindowsMetafile(WindowsRecord(r.function, params)));
    }
    Bytes placeable = {0xD7, 0xCD, 0xC6, 0x9A};
    PutZeros(placeable, 18);
    Bytes inner = WindowsMetafile(WindowsRecord(0x0324, Bytes(32, 0)));
    placeable.insert(placeable.end(), inner.begin(), inner.end());
    WriteSeed(root, "wmf_fuzz", "placeable", placeable);
    for (unsigned t : EnhancedRecords) WriteSeed(root, "wmf_fuzz", "emf" + std::to_string(t), EnhancedMetafile(t));
}
