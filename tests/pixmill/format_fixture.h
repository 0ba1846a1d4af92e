// Helpers the format tests share: files held as bytes in a memory stream,
// and a format's Test and Load run on them.
#ifndef KESTREL_FORMAT_FIXTURE_H
#define KESTREL_FORMAT_FIXTURE_H

#include <gtest/gtest.h>

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

// One format and the file name its streams carry; format is a function so
// that the descriptor is made when first used, as the library does.
struct FormatBytes {
    GFXFile* (*format)();
    const char* name;

    bool Load(const Bytes& bytes, Buffer& b, GFXFileDesc* d = nullptr, GFXtra32* x = nullptr) const
    {
        MemorySource s(bytes, name);
        return format()->Load(b, &s.in, d, x, 0);
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
    std::string Detail(const Bytes& bytes) const
    {
        Buffer b;
        try {
            Load(bytes, b);
        } catch (EInvalidImage& e) {
            return e.Detail.c_str();
        }
        return "";
    }
};

}  // namespace format_fixture

#endif
