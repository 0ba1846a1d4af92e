// Helpers the format tests share: numbers written into file bytes in either
// byte order, files held as bytes in a memory stream, and a format's Test and
// Load run on them.
#ifndef KESTREL_FORMAT_FIXTURE_H
#define KESTREL_FORMAT_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "exceptions.h"
#include "gfxfile.h"
#include "streams.h"

namespace format_fixture {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<unsigned long> Pixels;

inline Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline void Put16(Bytes& b, unsigned v)
{
    b.push_back((unsigned char)v);
    b.push_back((unsigned char)(v >> 8));
}

inline void Put32(Bytes& b, unsigned v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

inline void PutBig16(Bytes& b, unsigned v)
{
    b.push_back((unsigned char)(v >> 8));
    b.push_back((unsigned char)v);
}

inline void PutBig32(Bytes& b, unsigned v)
{
    PutBig16(b, v >> 16);
    PutBig16(b, v & 0xFFFF);
}

inline void PutTag(Bytes& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

// Overwrites four bytes at `at`, little-endian.
inline void Set32(Bytes& b, size_t at, unsigned v)
{
    Bytes le;
    Put32(le, v);
    std::copy(le.begin(), le.end(), b.begin() + long(at));
}

inline unsigned Get16(const Bytes& b, size_t at) { return unsigned(b[at]) | unsigned(b[at + 1]) << 8; }
inline unsigned Get32(const Bytes& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
inline unsigned GetBig32(const Bytes& b, size_t at)
{
    return unsigned(b[at]) << 24 | unsigned(b[at + 1]) << 16 | unsigned(b[at + 2]) << 8 | b[at + 3];
}

// The bytes as a stream positioned at start.
struct MemorySource {
    TMemoryStream mem;
    TInputStream in;
    MemorySource(const Bytes& b, const char* name, int start = 0) : in(&mem, name)
    {
        mem.Write(b.data(), int(b.size()));
        mem.SetPosition(start);
    }
};

// The buffer's pixels, row by row.
inline Pixels Read(Buffer& b)
{
    Pixels p;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) p.push_back(*b.At(x, y));
    return p;
}

// The detail of the EInvalidImage that work raises, or "" when it raises none.
template <class Work>
std::string RefusalOf(Work work)
{
    try {
        work();
    } catch (EInvalidImage& e) {
        return e.Detail.c_str();
    }
    return "";
}

// One format and the file name its streams carry; format is a function so
// that the descriptor is made when first used, as the library does.
struct FormatBytes {
    GFXFile* (*format)();
    const char* name;

    bool Load(const Bytes& bytes, Buffer& b, GFXFileDesc* d = nullptr, GFXtra32* x = nullptr,
              int image = 0) const
    {
        MemorySource s(bytes, name);
        return format()->Load(b, &s.in, d, x, image);
    }

    Pixels LoadPixels(const Bytes& bytes) const
    {
        Buffer b;
        EXPECT_TRUE(Load(bytes, b));
        return Read(b);
    }

    // Test must leave the stream where it found it.
    int Test(const Bytes& bytes, GFXFileDesc* d = nullptr, int start = 0) const
    {
        MemorySource s(bytes, name, start);
        int answer = format()->Test(&s.in, d);
        EXPECT_EQ(s.in.GetPosition(), start);
        return answer;
    }

    // The detail of the EInvalidImage that Load raises, or "" when it loads.
    // A refusal is told by its reason, so that a case cannot pass because an
    // earlier rule refused the file. b keeps what the reader left in it.
    std::string Detail(const Bytes& bytes, Buffer& b, int image = 0) const
    {
        return RefusalOf([&] { Load(bytes, b, nullptr, nullptr, image); });
    }

    std::string Detail(const Bytes& bytes, int image = 0) const
    {
        Buffer b;
        return Detail(bytes, b, image);
    }
};

}  // namespace format_fixture

#endif
