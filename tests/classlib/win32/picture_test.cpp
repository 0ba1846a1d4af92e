// BMP streams, metafiles and icons: round trips through memory streams and
// damaged input, all without a display.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include "bitmap.h"
#include "canvas.h"
#include "icon.h"
#include "metafile.h"

namespace {

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

unsigned PixelOf(TGraphic& graphic, int width, int height, int x, int y)
{
    TBitmap target;
    target.SetSize(width, height);
    target.GetCanvas()->StretchDraw(RECT{0, 0, width, height}, &graphic);
    return unsigned(target.GetCanvas()->GetPixels(x, y));
}

TMemoryStream* StreamOf(const std::vector<unsigned char>& bytes, TMemoryStream& stream)
{
    stream.Clear();
    stream.WriteBuffer(bytes.data(), int(bytes.size()));
    stream.SetPosition(0);
    return &stream;
}

std::vector<unsigned char> BytesOf(TMemoryStream& stream)
{
    const unsigned char* p = static_cast<const unsigned char*>(stream.GetMemory());
    return std::vector<unsigned char>(p, p + stream.GetSize());
}

void Put16(std::vector<unsigned char>& v, unsigned x)
{
    v.push_back(BYTE(x));
    v.push_back(BYTE(x >> 8));
}

void Put32(std::vector<unsigned char>& v, unsigned x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

}  // namespace

TEST(BitmapStream, RoundTripsEachFormat)
{
    for (TPixelFormat format : {pfDevice, pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap a;
        a.SetPixelFormat(format);
        a.SetSize(7, 5);
        a.GetCanvas()->SetPixels(2, 3, clBlack);
        a.GetCanvas()->SetPixels(6, 0, format == pf1bit ? clBlack : clRed);
        TMemoryStream stream;
        a.SaveToStream(&stream);
        stream.SetPosition(0);
        TBitmap b;
        b.LoadFromStream(&stream);
        EXPECT_EQ(b.GetWidth(), 7) << format;
        EXPECT_EQ(b.GetHeight(), 5) << format;
        EXPECT_EQ(b.GetCanvas()->GetPixels(2, 3), clBlack) << format;
        EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clWhite) << format;
        EXPECT_EQ(b.GetCanvas()->GetPixels(6, 0), format == pf1bit ? clBlack : clRed) << format;
        EXPECT_EQ(stream.GetPosition(), stream.GetSize());
    }
}

TEST(BitmapStream, ReadsRle8AndTopDown)
{
    // 4x2, 8 bits, RLE: row 0 (bottom) = 4 x colour 1, row 1 = 2 x 0, 2 x 1.
    std::vector<unsigned char> f = {'B', 'M'};
    std::vector<unsigned char> rle = {4, 1, 0, 0, 2, 0, 2, 1, 0, 1};
    Put32(f, 14 + 40 + 8 + unsigned(rle.size()));
    Put32(f, 0);
    Put32(f, 14 + 40 + 8);
    Put32(f, 40);
    Put32(f, 4);
    Put32(f, 2);
    Put16(f, 1);
    Put16(f, 8);
    Put32(f, BI_RLE8);
    Put32(f, unsigned(rle.size()));
    Put32(f, 0);
    Put32(f, 0);
    Put32(f, 2);
    Put32(f, 0);
    Put32(f, 0x000000);  // colour 0 black
    Put32(f, 0x0000FF);  // colour 1 blue
    f.insert(f.end(), rle.begin(), rle.end());
    TMemoryStream s;
    TBitmap b;
    b.LoadFromStream(StreamOf(f, s));
    EXPECT_EQ(b.GetPixelFormat(), pf8bit);
    EXPECT_EQ(b.GetCanvas()->GetPixels(0, 1), clBlue);  // bottom row
    EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clBlack);
    EXPECT_EQ(b.GetCanvas()->GetPixels(3, 0), clBlue);
}

