// Measuring clipboard bitmaps from other programs: where the pixels start,
// how many bytes of them there are, and which blocks are refused before a
// decoder reads past their end.
#include <climits>
#include <cstring>

#include "../pixmill/format_fixture.h"
#include "clipboard_dib.h"
#include "fixed_memory_stream.h"

using namespace format_fixture;

namespace {

const unsigned BitFields = 3;

struct DibHeader {
    unsigned size;
    int width, height;
    unsigned bits, compression, imageSize, coloursUsed;
};

// The header, then zeros up to blockSize.
Bytes Block(const DibHeader& h, size_t blockSize)
{
    Bytes b;
    Put32(b, h.size);
    Put32(b, unsigned(h.width));
    Put32(b, unsigned(h.height));
    Put16(b, 1);
    Put16(b, h.bits);
    Put32(b, h.compression);
    Put32(b, h.imageSize);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, h.coloursUsed);
    Put32(b, 0);
    b.resize(blockSize);
    return b;
}

struct Measured {
    const char* what;
    DibHeader header;
    size_t blockSize;
    int infoBytes, bitsBytes;
};

const Measured kMeasured[] = {
    {"32-bit rows after the header", {40, 2, 2, 32, 0, 0, 0}, 56, 40, 16},
    {"bit-field masks before the rows", {40, 2, 2, 32, BitFields, 0, 0}, 68, 52, 16},
    {"masks inside a long header", {108, 2, 2, 32, BitFields, 0, 0}, 124, 108, 16},
    {"top-down rows", {40, 2, -2, 32, 0, 0, 0}, 56, 40, 16},
    {"full implied palette", {40, 3, 1, 8, 0, 0, 0}, 1068, 1064, 4},
    {"palette of the used colours", {40, 3, 1, 8, 0, 0, 2}, 52, 48, 4},
    {"no implied table past 8 bits", {40, 1, 1, 24, 0, 0, 0}, 44, 40, 4},
    {"oversized colour count is no table", {40, 1, 1, 32, 0, 0, 1000}, 44, 40, 4},
    {"image size cut to the block", {40, 2, 2, 32, 0, 1 << 30, 0}, 56, 40, 16},
    {"row count cut to the block", {40, 1, INT_MIN + 1, 32, 0, 0, 0}, 48, 40, 8},
};

TEST(ClipboardDib, MeasuresTheParts)
{
    for (const Measured& m : kMeasured) {
        SCOPED_TRACE(m.what);
        Bytes block = Block(m.header, m.blockSize);
        ClipboardDibLayout layout = {-1, -1};
        ASSERT_TRUE(MeasureClipboardDib(block.data(), int(block.size()), layout));
        EXPECT_EQ(m.infoBytes, layout.infoBytes);
        EXPECT_EQ(m.bitsBytes, layout.bitsBytes);
    }
}

struct Refused {
    const char* what;
    DibHeader header;
    size_t blockSize;
};

const Refused kRefused[] = {
    {"shorter than a header", {40, 1, 1, 32, 0, 0, 0}, 39},
    {"header larger than the block", {1000, 1, 1, 32, 0, 0, 0}, 200},
    {"header size beyond 31 bits", {0xFFFFFFF0u, 1, 1, 32, 0, 0, 0}, 200},
    {"short-form header", {12, 1, 1, 32, 0, 0, 0}, 200},
    {"palette past the block", {40, 1, 1, 8, 0, 0, 0}, 200},
    {"masks past the block", {40, 1, 1, 32, BitFields, 0, 0}, 48},
    {"no pixels at all", {40, 1, 1, 32, 0, 0, 0}, 40},
    {"no width", {40, 0, 1, 32, 0, 0, 0}, 200},
    {"negative width", {40, -5, 1, 32, 0, 0, 0}, 200},
    {"no height", {40, 1, 0, 32, 0, 0, 0}, 200},
    {"row count beyond any picture", {40, 1, INT_MIN, 32, 0, 0, 0}, 200},
    {"no bits per pixel", {40, 1, 1, 0, 0, 0, 0}, 200},
};

TEST(ClipboardDib, RefusesDamagedBlocks)
{
    for (const Refused& r : kRefused) {
        SCOPED_TRACE(r.what);
        Bytes block = Block(r.header, r.blockSize);
        ClipboardDibLayout layout = {-1, -1};
        EXPECT_FALSE(MeasureClipboardDib(block.data(), int(block.size()), layout));
        EXPECT_EQ(-1, layout.infoBytes);
    }
}

TEST(FixedMemoryStream, ReadsTheBlockAndLeavesItAlone)
{
    const unsigned char block[] = {1, 2, 3, 4, 5};
    TFixedMemoryStream stream(block + 1, 3);
    unsigned char got[4] = {};
    EXPECT_EQ(0, stream.Write("xyz", 3));
    EXPECT_EQ(3, stream.GetSize());
    EXPECT_EQ(3, stream.Read(got, 4));
    EXPECT_EQ(0, std::memcmp(got, "\x02\x03\x04", 3));
    EXPECT_EQ(0, stream.Read(got, 1));
    EXPECT_EQ(4, block[3]);
}

}  // namespace
