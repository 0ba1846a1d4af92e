// Video frames: uncompressed AVI files written here, read frame by frame
// through the platform's AVI library; files it cannot open or decode are
// refused without leaking handles.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include "buffer.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "platform_fixture.h"

GFXFile* AVIFormat();

namespace {

using format_fixture::Bytes;
using format_fixture::RefusalOf;
using namespace platform_fixture;

const int W = 7, H = 5, Frames = 3;

unsigned long FramePixel(int frame, int x, int y)
{
    return unsigned(40 + 80 * frame) << 16 | unsigned(x * 30) << 8 | unsigned(y * 50);
}

void PutChunk(Bytes& out, const char* id, const Bytes& data)
{
    PutTag(out, id);
    Put32(out, unsigned(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
}

Bytes List(const char* type, const Bytes& body)
{
    Bytes data;
    PutTag(data, type);
    data.insert(data.end(), body.begin(), body.end());
    Bytes out;
    PutChunk(out, "LIST", data);
    return out;
}

// Bottom-up rows of B, G, R padded to four bytes.
Bytes FrameBits(int frame)
{
    int stride = (3 * W + 3) & ~3;
    Bytes bits(size_t(stride) * H, 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            unsigned long c = FramePixel(frame, x, y);
            unsigned char* p = &bits[size_t(stride) * (H - 1 - y) + 3 * x];
            p[0] = (unsigned char)c;
            p[1] = (unsigned char)(c >> 8);
            p[2] = (unsigned char)(c >> 16);
        }
    return bits;
}

struct AviShape {
    const char* streamType = "vids";
    int width = W, height = H, frames = Frames, bitCount = 24;
};

Bytes AviFile(const AviShape& shape = AviShape())
{
    Bytes frameBits = FrameBits(0);
    Bytes avih;
    for (unsigned v : {100000u, 0u, 0u, 0x10u, unsigned(shape.frames), 0u, 1u, unsigned(frameBits.size()),
                       unsigned(shape.width), unsigned(shape.height), 0u, 0u, 0u, 0u})
        Put32(avih, v);
    Bytes strh;
    PutTag(strh, shape.streamType);
    PutTag(strh, "DIB ");
    for (unsigned v : {0u, 0u, 0u, 1u, 10u, 0u, unsigned(shape.frames), unsigned(frameBits.size()), 0xFFFFFFFFu, 0u})
        Put32(strh, v);
    for (unsigned v : {0u, 0u, unsigned(shape.width), unsigned(shape.height)}) Put16(strh, v);
    Bytes strf;
    Put32(strf, 40);
    Put32(strf, unsigned(shape.width));
    Put32(strf, unsigned(shape.height));
    Put16(strf, 1);
    Put16(strf, unsigned(shape.bitCount));
    Put32(strf, 0);
    Put32(strf, unsigned(frameBits.size()));
    for (int i = 0; i < 4; ++i) Put32(strf, 0);
    Bytes strl;
    PutChunk(strl, "strh", strh);
    PutChunk(strl, "strf", strf);
    Bytes hdrl;
    PutChunk(hdrl, "avih", avih);
    Bytes strlList = List("strl", strl);
    hdrl.insert(hdrl.end(), strlList.begin(), strlList.end());

    Bytes movi, index;
    for (int f = 0; f < shape.frames; ++f) {
        PutTag(index, "00db");
        Put32(index, 0x10);                       // key frame
        Put32(index, unsigned(4 + movi.size()));  // from the "movi" tag
        Put32(index, unsigned(frameBits.size()));
        PutChunk(movi, "00db", FrameBits(f));
    }
    Bytes body;
    PutTag(body, "AVI ");
    Bytes hdrlList = List("hdrl", hdrl), moviList = List("movi", movi);
    body.insert(body.end(), hdrlList.begin(), hdrlList.end());
    body.insert(body.end(), moviList.begin(), moviList.end());
    PutChunk(body, "idx1", index);
    Bytes out;
    PutTag(out, "RIFF");
    Put32(out, unsigned(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The format opens the file by the stream's name; the stream is the file.
struct AviSource {
    TInputStream in;
    explicit AviSource(const std::string& path) : in(AnsiString(path.c_str())) {}
};

int TestFile(const std::string& path, GFXFileDesc* d = nullptr)
{
    AviSource s(path);
    int answer = AVIFormat()->Test(&s.in, d);
    EXPECT_EQ(0, s.in.GetPosition());
    return answer;
}

bool LoadFile(const std::string& path, Buffer& b, int image)
{
    AviSource s(path);
    return AVIFormat()->Load(b, &s.in, nullptr, nullptr, image);
}

DWORD Handles()
{
    DWORD n = 0;
    GetProcessHandleCount(GetCurrentProcess(), &n);
    return n;
}

}  // namespace

TEST(AVIRead, TestGivesTheFrameCountAndSize)
{
    TempFolder dir("avi");
    std::string path = dir.Write("clip.avi", AviFile());
    GFXFileDesc d = {};
    unsigned char palette[768];
    d.paletteData = palette;
    EXPECT_EQ(1, TestFile(path, &d));
    EXPECT_EQ(W, d.width);
    EXPECT_EQ(H, d.height);
    EXPECT_EQ(Frames, d.images);
    EXPECT_EQ(24, d.bits);
    EXPECT_EQ(1, d.colour);
    EXPECT_EQ(0, d.palette);
    EXPECT_EQ(8, d.channelBits);
    EXPECT_EQ(palette, d.paletteData);
}

TEST(AVIRead, EachImageIsItsFrameAndThePastTheEndImageIsBlack)
{
    TempFolder dir("avi");
    std::string path = dir.Write("clip.avi", AviFile());
    for (int f = 0; f < Frames; ++f) {
        Buffer b;
        ASSERT_TRUE(LoadFile(path, b, f));
        ASSERT_EQ(W - 1, b.right);
        ASSERT_EQ(H - 1, b.bottom);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) ASSERT_EQ(FramePixel(f, x, y), *b.At(x, y)) << f << ": " << x << ", " << y;
    }
    Buffer past;
    ASSERT_TRUE(LoadFile(path, past, Frames));
    ASSERT_EQ(W - 1, past.right);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(0u, *past.At(x, y));
}

TEST(AVIRead, ExistingBufferReceivesTheTopLeftPart)
{
    TempFolder dir("avi");
    std::string path = dir.Write("clip.avi", AviFile());
    Buffer b;
    b.Alloc({3, 2});
    ASSERT_TRUE(LoadFile(path, b, 1));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(FramePixel(1, x, y), *b.At(x, y));
}

TEST(AVIRead, CancelAtHalfWayReturnsFalse)
{
    TempFolder dir("avi");
    std::string path = dir.Write("clip.avi", AviFile());
    CancelFrom hooks(50);
    Buffer b;
    EXPECT_FALSE(LoadFile(path, b, 0));
}

TEST(AVIDamage, OtherDataIsNotClaimed)
{
    TempFolder dir("avi");
    EXPECT_EQ(0, TestFile(dir.Write("text.avi", Bytes(300, 'x'))));
    EXPECT_EQ(0, TestFile(dir.Write("empty.avi", Bytes())));
    Buffer b;
    EXPECT_EQ("AVI: no RIFF AVI form", RefusalOf([&] { LoadFile(dir("text.avi"), b, 0); }));

    // A memory stream names no file the library could open.
    format_fixture::MemorySource s(AviFile(), "");
    EXPECT_EQ(0, AVIFormat()->Test(&s.in, nullptr));
}

TEST(AVIDamage, NoVideoStreamOrHugeFramesAreRefused)
{
    TempFolder dir("avi");
    AviShape audio;
    audio.streamType = "auds";
    std::string sound = dir.Write("sound.avi", AviFile(audio));
    EXPECT_NE(1, TestFile(sound));
    Buffer b;
    EXPECT_EQ("AVI: no video stream", RefusalOf([&] { LoadFile(sound, b, 0); }));

    AviShape huge;
    huge.width = 100000;
    huge.height = 100000;
    std::string big = dir.Write("big.avi", AviFile(huge));
    Buffer c;
    EXPECT_EQ("AVI: more than 2^28 pixels", RefusalOf([&] { LoadFile(big, c, 0); }));
    EXPECT_EQ(nullptr, c.pixels);
}

TEST(AVIDamage, AStreamCountWithoutItsStreamListIsRefused)
{
    // The platform's library crashed on this one.
    TempFolder dir("avi");
    Bytes bad = AviFile();
    for (size_t i = 0; i + 4 <= bad.size(); ++i)
        if (!memcmp(&bad[i], "strl", 4)) bad[i + 2] = '?';
    std::string path = dir.Write("nolist.avi", bad);
    EXPECT_EQ(0, TestFile(path));
    Buffer b;
    EXPECT_EQ("AVI: stream lists do not match the stream count", RefusalOf([&] { LoadFile(path, b, 0); }));
}

TEST(AVIDamage, TruncatedAndMutatedFilesRaiseWithoutLeakingHandles)
{
    TempFolder dir("avi");
    Bytes good = AviFile();
    std::string cut = dir.Write("cut.avi", Bytes(good.begin(), good.begin() + 150));
    Buffer b;
    EXPECT_EQ("AVI: chunk larger than its list", RefusalOf([&] { LoadFile(cut, b, 0); }));

    auto attempt = [&](const std::string& path) {
        try {
            Buffer t;
            TestFile(path);
            LoadFile(path, t, 1);
        } catch (Exception&) {
        }
    };
    attempt(cut);
    DWORD before = Handles();
    for (int i = 0; i < 200; ++i) attempt(cut);
    EXPECT_LE(Handles(), before + 2);

    Mutator m(99);
    for (int i = 0; i < 300; ++i) attempt(dir.Write("bad.avi", m.Damage(good)));
    EXPECT_LE(Handles(), before + 2);
}
