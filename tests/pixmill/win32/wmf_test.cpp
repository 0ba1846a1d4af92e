// Windows and enhanced metafiles: files written here record by record or
// recorded through GDI, loaded at their own size, clipped, saved in both
// kinds and read back; damaged files are refused, never a crash.
#include <gtest/gtest.h>
#include <windows.h>

#include "buffer.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "platform_fixture.h"

GFXFile* WMFFormat();
GFXFile* EMFFormat();

namespace {

using format_fixture::Bytes;
using format_fixture::MemorySource;
using namespace platform_fixture;

const unsigned long Red = 0xFF0000, Blue = 0x0000FF, White = 0xFFFFFF;

// A Windows metafile's records, words counted as GDI counts them.
class WmfWriter {
public:
    void Record(unsigned function, std::initializer_list<unsigned> words)
    {
        Put32(records_, unsigned(3 + words.size()));
        Put16(records_, function);
        for (unsigned w : words) Put16(records_, w);
        size_t size = 3 + words.size();
        if (size > largest_) largest_ = size;
    }
    void Brush(unsigned long rgb)  // a solid brush: style, COLORREF, hatch
    {
        unsigned ref = unsigned((rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
        Record(0x02FC, {0, ref & 0xFFFF, ref >> 16, 0});
    }
    void Rectangle(int left, int top, int right, int bottom)
    {
        Record(0x041B, {unsigned(bottom), unsigned(right), unsigned(top), unsigned(left)});
    }
    Bytes Plain() const
    {
        Bytes end = records_;
        Put32(end, 3);
        Put16(end, 0);
        Bytes out;
        Put16(out, 1);
        Put16(out, 9);
        Put16(out, 0x0300);
        Put32(out, unsigned(18 + end.size()) / 2);
        Put16(out, 4);
        Put32(out, unsigned(largest_ > 3 ? largest_ : 3));
        Put16(out, 0);
        out.insert(out.end(), end.begin(), end.end());
        return out;
    }
    // The placeable header: frame, units per inch and the XOR of its words.
    Bytes Placeable(int width, int height, int inch) const
    {
        Bytes out;
        Put32(out, 0x9AC6CDD7u);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, unsigned(width));
        Put16(out, unsigned(height));
        Put16(out, unsigned(inch));
        Put32(out, 0);
        unsigned sum = 0;
        for (int i = 0; i < 10; ++i) sum ^= Get16(out, 2 * i);
        Put16(out, sum);
        return format_fixture::Cat(out, Plain());
    }

private:
    Bytes records_;
    size_t largest_ = 0;
};

// 100 x 50: a red rectangle on the left, a blue one on the right, no
// outlines, white between them.
WmfWriter TwoRectangles()
{
    WmfWriter w;
    w.Record(0x020B, {0, 0});     // SetWindowOrg
    w.Record(0x020C, {50, 100});  // SetWindowExt (y, x)
    w.Record(0x02FA, {5, 0, 0, 0, 0});  // CreatePenIndirect: PS_NULL
    w.Record(0x012D, {0});
    w.Brush(Red);
    w.Record(0x012D, {1});
    w.Rectangle(0, 0, 40, 50);
    w.Record(0x01F0, {1});  // DeleteObject
    w.Brush(Blue);
    w.Record(0x012D, {1});
    w.Rectangle(60, 0, 100, 50);
    return w;
}

int ScreenInch()
{
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return ppi;
}

Bytes PlaceableFile() { return TwoRectangles().Placeable(100, 50, ScreenInch()); }

// An enhanced metafile recorded through GDI: green on the left half of a
// 64 x 32 frame, the rest left unpainted.
Bytes RecordedEnhanced()
{
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, LOGPIXELSX);
    RECT frame = {0, 0, MulDiv(64, 2540, ppi), MulDiv(32, 2540, ppi)};
    HDC dc = CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
    ReleaseDC(nullptr, screen);
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    RECT left = {0, 0, 32, 32};
    FillRect(dc, &left, green);
    DeleteObject(green);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    Bytes bytes(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, UINT(bytes.size()), bytes.data());
    DeleteEnhMetaFile(emf);
    return bytes;
}

unsigned long Pixel(Buffer& b, int x, int y) { return *b.At(x, y); }

const format_fixture::FormatBytes Wmf = {WMFFormat, "x.wmf"};
const format_fixture::FormatBytes Emf = {EMFFormat, "x.emf"};

Bytes SaveBytes(GFXFile* f, Buffer& b, bool* written = nullptr)
{
    TMemoryStream mem;
    TOutputStream out(&mem, "out");
    GFXSaveParams p = {};
    p.bits = 24;
    bool ok = f->Save(b, &out, nullptr, &p);
    if (written) *written = ok;
    Bytes bytes(size_t(mem.GetSize()));
    mem.SetPosition(0);
    if (!bytes.empty()) mem.Read(bytes.data(), int(bytes.size()));
    return bytes;
}

// A picture with every channel value used somewhere, and flag bytes set.
void Picture(Buffer& b, int w, int h)
{
    b.Alloc({w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *b.At(x, y) = (unsigned(x * 7 + y * 13) & 0xFF) << 16 | (unsigned(x * y) & 0xFF) << 8 | unsigned(255 - x) | 0x01000000u * (x & 1);
}

void ExpectSamePicture(Buffer& expected, Buffer& got)
{
    ASSERT_EQ(expected.Width(), got.Width());
    ASSERT_EQ(expected.Height(), got.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            ASSERT_EQ(*expected.At(x, y) & 0xFFFFFF, *got.At(x, y)) << "at " << x << ", " << y;
}

}  // namespace

TEST(WMFRead, PlaceableFileLoadsAtItsFrameSizeWithExactColours)
{
    Buffer b;
    ASSERT_TRUE(Wmf.Load(PlaceableFile(), b));
    ASSERT_EQ(100, b.Width());
    ASSERT_EQ(50, b.Height());
    for (int y = 2; y < 48; ++y) {
        EXPECT_EQ(Red, Pixel(b, 5, y));
        EXPECT_EQ(Red, Pixel(b, 36, y));
        EXPECT_EQ(White, Pixel(b, 50, y));  // unpainted: the white background
        EXPECT_EQ(Blue, Pixel(b, 63, y));
        EXPECT_EQ(Blue, Pixel(b, 97, y));
    }
}

TEST(WMFRead, TestDescribesAndLeavesTheStreamWhereItWas)
{
    GFXFileDesc d = {};
    unsigned char palette[768];
    d.paletteData = palette;
    d.images = 7;
    EXPECT_EQ(1, Wmf.Test(PlaceableFile(), &d));
    EXPECT_EQ(100, d.width);
    EXPECT_EQ(50, d.height);
    EXPECT_EQ(1, d.colour);
    EXPECT_EQ(0, d.palette);
    EXPECT_EQ(24, d.bits);
    EXPECT_EQ(8, d.channelBits);
    EXPECT_EQ(1, d.images);
    EXPECT_EQ(palette, d.paletteData);

    // From the middle of a stream too.
    Bytes padded = format_fixture::Cat(Bytes(5, 0xAA), PlaceableFile());
    MemorySource s(padded, "x.wmf", 5);
    EXPECT_EQ(1, WMFFormat()->Test(&s.in, nullptr));
    EXPECT_EQ(5, s.in.GetPosition());
}

TEST(WMFRead, EitherDescriptorReadsEitherKind)
{
    Bytes emf = RecordedEnhanced();
    EXPECT_EQ(1, Wmf.Test(emf));
    EXPECT_EQ(1, Emf.Test(PlaceableFile()));
    Buffer b;
    ASSERT_TRUE(Wmf.Load(emf, b));
    ASSERT_EQ(64, b.Width());
    ASSERT_EQ(32, b.Height());
    EXPECT_EQ(0x00C800u, Pixel(b, 10, 10));
    EXPECT_EQ(White, Pixel(b, 50, 10));
}

TEST(WMFRead, PlainWindowsMetafileWithoutPlaceableHeaderLoads)
{
    Buffer b;
    ASSERT_TRUE(Wmf.Load(TwoRectangles().Plain(), b));
    EXPECT_GT(b.Width(), 0);
    EXPECT_GT(b.Height(), 0);
}

TEST(WMFRead, ExistingBufferReceivesTheTopLeftPart)
{
    Buffer whole;
    ASSERT_TRUE(Wmf.Load(PlaceableFile(), whole));
    Buffer part;
    part.Alloc({40, 40});
    part.Box(Rect{0, 0, 39, 39}, 0x123456);
    ASSERT_TRUE(Wmf.Load(PlaceableFile(), part));
    ASSERT_EQ(39, part.right);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(Pixel(whole, x, y), Pixel(part, x, y));

    // A buffer larger than the picture: the rest is left alone.
    Buffer large;
    large.Alloc({120, 60});
    large.Box(Rect{0, 0, 119, 59}, 0x123456);
    ASSERT_TRUE(Wmf.Load(PlaceableFile(), large));
    EXPECT_EQ(Red, Pixel(large, 5, 5));
    EXPECT_EQ(0x123456u, Pixel(large, 110, 5));
    EXPECT_EQ(0x123456u, Pixel(large, 5, 55));
}

TEST(WMFWrite, EnhancedDescriptorWritesAnEnhancedMetafileHoldingThePicture)
{
    Buffer b;
    Picture(b, 37, 23);
    Bytes file = SaveBytes(EMFFormat(), b);
    ASSERT_GT(file.size(), 88u);
    EXPECT_EQ(1u, Get32(file, 0));
    EXPECT_EQ(0x464D4520u, Get32(file, 40));  // " EMF"
    EXPECT_EQ(file.size(), Get32(file, 48));
    Buffer back;
    ASSERT_TRUE(Emf.Load(file, back));
    ExpectSamePicture(b, back);
}

TEST(WMFWrite, WindowsDescriptorWritesAPlaceableMetafileWithTheBitsRecorded)
{
    Buffer b;
    Picture(b, 37, 23);
    Bytes file = SaveBytes(WMFFormat(), b);
    ASSERT_GT(file.size(), 40u);
    EXPECT_EQ(0x9AC6CDD7u, Get32(file, 0));
    unsigned sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= Get16(file, 2 * i);
    EXPECT_EQ(sum, Get16(file, 20));
    EXPECT_EQ(37u, Get16(file, 10) - Get16(file, 6));
    EXPECT_EQ(23u, Get16(file, 12) - Get16(file, 8));

    // Readers other than GDI need the bitmap's bits inside its record.
    size_t largest = 0;
    for (size_t at = 22 + 18; at + 6 <= file.size();) {
        size_t words = Get32(file, at);
        unsigned function = Get16(file, at + 4);
        if (function == 0 || words < 3) break;
        if (function == 0x0F43 || function == 0x0B41) largest = std::max(largest, words * 2);
        at += words * 2;
    }
    EXPECT_GE(largest, size_t(40 + ((37 * 3 + 3) & ~3) * 23));

    Buffer back;
    ASSERT_TRUE(Wmf.Load(file, back));
    ExpectSamePicture(b, back);
}

TEST(WMFWrite, SizesAMetafileCannotHoldAreRefused)
{
    Buffer empty;
    EXPECT_THROW(SaveBytes(WMFFormat(), empty), EInvalidImage);
    Buffer wide;
    wide.Alloc({32768, 1});
    EXPECT_THROW(SaveBytes(WMFFormat(), wide), EInvalidImage);
}

TEST(WMFProgress, FalseFromTheHookCancelsLoadAndSave)
{
    Buffer b;
    Picture(b, 8, 8);
    Bytes file = SaveBytes(EMFFormat(), b);
    CancelFrom hooks(50);
    Buffer back;
    EXPECT_FALSE(Emf.Load(file, back));
    bool written = true;
    Bytes none = SaveBytes(EMFFormat(), b, &written);
    EXPECT_FALSE(written);
    EXPECT_TRUE(none.empty());
    EXPECT_GE(CancelFrom::steps, 2);
}

TEST(WMFDamage, BrokenHeadersAreRefused)
{
    Bytes good = PlaceableFile();
    Bytes badSum = good;
    badSum[20] ^= 1;
    EXPECT_EQ(0, Wmf.Test(badSum));
    Buffer b;
    EXPECT_EQ("WMF: placeable WMF checksum", Wmf.Detail(badSum));

    Bytes cut(good.begin(), good.begin() + good.size() - 7);
    EXPECT_EQ(0, Wmf.Test(cut));
    EXPECT_EQ("WMF: data truncated", Wmf.Detail(cut));

    Bytes hugeRecord = good;
    Set32(hugeRecord, 22 + 18, 0x7FFFFFFF);
    EXPECT_EQ("WMF: record size", Wmf.Detail(hugeRecord));

    EXPECT_EQ(0, Wmf.Test(Bytes{0xD7, 0xCD}));
    EXPECT_EQ(0, Wmf.Test(Bytes()));
    EXPECT_EQ(0, Wmf.Test(Bytes(200, 0)));
}

TEST(WMFDamage, FramesNoBufferCanHoldAreRefusedBeforeAllocating)
{
    // 32767 units at one unit per inch: over three million pixels a side.
    Buffer b;
    EXPECT_EQ("WMF: more than 2^28 pixels", Wmf.Detail(TwoRectangles().Placeable(32767, 32767, 1)));
    EXPECT_EQ(nullptr, b.pixels);
    EXPECT_EQ("WMF: placeable WMF frame", Wmf.Detail(TwoRectangles().Placeable(0, 50, 96)));
}

TEST(WMFDamage, MutatedFilesLoadOrRaiseNeverCrash)
{
    Buffer picture;
    Picture(picture, 9, 7);
    Bytes sources[3] = {PlaceableFile(), RecordedEnhanced(), SaveBytes(WMFFormat(), picture)};
    Mutator m(20240607);
    int loaded = 0, refused = 0;
    for (int i = 0; i < 600; ++i) {
        Bytes bad = m.Damage(sources[i % 3]);
        try {
            Buffer b;
            Wmf.Test(bad);
            if (Wmf.Load(bad, b)) ++loaded;
        } catch (Exception&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(600, loaded + refused);
}