TEST(BitmapStream, DamagedFilesRaiseAndKeepThePicture)
{
    TBitmap good;
    good.SetSize(3, 3);
    TMemoryStream s;
    good.SaveToStream(&s);
    std::vector<unsigned char> file = BytesOf(s);

    std::vector<std::vector<unsigned char>> bad;
    bad.push_back({});
    bad.push_back({'B', 'M', 0, 0});
    auto truncated = file;
    truncated.resize(file.size() - 5);
    Put32(truncated, 0);  // wrong length kept plausible
    truncated.resize(file.size() - 3);
    bad.push_back(truncated);
    auto badHeader = file;
    badHeader[14] = 41;  // header size
    bad.push_back(badHeader);
    auto badBits = file;
    badBits[14 + 14] = 7;  // bit count
    bad.push_back(badBits);
    auto huge = file;
    huge[14 + 4] = 0xFF;
    huge[14 + 7] = 0x7F;  // width 2^31 - 1
    bad.push_back(huge);
    auto badOffset = file;
    badOffset[10] = 0xF0;
    badOffset[11] = 0xFF;
    bad.push_back(badOffset);

    TBitmap target;
    target.SetSize(2, 2);
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_THROW(target.LoadFromStream(StreamOf(bad[i], s)), EInvalidGraphic) << i;
        EXPECT_EQ(target.GetWidth(), 2) << i;
    }
    try {
        target.LoadFromStream(StreamOf(badBits, s));
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Invalid graphic format");
    }
}

// The pixel limit Pixmill's readers share: a header of exactly 2^28 pixels
// passes and the file fails only for its missing rows; one row more is
// refused as too large.
TEST(BitmapStream, PixelLimitTakesExactly2To28)
{
    const struct {
        unsigned height;
        const char* detail;
    } cases[] = {{1u << 14, "BMP pixel data truncated"}, {(1u << 14) + 1, "BMP picture too large"}};
    for (const auto& c : cases) {
        std::vector<unsigned char> f = {'B', 'M'};
        for (unsigned v : {14u + 40u, 0u, 14u + 40u, 40u, 1u << 14, c.height}) Put32(f, v);
        Put16(f, 1);
        Put16(f, 24);
        for (int i = 0; i < 6; ++i) Put32(f, 0);
        TMemoryStream s;
        TBitmap b;
        try {
            b.LoadFromStream(StreamOf(f, s));
            ADD_FAILURE() << c.height;
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(c.detail, e.Detail.c_str()) << c.height;
        }
    }
}

TEST(Metafile, EnhancedRecordsPlaysSavesAndLoads)
{
    DWORD before = GdiObjects();
    {
        TMetafile mf;
        mf.SetWidth(40);
        mf.SetHeight(30);
        {
            TMetafileCanvas c(&mf, nullptr);
            c.GetBrush()->SetColor(clRed);
            c.GetPen()->SetStyle(psClear);
            c.Rectangle(0, 0, 41, 31);
        }
        ASSERT_FALSE(mf.GetEmpty());
        EXPECT_EQ(mf.GetWidth(), 40);
        EXPECT_EQ(mf.GetHeight(), 30);
        EXPECT_EQ(PixelOf(mf, 40, 30, 20, 15), unsigned(clRed));

        TMemoryStream s;
        mf.SaveToStream(&s);
        std::vector<unsigned char> bytes = BytesOf(s);
        ASSERT_GT(bytes.size(), 88u);
        EXPECT_EQ(memcmp(bytes.data() + 40, " EMF", 4), 0);
        TMetafile back;
        back.LoadFromStream(StreamOf(bytes, s));
        EXPECT_TRUE(back.GetEnhanced());
        EXPECT_EQ(back.GetWidth(), 40);
        EXPECT_EQ(PixelOf(back, 40, 30, 20, 15), unsigned(clRed));
    }
    EXPECT_EQ(GdiObjects(), before);
}

TEST(Metafile, WindowsMetafileSavesPlaceableWithChecksum)
{
    TMetafile mf;
    mf.SetEnhanced(false);
    mf.SetWidth(32);
    mf.SetHeight(16);
    {
        TMetafileCanvas c(&mf, nullptr);
        c.GetBrush()->SetColor(clBlue);
        c.FillRect(RECT{0, 0, 32, 16});
    }
    TMemoryStream s;
    mf.SaveToStream(&s);
    std::vector<unsigned char> bytes = BytesOf(s);
    ASSERT_GT(bytes.size(), 22u + 18u);
    EXPECT_EQ(bytes[0], 0xD7);
    EXPECT_EQ(bytes[3], 0x9A);
    unsigned sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= unsigned(bytes[2 * i] | bytes[2 * i + 1] << 8);
    EXPECT_EQ(sum, unsigned(bytes[20] | bytes[21] << 8));

    TMetafile back;
    back.LoadFromStream(StreamOf(bytes, s));
    EXPECT_FALSE(back.GetEnhanced());
    EXPECT_EQ(back.GetWidth(), 32);
    EXPECT_EQ(back.GetHeight(), 16);
    EXPECT_EQ(PixelOf(back, 32, 16, 16, 8), unsigned(clBlue));
    // Saved again: the same bytes.
    TMemoryStream again;
    back.SaveToStream(&again);
    EXPECT_EQ(BytesOf(again), bytes);

    // Raw WMF (the placeable header cut off) still loads.
    std::vector<unsigned char> raw(bytes.begin() + 22, bytes.end());
    TMetafile plain;
    plain.LoadFromStream(StreamOf(raw, s));
    EXPECT_FALSE(plain.GetEmpty());
}

