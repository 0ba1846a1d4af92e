// Raster-font files: faces found by the scan, glyphs loaded raw and
// compressed, and damaged files refused without reading outside them.
#include <gtest/gtest.h>

#include <random>

#include "exceptions.h"
#include "rfont_decode.h"
#include "rfont_file.h"
#include "rfont_writer.h"
#include "streams.h"

namespace {

struct MemFile {
    TMemoryStream s;
    explicit MemFile(const Bytes& b)
    {
        if (!b.empty()) s.WriteBuffer(b.data(), int(b.size()));
    }
};

// Loads face i of a scanned file into e; the caller frees with FreePrepared.
RFontEntry Load(const Bytes& file, size_t i = 0)
{
    MemFile m(file);
    ScannedFont font = ScanFontFile(m.s);
    RFontEntry e = RFontEntry();
    const ScannedFace& face = font.faces.at(i);
    e.size = face.desc.size, e.rowBytes = face.desc.rowBytes, e.first = face.desc.first, e.last = face.desc.last;
    e.glyphBytes = e.size * e.rowBytes;
    e.offset = face.offset;
    LoadFace(m.s, e, font.version);
    return e;
}

const unsigned char* Glyph(const RFontEntry& e, int ch)
{
    int i = ch - e.first;
    if (e.index) {
        if (!e.widths[i]) return nullptr;
        i = e.index[i];
    }
    return e.glyphs + i * e.glyphBytes;
}

void ExpectGlyphsEqual(const TestFace& f, const RFontEntry& e)
{
    ASSERT_TRUE(e.glyphs);
    for (int ch = f.first; ch <= f.last; ++ch) {
        ASSERT_EQ(f.Width(ch), e.widths[ch - e.first]) << ch;
        if (!f.Width(ch)) continue;
        Bytes want = f.GlyphBytes(ch);
        ASSERT_EQ(0, memcmp(want.data(), Glyph(e, ch), want.size())) << "glyph " << ch;
    }
}

TEST(RFontFile, ScanFindsNameAndFacesInOrder)
{
    std::mt19937 rng(1);
    Bytes file = WriteFont("Mini", {RandomFace(rng, 8, 1, 'A', 'C'), RandomFace(rng, 12, 2, 32, 90)}, 0x10000);
    MemFile m(file);
    ScannedFont font = ScanFontFile(m.s);
    EXPECT_TRUE(font.isFont);
    EXPECT_EQ(0x10000, font.version);
    EXPECT_STREQ("Mini", font.family.c_str());
    ASSERT_EQ(2u, font.faces.size());
    EXPECT_EQ(8, font.faces[0].desc.size);
    EXPECT_EQ(12, font.faces[1].desc.size);
    EXPECT_EQ(2, font.faces[1].desc.rowBytes);
    EXPECT_EQ(32, font.faces[1].desc.first);
    // The offset lies right after the DESC chunk: a WDTH chunk starts there.
    EXPECT_EQ(0, memcmp(file.data() + font.faces[0].offset, "WDTH", 4));
}

TEST(RFontFile, ScanSkipsWhatIsNotOurs)
{
    std::mt19937 rng(2);
    TestFace face = RandomFace(rng, 8, 1, 'A', 'B');
    MemFile v3(WriteFont("New", {face}, 0x30000));
    ScannedFont f3 = ScanFontFile(v3.s);
    EXPECT_TRUE(f3.isFont);
    EXPECT_TRUE(f3.faces.empty());

    Bytes notFont = WriteFont("X", {face}, 0x10000);
    memcpy(notFont.data(), "FORM", 4);
    MemFile m(notFont);
    EXPECT_FALSE(ScanFontFile(m.s).isFont);

    // A DESC before any NAME, and a face that cannot hold glyphs, add nothing;
    // only the first NAME counts.
    Bytes body, out;
    PutChunk(body, "DESC", Bytes{8, 1, 'A', 'A', 1, 4, 0, 0, 0, 0});
    PutChunk(body, "NAME", Bytes{'o', 'n', 'e'});
    PutChunk(body, "NAME", Bytes{'t', 'w', 'o'});
    PutChunk(body, "DESC", Bytes{0, 1, 'A', 'A', 1, 4, 0, 0, 0, 0});
    PutChunk(body, "DESC", Bytes{8, 1, 'B', 'A', 1, 4, 0, 0, 0, 0});
    PutChunk(body, "DESC", Bytes{9, 1, 'A', 'A', 1, 4, 0, 0, 0, 5, 99, 99});
    PutId(out, "FONT"), PutBE(out, uint32_t(body.size() + 4)), PutLE(out, 0x10000);
    out.insert(out.end(), body.begin(), body.end());
    MemFile mixed(out);
    ScannedFont f = ScanFontFile(mixed.s);
    EXPECT_STREQ("one", f.family.c_str());
    ASSERT_EQ(1u, f.faces.size());
    EXPECT_EQ(9, f.faces[0].desc.size);
    EXPECT_EQ(5, f.faces[0].desc.extra);
}

TEST(RFontFile, ScanStopsAtAChunkBeyondTheEnd)
{
    std::mt19937 rng(3);
    Bytes file = WriteFont("Cut", {RandomFace(rng, 8, 1, 'A', 'D'), RandomFace(rng, 9, 1, 'A', 'D')}, 0x10000);
    for (size_t cut = 0; cut < file.size(); ++cut) {
        Bytes part(file.begin(), file.begin() + long(cut));
        MemFile m(part);
        ScannedFont f = ScanFontFile(m.s);
        for (const ScannedFace& face : f.faces) EXPECT_LE(size_t(face.offset), cut);
    }
}

TEST(RFontFile, CompressedGlyphsEqualTheirSourceAndTheRawFile)
{
    std::mt19937 rng(4);
    for (int round = 0; round < 20; ++round) {
        int rowBytes = 1 + int(rng() % 3);
        TestFace face = RandomFace(rng, 1 + int(rng() % 20), rowBytes, 30 + int(rng() % 20), 60 + int(rng() % 100));
        RFontEntry raw = Load(WriteFont("R", {face}, 0x10000));
        RFontEntry packed = Load(WriteFont("R", {face}, 0x20000));
        ExpectGlyphsEqual(face, raw);
        ExpectGlyphsEqual(face, packed);
        EXPECT_TRUE(packed.index);
        EXPECT_FALSE(raw.index);
        FreePrepared(raw);
        FreePrepared(packed);
    }
}

TEST(RFontFile, CodesLongerThanEightBitsAndSingleSymbolCodes)
{
    std::mt19937 rng(5);
    TestFace face = RandomFace(rng, 16, 2, 33, 126);
    Bytes file = WriteFont("L", {face}, 0x20000, true);
    // The description after "DATA" and its length: the shortest length, then
    // one count per length up to the longest.
    size_t at = 0;
    while (memcmp(file.data() + at, "DATA", 4) != 0) ++at;
    const unsigned char* d = file.data() + at + 8;
    int longest = d[0], kraft = 0;
    for (const unsigned char* p = d + 1; kraft < 1 << 16; ++longest) {
        kraft += *p << (16 - longest);
        p += 1 + *p;
    }
    EXPECT_GT(longest - 1, 8);
    RFontEntry e = Load(file);
    ExpectGlyphsEqual(face, e);
    FreePrepared(e);

    // An empty store has one gap symbol only: a code without bits.
    TestFace blank;
    blank.first = blank.last = 'A';
    blank.glyphs['A'].width = 3;
    Bytes one = WriteFont("S", {blank}, 0x20000);
    RFontEntry s = Load(one);
    ExpectGlyphsEqual(blank, s);
    FreePrepared(s);
}

TEST(RFontFile, WidthsAreZeroFilledAndTheWidestIsFound)
{
    TestFace f;
    f.first = 'A', f.last = 'D';
    f.glyphs['A'].width = 3;
    f.glyphs['B'].width = 7;
    Bytes file = WriteFont("W", {f}, 0x10000);
    RFontEntry e = Load(file);
    EXPECT_EQ(7, e.widest);
    EXPECT_EQ(0, e.widths[3]);
    FreePrepared(e);
}

TEST(RFontFile, DamagedGlyphDataIsRefused)
{
    unsigned char store[64];
    // Over-full code: three codes of length 1.
    unsigned char overfull[] = {1, 3, 0, 1, 2, 0xFF};
    EXPECT_THROW(DecodeGlyphData(overfull, sizeof overfull, store, sizeof store, 1), EInvalidImage);
    // Never completed: one code of length 1, then the description ends.
    unsigned char incomplete[] = {1, 1, 0};
    EXPECT_THROW(DecodeGlyphData(incomplete, sizeof incomplete, store, sizeof store, 1), EInvalidImage);
    // Lengths beyond what is accepted.
    unsigned char tooLong[] = {17, 2, 0, 1};
    EXPECT_THROW(DecodeGlyphData(tooLong, sizeof tooLong, store, sizeof store, 1), EInvalidImage);
    // A complete code whose bit stream ends before the store is full.
    unsigned char cut[] = {1, 2, 0, 254, 0x00};
    EXPECT_THROW(DecodeGlyphData(cut, sizeof cut, store, sizeof store, 1), EInvalidImage);
    // Gap 254 every time, from 4 padded words: fills 64 bytes.
    unsigned char enough[] = {1, 2, 0, 254, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_NO_THROW(DecodeGlyphData(enough, sizeof enough, store, sizeof store, 1));
}

TEST(RFontFile, TruncatedOrBrokenFilesGiveEInvalidImageNotACrash)
{
    std::mt19937 rng(6);
    TestFace face = RandomFace(rng, 10, 2, 'A', 'Z');
    for (uint32_t version : {0x10000u, 0x20000u}) {
        Bytes file = WriteFont("T", {face}, version);
        MemFile whole(file);
        ScannedFont font = ScanFontFile(whole.s);
        ASSERT_EQ(1u, font.faces.size());
        for (size_t cut = size_t(font.faces[0].offset); cut < file.size(); ++cut) {
            Bytes part(file.begin(), file.begin() + long(cut));
            MemFile m(part);
            RFontEntry e = RFontEntry();
            e.size = 10, e.rowBytes = 2, e.first = 'A', e.last = 'Z', e.glyphBytes = 20;
            e.offset = font.faces[0].offset;
            try {
                LoadFace(m.s, e, int(version));
            } catch (EInvalidImage&) {
            }
            // Either nothing was prepared or all of it was.
            EXPECT_TRUE(e.glyphs || !e.widths);
            FreePrepared(e);
        }
    }
}

TEST(RFontFile, DataBeforeWidthsIsRefused)
{
    Bytes body, out;
    PutChunk(body, "NAME", Bytes{'d'});
    PutChunk(body, "DESC", Bytes{8, 1, 'A', 'A', 1, 4, 0, 0, 0, 0});
    PutChunk(body, "DATA", Bytes(8, 0xFF));
    PutId(out, "FONT"), PutBE(out, uint32_t(body.size() + 4)), PutLE(out, 0x10000);
    out.insert(out.end(), body.begin(), body.end());
    MemFile m(out);
    ScannedFont f = ScanFontFile(m.s);
    ASSERT_EQ(1u, f.faces.size());
    RFontEntry face = RFontEntry();
    face.size = 8, face.rowBytes = 1, face.first = face.last = 'A', face.glyphBytes = 8;
    face.offset = f.faces[0].offset;
    EXPECT_THROW(LoadFace(m.s, face, 0x10000), EInvalidImage);
    EXPECT_FALSE(face.glyphs);
}

}  // namespace