TEST(Metafile, DamagedDataRaises)
{
    TMetafile mf;
    mf.SetWidth(10);
    mf.SetHeight(10);
    {
        TMetafileCanvas c(&mf, nullptr);
        c.Ellipse(0, 0, 10, 10);
    }
    TMemoryStream s;
    mf.SaveToStream(&s);
    std::vector<unsigned char> emf = BytesOf(s);
    mf.SetEnhanced(false);
    TMemoryStream w;
    {
        TMetafile wmf;
        wmf.SetEnhanced(false);
        wmf.SetWidth(10);
        wmf.SetHeight(10);
        { TMetafileCanvas c(&wmf, nullptr); c.Ellipse(0, 0, 10, 10); }
        wmf.SaveToStream(&w);
    }
    std::vector<unsigned char> placeable = BytesOf(w);

    std::vector<std::vector<unsigned char>> bad;
    bad.push_back({1, 2, 3});
    bad.push_back(std::vector<unsigned char>(emf.begin(), emf.begin() + 100));  // truncated EMF
    auto badRecord = emf;
    badRecord[emf.size() - 20 + 4] = 0xFF;  // the last record's size runs out of the data
    badRecord[emf.size() - 20 + 5] = 0xFF;
    bad.push_back(badRecord);
    auto badSum = placeable;
    badSum[20] ^= 1;
    bad.push_back(badSum);
    bad.push_back(std::vector<unsigned char>(placeable.begin(), placeable.end() - 6));  // no end record
    auto zeroRecord = placeable;
    zeroRecord[22 + 18] = zeroRecord[22 + 19] = zeroRecord[22 + 20] = zeroRecord[22 + 21] = 0;
    bad.push_back(zeroRecord);
    TMetafile target;
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_THROW(target.LoadFromStream(StreamOf(bad[i], s)), EInvalidGraphic) << i;
        EXPECT_TRUE(target.GetEmpty()) << i;
    }

    TMetafile noSize;
    noSize.SetEnhanced(false);
    EXPECT_THROW(TMetafileCanvas(&noSize, nullptr), EInvalidGraphicOperation);
}

namespace {

unsigned Crc32(const unsigned char* p, size_t n)
{
    unsigned c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

void PutBig32(std::vector<unsigned char>& v, unsigned x)
{
    for (int s = 24; s >= 0; s -= 8) v.push_back(BYTE(x >> s));
}

void Chunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data)
{
    PutBig32(png, unsigned(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    PutBig32(png, Crc32(body.data(), body.size()));
}

// An RGBA PNG of one colour, its data in stored (uncompressed) deflate blocks.
std::vector<unsigned char> SolidPng(int size, unsigned char r, unsigned char g, unsigned char b)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);
        for (int x = 0; x < size; ++x) raw.insert(raw.end(), {r, g, b, 255});
    }
    std::vector<unsigned char> z = {0x78, 0x01};
    for (size_t pos = 0; pos < raw.size(); pos += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        z.push_back(pos + n == raw.size() ? 1 : 0);
        Put16(z, unsigned(n));
        Put16(z, unsigned(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    }
    unsigned a = 1, bsum = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        bsum = (bsum + a) % 65521;
    }
    PutBig32(z, bsum << 16 | a);
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> ihdr;
    PutBig32(ihdr, unsigned(size));
    PutBig32(ihdr, unsigned(size));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

// A BMP icon image: 32 bits of one colour, or 8 bits using palette index 1.
std::vector<unsigned char> BmpImage(int size, int bits, unsigned colour)
{
    std::vector<unsigned char> v;
    Put32(v, 40);
    Put32(v, unsigned(size));
    Put32(v, unsigned(size * 2));
    Put16(v, 1);
    Put16(v, unsigned(bits));
    for (int i = 0; i < 6; ++i) Put32(v, 0);
    if (bits == 8) {
        Put32(v, 0);
        Put32(v, colour);
        for (int i = 2; i < 256; ++i) Put32(v, 0);
        v.insert(v.end(), size_t(size) * size, 1);
    } else {
        for (int i = 0; i < size * size; ++i) Put32(v, colour | 0xFF000000u);
    }
    v.insert(v.end(), size_t((size + 31) / 32 * 4) * size, 0);  // AND mask: all opaque
    return v;
}

std::vector<unsigned char> IconFile(const std::vector<std::pair<int, std::vector<unsigned char>>>& images)
{
    std::vector<unsigned char> f;
    Put16(f, 0);
    Put16(f, 1);
    Put16(f, unsigned(images.size()));
    unsigned offset = 6 + 16 * unsigned(images.size());
    for (const auto& image : images) {
        f.push_back(BYTE(image.first));
        f.push_back(BYTE(image.first));
        f.insert(f.end(), {0, 0});
        Put16(f, 1);
        Put16(f, 0);  // bit count left 0, as many writers do
        Put32(f, unsigned(image.second.size()));
        Put32(f, offset);
        offset += unsigned(image.second.size());
    }
    for (const auto& image : images) f.insert(f.end(), image.second.begin(), image.second.end());
    return f;
}

}  // namespace

TEST(Icon, ChoosesTheImageNearestTheWantedSize)
{
    std::vector<unsigned char> file = IconFile({{16, BmpImage(16, 32, 0x0000FF)},   // blue
                                                {32, BmpImage(32, 8, 0x00FF00)},    // green
                                                {48, SolidPng(48, 255, 0, 0)}});     // red
    TMemoryStream s;
    DWORD before = GdiObjects();
    {
        TIcon icon;
        icon.LoadFromStream(StreamOf(file, s));
        EXPECT_EQ(icon.GetWidth(), GetSystemMetrics(SM_CXICON));
        EXPECT_THROW(icon.SetWidth(5), EInvalidGraphicOperation);

        TIcon small;
        small.SetWidth(16);
        small.SetHeight(16);
        small.LoadFromStream(StreamOf(file, s));
        EXPECT_EQ(small.GetWidth(), 16);
        EXPECT_EQ(PixelOf(small, 16, 16, 8, 8), unsigned(clBlue));

        TIcon large;
        large.SetWidth(48);
        large.SetHeight(48);
        large.LoadFromStream(StreamOf(file, s));
        ASSERT_EQ(large.GetWidth(), 48);
        EXPECT_EQ(PixelOf(large, 48, 48, 24, 24), unsigned(clRed));

        TIcon middle;
        middle.SetWidth(30);
        middle.SetHeight(30);
        middle.LoadFromStream(StreamOf(file, s));
        EXPECT_EQ(middle.GetWidth(), 32);
        EXPECT_EQ(PixelOf(middle, 32, 32, 5, 5), unsigned(clLime));

        // Saving keeps every image of the file.
        TMemoryStream out;
        middle.SaveToStream(&out);
        EXPECT_EQ(BytesOf(out), file);

        // An icon given as a handle is saved as a one-image file.
        TIcon copy;
        copy.SetHandle(CopyIcon(small.GetHandle()));
        TMemoryStream one;
        copy.SaveToStream(&one);
        TIcon back;
        back.SetWidth(16);
        back.SetHeight(16);
        back.LoadFromStream(StreamOf(BytesOf(one), s));
        EXPECT_EQ(PixelOf(back, 16, 16, 8, 8), unsigned(clBlue));
    }
    EXPECT_EQ(GdiObjects(), before);
}

TEST(Icon, DamagedFilesRaise)
{
    std::vector<unsigned char> good = IconFile({{16, BmpImage(16, 32, 0x0000FF)}});
    std::vector<std::vector<unsigned char>> bad;
    bad.push_back({0, 0, 1, 0});
    bad.push_back(IconFile({}));                                             // no images
    bad.push_back(std::vector<unsigned char>(good.begin(), good.begin() + 200));  // truncated image
    auto badOffset = good;
    badOffset[6 + 12] = 0xFF;
    badOffset[6 + 15] = 0x7F;
    bad.push_back(badOffset);
    auto badDepth = good;
    badDepth[22 + 14] = 3;
    bad.push_back(badDepth);
    auto png = SolidPng(16, 1, 2, 3);
    png[16] = 0x40;  // width beyond any icon
    bad.push_back(IconFile({{16, png}}));
    auto cursor = good;
    cursor[2] = 2;
    bad.push_back(cursor);
    TMemoryStream s;
    TIcon icon;
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_THROW(icon.LoadFromStream(StreamOf(bad[i], s)), EInvalidGraphic) << i;
        EXPECT_TRUE(icon.GetEmpty()) << i;
    }
}
